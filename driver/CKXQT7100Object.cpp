#include "driver/CKXQT7100Object.h"

#include "driver/DriverLog.h"
#include "driver/DriverServer.h"

namespace tvane::driver {

CKXQT7100Object::CKXQT7100Object(IUnknown* outer)
    : CInstDriverObject(outer, std::make_unique<CKXQT7100>(nullptr, ReadDriverSettings())) {}

IUnknown* CKXQT7100Object::GetInterface(REFIID iid) {
    if (iid == IID_IInstDriverData)
        return static_cast<IInstDriverData*>(this);
    return CInstDriverObject::GetInterface(iid);
}

BOOL CKXQT7100Object::GetReadings(ReadingRecord* buffer, LONG capacity, LONG* count) {
    return Kx().GetReadings(buffer, capacity, count);
}

BOOL CKXQT7100Object::FetchReadings(ReadingRecord* buffer, LONG requested, LONG* count) {
    return Kx().FetchReadings(buffer, requested, count);
}

BOOL CKXQT7100Object::DownloadChannelConfig(CChannelConfig* config) {
    return config && Kx().DownloadChannelConfig(*config);
}

CChannelConfig* CKXQT7100Object::UploadChannelConfig(SHORT channel, const char* moduleText,
                                                     LONG* ok) {
    return Kx().UploadChannelConfig(channel, moduleText ? moduleText : "", ok);
}

BOOL CKXQT7100Object::ShowSettings(void* parent) {
    Kx().GetStateNames();
    ISettingsPresenter* presenter = SettingsPresenter();
    return presenter && presenter->Show(Kx(), parent);
}

HRESULT CKXQT7100Object::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return Table().GetIDsOfNames(names, count, ids);
}

HRESULT CKXQT7100Object::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                VARIANT* result, EXCEPINFO* exception, UINT* argError) {
    return Table().Invoke(this, id, iid, flags, params, result, exception, argError);
}

} // namespace tvane::driver
