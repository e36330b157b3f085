// An I/O library that binds but reaches nothing: every entry point but iremote
// (and, built as the partial one, also without igpibrenctl). It has no units.
#include "platform/wenx/WenxApi.h"

#define STUB_EXPORT extern "C" __attribute__((visibility("default")))

STUB_EXPORT int32_t iread(WenxSession, char*, uint32_t, int32_t*, uint32_t*) {
    return kWenxErrorSession;
}
STUB_EXPORT int32_t iwrite(WenxSession, const char*, uint32_t, int32_t, uint32_t*) {
    return kWenxErrorSession;
}
STUB_EXPORT WenxSession iopen(const char*) {
    return 0;
}
STUB_EXPORT int32_t iclose(WenxSession) {
    return kWenxErrorSession;
}
STUB_EXPORT const char* igeterrstr(int32_t) {
    return "Invalid session";
}
STUB_EXPORT int32_t igeterrno() {
    return kWenxErrorSession;
}
STUB_EXPORT int32_t ionerror(WenxErrorHandler) {
    return kWenxOk;
}
STUB_EXPORT int32_t ilantimeout(WenxSession, int32_t) {
    return kWenxErrorSession;
}
STUB_EXPORT int32_t ilangettimeout(WenxSession, int32_t*) {
    return kWenxErrorSession;
}
STUB_EXPORT int32_t itimeout(WenxSession, int32_t) {
    return kWenxErrorSession;
}
STUB_EXPORT int32_t igettimeout(WenxSession, int32_t*) {
    return kWenxErrorSession;
}
STUB_EXPORT int32_t ireadstb(WenxSession, uint8_t*) {
    return kWenxErrorSession;
}
STUB_EXPORT int32_t ilocal(WenxSession) {
    return kWenxErrorSession;
}
STUB_EXPORT int32_t iclear(WenxSession) {
    return kWenxErrorSession;
}
STUB_EXPORT int32_t ilock(WenxSession) {
    return kWenxErrorSession;
}
STUB_EXPORT int32_t iunlock(WenxSession) {
    return kWenxErrorSession;
}
STUB_EXPORT int32_t igetlulist(int32_t* list) {
    list[0] = -1;
    return kWenxOk;
}
STUB_EXPORT int32_t igetluinfo(int32_t, WenxUnitInfo*) {
    return kWenxErrorUnit;
}
STUB_EXPORT int32_t igpibbusstatus(WenxSession, int32_t, int32_t*) {
    return kWenxErrorSession;
}
STUB_EXPORT int32_t igpibsendcmd(WenxSession, const char*, int32_t) {
    return kWenxErrorSession;
}
STUB_EXPORT int32_t igpibatnctl(WenxSession, int32_t) {
    return kWenxErrorSession;
}
#ifndef WENX_STUB_PARTIAL
STUB_EXPORT int32_t igpibrenctl(WenxSession, int32_t) {
    return kWenxErrorSession;
}
#endif
STUB_EXPORT int32_t ihint(WenxSession, int32_t) {
    return kWenxErrorSession;
}
STUB_EXPORT int32_t iversion(int32_t*, int32_t*) {
    return kWenxOk;
}
