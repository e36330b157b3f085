#include "scan/CCommDispatch.h"
#include "scan/CDriverDispatch.h"

using tvane::dispatch::MemberInfo;

const MemberInfo* CDriverDispatch::Members(std::size_t& count) {
#define TVANE_DRIVER_ROW(id, name, result, wrapper, ...)                                           \
    tvane::dispatch::Member<TVANE_DISP_CODES(__VA_ARGS__)>(id, #name, DISPATCH_METHOD,             \
                                                           tvane::dispatch::result),
    static constexpr MemberInfo rows[] = {TVANE_DRIVER_MEMBERS(TVANE_DRIVER_ROW)};
#undef TVANE_DRIVER_ROW
    count = std::size(rows);
    return rows;
}

const MemberInfo* CCommDispatch::Members(std::size_t& count) {
#define TVANE_COMM_PROPERTY_FLAGS_Get DISPATCH_PROPERTYGET
#define TVANE_COMM_PROPERTY_FLAGS_GetSet (DISPATCH_PROPERTYGET | DISPATCH_PROPERTYPUT)
#define TVANE_COMM_PROPERTY_ROW(id, name, type, access)                                            \
    tvane::dispatch::Member<>(id, #name, TVANE_COMM_PROPERTY_FLAGS_##access, tvane::dispatch::type),
#define TVANE_COMM_METHOD_ROW(id, name, flags, result, ...)                                        \
    tvane::dispatch::Member<TVANE_DISP_CODES(__VA_ARGS__)>(id, #name, flags,                       \
                                                           tvane::dispatch::result),
    static constexpr MemberInfo rows[] = {TVANE_COMM_PROPERTIES(TVANE_COMM_PROPERTY_ROW)
                                              TVANE_COMM_METHODS(TVANE_COMM_METHOD_ROW)};
#undef TVANE_COMM_METHOD_ROW
#undef TVANE_COMM_PROPERTY_ROW
#undef TVANE_COMM_PROPERTY_FLAGS_GetSet
#undef TVANE_COMM_PROPERTY_FLAGS_Get
    count = std::size(rows);
    return rows;
}
