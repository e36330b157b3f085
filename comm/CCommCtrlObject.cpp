#include "comm/CCommCtrlObject.h"

#include <new>

#include "comm/CommStrings.h"
#include "comm/LinkwellServer.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComException.h"
#include "platform/com/DispatchTable.h"
#include "platform/com/SafeArray.h"

namespace tvane::comm {
namespace {

constexpr const char* kVersion = "1.1";
constexpr const char* kFiles = "Linkwell.ocx";
constexpr SCODE kSetNotSupported = static_cast<SCODE>(0x800A017F);
constexpr HRESULT kAutomationErrorBase = static_cast<HRESULT>(0x80040000);

// Runs the body of an HRESULT slot: a failure becomes the thread's error
// information for IDualComm and the slot's status code.
template <class Body> HRESULT Guarded(Body&& body) {
    try {
        body();
        return S_OK;
    } catch (const DispatchException& e) {
        const HRESULT hr = kAutomationErrorBase + (e.WCode() + 0x200);
        return ReportError(IID_IDualComm, hr,
                           e.Source().empty() ? CCommCtrlObject::kErrorSource : e.Source(),
                           e.Description(), e.HelpContext(), e.HelpFile());
    } catch (const ComException& e) {
        return e.Code();
    } catch (const std::bad_alloc&) {
        return ReportError(IID_IDualComm, E_OUTOFMEMORY, CCommCtrlObject::kErrorSource,
                           "Out of memory.");
    } catch (...) {
        return ReportError(IID_IDualComm, E_UNEXPECTED, CCommCtrlObject::kErrorSource,
                           "An unexpected failure occurred in the communications control.");
    }
}

[[noreturn]] void ThrowNotAvailable() {
    throw DispatchException(LoadResString(IDS_SETUP_NOT_AVAILABLE), IDS_SETUP_NOT_AVAILABLE, 0,
                            CCommCtrlObject::kErrorSource);
}

[[noreturn]] void ThrowSetNotSupported() {
    throw DispatchException("Property is read-only.", 0, kSetNotSupported,
                            CCommCtrlObject::kErrorSource);
}

void Require(const void* p) {
    if (!p)
        throw ComException(E_POINTER);
}

// An out BSTR reallocated in place: what the caller passed is freed.
void ReallocOut(BSTR* target, const std::string& text) {
    Require(target);
    const std::u16string wide = Utf8ToUtf16(text);
    if (!SysReAllocStringLen(target, wide.data(), static_cast<UINT>(wide.size())))
        throw std::bad_alloc();
}

// An out BSTR that receives a new string.
void NewOut(BSTR* target, const std::string& text) {
    Require(target);
    *target = BstrFromUtf8(text);
    if (!*target)
        throw std::bad_alloc();
}

VARIANT TextVariant(const std::optional<std::string>& text) {
    VARIANT v;
    if (text) {
        v.vt = VT_BSTR;
        v.bstrVal = BstrFromUtf8(*text);
    }
    return v;
}

// A text argument of the dispatch Open: omitted counts as empty.
std::optional<std::string> OptionalText(const VARIANT& v) {
    if (v.vt == VT_ERROR)
        return std::nullopt;
    Variant text;
    const HRESULT hr = VariantChangeType(&text, &v, 0, VT_BSTR);
    if (FAILED(hr))
        throw ComException(hr);
    return Utf8FromBstr(text.bstrVal);
}

std::optional<int16_t> OptionalShort(const VARIANT& v) {
    if (v.vt == VT_ERROR)
        return std::nullopt;
    Variant value;
    const HRESULT hr = VariantChangeType(&value, &v, 0, VT_I2);
    if (FAILED(hr))
        throw ComException(hr);
    return value.iVal;
}

} // namespace

VARIANT MakeSearchResult(const std::optional<SearchSelection>& selection) {
    VARIANT result;
    if (!selection)
        return result;
    const SAFEARRAYBOUND bounds[2] = {{1, 0}, {4, 0}};
    SafeArrayHolder array(SafeArrayCreate(VT_VARIANT, 2, bounds));
    if (!array.Get())
        return result;
    Variant cells[4] = {Variant(static_cast<LONG>(selection->type)), Variant(selection->address),
                        Variant(selection->instId), Variant(selection->interfaceName)};
    for (LONG column = 0; column < 4; ++column) {
        const LONG index[2] = {0, column};
        if (FAILED(SafeArrayPutElement(array.Get(), index, &cells[column])))
            return result;
    }
    result.vt = VT_ARRAY | VT_VARIANT;
    result.parray = array.Detach();
    return result;
}

CCommCtrlObject::CCommCtrlObject(IUnknown* outer) : ComObjectRoot(outer, &LinkwellServerModule()) {}

IUnknown* CCommCtrlObject::GetInterface(REFIID iid) {
    if (iid == IID_IDualComm)
        return static_cast<IDualComm*>(this);
    if (iid == IID_IDispatch || iid == DIID__DLinkwell)
        return static_cast<IDispatch*>(static_cast<IDualComm*>(this));
    if (iid == IID_ISupportErrorInfo)
        return static_cast<ISupportErrorInfo*>(this);
    return nullptr;
}

// ---- dispatch interface

const DispatchTable<CCommCtrlObject>& CCommCtrlObject::Table() {
    using O = CCommCtrlObject;
    using A = DispatchArgs;
    using R = Variant;
    static const auto table =
        DispatchTable<O>()
            .Property(
                DISPID_LW_InstID, "InstID", VT_BSTR,
                [](O& o, R& r) { r = Variant(o.m_ctrl.InstID()); },
                [](O& o, const VARIANT& v) { o.m_ctrl.SetInstID(Utf8FromBstr(v.bstrVal)); })
            .Property(
                DISPID_LW_InterfaceType, "InterfaceType", VT_I2,
                [](O& o, R& r) { r = Variant(o.m_ctrl.InterfaceType()); },
                [](O& o, const VARIANT& v) {
                    o.m_ctrl.SetInterfaceType(v.iVal);
                    o.m_ctrl.SetModified();
                })
            .Property(
                DISPID_LW_ControllerName, "ControllerName", VT_BSTR,
                [](O& o, R& r) { r = Variant(o.m_ctrl.ControllerName()); },
                [](O& o, const VARIANT& v) {
                    o.m_ctrl.SetControllerName(Utf8FromBstr(v.bstrVal));
                    o.m_ctrl.SetModified();
                })
            .Property(
                DISPID_LW_Address, "Address", VT_I2,
                [](O& o, R& r) { r = Variant(o.m_ctrl.Address()); },
                [](O& o, const VARIANT& v) {
                    o.m_ctrl.SetAddress(v.iVal);
                    o.m_ctrl.SetModified();
                })
            .Property(
                DISPID_LW_Exclusive, "Exclusive", VT_BOOL,
                [](O& o, R& r) { r = Variant(o.m_ctrl.Exclusive() != 0); },
                [](O& o, const VARIANT& v) {
                    o.m_ctrl.PutExclusive(v.boolVal != VARIANT_FALSE ? TRUE : FALSE);
                })
            .Property(
                DISPID_LW_InterfaceName, "InterfaceName", VT_BSTR,
                [](O& o, R& r) { r = Variant(o.m_ctrl.InterfaceName()); },
                [](O&, const VARIANT&) { ThrowSetNotSupported(); })
            .Property(
                DISPID_LW_Version, "Version", VT_BSTR, [](O&, R& r) { r = Variant(kVersion); },
                [](O&, const VARIANT&) { ThrowSetNotSupported(); })
            .Property(
                DISPID_LW_CommTimeout, "CommTimeout", VT_I4,
                [](O& o, R& r) {
                    int32_t ms = -1;
                    o.m_ctrl.GetCommTimeout(ms);
                    r = Variant(static_cast<LONG>(ms));
                },
                [](O& o, const VARIANT& v) {
                    o.m_ctrl.PutCommTimeout(v.lVal);
                    o.m_ctrl.SetModified();
                })
            .Property(
                DISPID_LW_LanTimeout, "LanTimeout", VT_I4,
                [](O& o, R& r) {
                    int32_t ms = -1;
                    o.m_ctrl.GetLanTimeout(ms);
                    r = Variant(static_cast<LONG>(ms));
                },
                [](O& o, const VARIANT& v) {
                    o.m_ctrl.PutLanTimeout(v.lVal);
                    o.m_ctrl.SetModified();
                })
            .Property(
                DISPID_LW_PollTimeout, "PollTimeout", VT_I4,
                [](O& o, R& r) {
                    int32_t ms = -1;
                    o.m_ctrl.GetPollTimeout(ms);
                    r = Variant(static_cast<LONG>(ms));
                },
                [](O& o, const VARIANT& v) {
                    o.m_ctrl.PutPollTimeout(v.lVal);
                    o.m_ctrl.SetModified();
                })
            .Property(
                DISPID_LW_Files, "Files", VT_BSTR, [](O&, R& r) { r = Variant(kFiles); },
                [](O&, const VARIANT&) { ThrowSetNotSupported(); })
            .Method(DISPID_LW_Properties, "Properties", VT_EMPTY, {},
                    [](O& o, A&, R&) {
                        if (!o.m_ctrl.ShowProperties())
                            ThrowNotAvailable();
                    })
            .Method(DISPID_LW_Close, "Close", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = Variant(o.m_ctrl.Close()); })
            .Method(DISPID_LW_SendMsg, "SendMsg", VT_BOOL, {VT_BSTR},
                    [](O& o, A& a, R& r) { r = Variant(o.m_ctrl.SendMsg(a.Str(0).c_str())); })
            .Method(DISPID_LW_RecvMsg, "RecvMsg", VT_VARIANT, {},
                    [](O& o, A&, R& r) {
                        VARIANT v = TextVariant(o.m_ctrl.RecvMsg());
                        r.Attach(v);
                    })
            .Method(DISPID_LW_IsMsgAvailable, "IsMsgAvailable", VT_I2, {},
                    [](O& o, A&, R& r) { r = Variant(o.m_ctrl.IsMsgAvailable()); })
            .Method(DISPID_LW_Search, "Search", VT_VARIANT, {},
                    [](O& o, A&, R& r) { r = o.DispSearch(); })
            .Method(DISPID_LW_ClearInstrument, "ClearInstrument", VT_I2, {},
                    [](O& o, A&, R& r) { r = Variant(o.m_ctrl.ClearInstrument()); })
            .Method(DISPID_LW_Open, "Open", VT_BOOL, {VT_VARIANT, VT_VARIANT, VT_VARIANT},
                    [](O& o, A& a, R& r) { r = o.DispOpen(a[0], a[1], a[2]); })
            .Method(DISPID_LW_SendQuery, "SendQuery", VT_VARIANT, {VT_BSTR},
                    [](O& o, A& a, R& r) {
                        VARIANT v = TextVariant(o.m_ctrl.SendQuery(a.Str(0)));
                        r.Attach(v);
                    })
            .Method(DISPID_LW_IsValidInterface, "IsValidInterface", VT_BOOL, {},
                    [](O& o, A&, R& r) { r = Variant(o.m_ctrl.IsValidInterface()); });
    return table;
}

Variant CCommCtrlObject::DispSearch() {
    Variant result;
    VARIANT v = MakeSearchResult(m_ctrl.Search(-1, "*", 0));
    if (v.vt == VT_EMPTY && m_ctrl.ErrorCode() == IDS_SETUP_NOT_AVAILABLE)
        ThrowNotAvailable();
    result.Attach(v);
    return result;
}

Variant CCommCtrlObject::DispOpen(const VARIANT& name, const VARIANT& address,
                                  const VARIANT& exclusive) {
    return Variant(
        m_ctrl.Open(OptionalText(name), OptionalText(address), OptionalShort(exclusive)));
}

HRESULT CCommCtrlObject::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CCommCtrlObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT CCommCtrlObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return Table().GetIDsOfNames(names, count, ids);
}

HRESULT CCommCtrlObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                VARIANT* result, EXCEPINFO* exception, UINT* argError) {
    return Table().Invoke(this, id, iid, flags, params, result, exception, argError);
}

// ---- IDualComm

HRESULT CCommCtrlObject::put_InterfaceType(SHORT type) {
    return Guarded([&] { m_ctrl.SetInterfaceType(type); });
}

HRESULT CCommCtrlObject::get_InterfaceType(SHORT* type) {
    return Guarded([&] {
        Require(type);
        *type = m_ctrl.InterfaceType();
    });
}

HRESULT CCommCtrlObject::get_InterfaceName(BSTR* name) {
    return Guarded([&] { ReallocOut(name, m_ctrl.InterfaceName()); });
}

HRESULT CCommCtrlObject::put_ControllerName(BSTR name) {
    return Guarded([&] { m_ctrl.SetControllerName(Utf8FromBstr(name)); });
}

HRESULT CCommCtrlObject::get_ControllerName(BSTR* name) {
    return Guarded([&] { ReallocOut(name, m_ctrl.ControllerName()); });
}

HRESULT CCommCtrlObject::put_Address(SHORT address) {
    return Guarded([&] { m_ctrl.SetAddress(address); });
}

HRESULT CCommCtrlObject::get_Address(SHORT* address) {
    return Guarded([&] {
        Require(address);
        *address = m_ctrl.Address();
    });
}

HRESULT CCommCtrlObject::put_Exclusive(SHORT exclusive) {
    // Stored only: the open link keeps its mode until the next open.
    return Guarded([&] { m_ctrl.SetExclusive(exclusive); });
}

HRESULT CCommCtrlObject::get_Exclusive(SHORT* exclusive) {
    return Guarded([&] {
        Require(exclusive);
        *exclusive = static_cast<SHORT>(m_ctrl.Exclusive());
    });
}

HRESULT CCommCtrlObject::get_InstID(BSTR* id) {
    return Guarded([&] { ReallocOut(id, m_ctrl.InstID()); });
}

HRESULT CCommCtrlObject::get_Version(BSTR* version) {
    return Guarded([&] { NewOut(version, kVersion); });
}

HRESULT CCommCtrlObject::put_CommTimeout(LONG ms) {
    return Guarded([&] { m_ctrl.PutCommTimeout(ms); });
}

HRESULT CCommCtrlObject::get_CommTimeout(LONG* ms) {
    return Guarded([&] {
        Require(ms);
        m_ctrl.GetCommTimeout(*ms);
    });
}

HRESULT CCommCtrlObject::put_LanTimeout(LONG ms) {
    return Guarded([&] { m_ctrl.PutLanTimeout(ms); });
}

HRESULT CCommCtrlObject::get_LanTimeout(LONG* ms) {
    return Guarded([&] {
        Require(ms);
        m_ctrl.GetLanTimeout(*ms);
    });
}

HRESULT CCommCtrlObject::put_PollTimeout(LONG ms) {
    return Guarded([&] { m_ctrl.PutPollTimeout(ms); });
}

HRESULT CCommCtrlObject::get_PollTimeout(LONG* ms) {
    return Guarded([&] {
        Require(ms);
        m_ctrl.GetPollTimeout(*ms);
    });
}

HRESULT CCommCtrlObject::Properties() {
    return Guarded([&] {
        if (!m_ctrl.ShowProperties())
            ThrowNotAvailable();
    });
}

HRESULT CCommCtrlObject::Close(SHORT* result) {
    return Guarded([&] {
        Require(result);
        *result = m_ctrl.Close() ? TRUE : FALSE;
    });
}

VARIANT* CCommCtrlObject::SearchInterface(VARIANT* result, const char* pattern, LONG flag) {
    if (!result)
        return result;
    // Nothing may escape a direct slot: a failure leaves VT_EMPTY.
    try {
        *result = MakeSearchResult(m_ctrl.Search(m_ctrl.InterfaceType(), pattern, flag));
    } catch (...) {
        *result = VARIANT();
    }
    return result;
}

HRESULT CCommCtrlObject::Search(VARIANT* result) {
    return Guarded([&] {
        Require(result);
        Variant found = DispSearch();
        *result = found.Detach();
    });
}

BOOL CCommCtrlObject::OpenInterface(const char* name, const char* address, SHORT exclusive) {
    try {
        return m_ctrl.OpenInterface(name ? name : "", address ? address : "", exclusive) ? TRUE
                                                                                         : FALSE;
    } catch (...) {
        return FALSE;
    }
}

HRESULT CCommCtrlObject::Open(VARIANT name, VARIANT address, VARIANT exclusive, SHORT* result) {
    return Guarded([&] {
        Require(result);
        *result = DispOpen(name, address, exclusive).boolVal != VARIANT_FALSE ? TRUE : FALSE;
    });
}

BOOL CCommCtrlObject::SendRawMsg(const char* command) {
    try {
        return m_ctrl.SendMsg(command) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

HRESULT CCommCtrlObject::SendMsg(BSTR message) {
    bool sent = false;
    const HRESULT hr = Guarded([&] { sent = m_ctrl.SendMsg(Utf8FromBstr(message).c_str()); });
    return FAILED(hr) ? hr : (sent ? S_OK : S_FALSE);
}

BOOL CCommCtrlObject::RecvRawMsg(char* buffer, LONG size, LONG* count) {
    try {
        LONG ignored = 0;
        return m_ctrl.RecvRawMsg(buffer, size, count ? *count : ignored) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

HRESULT CCommCtrlObject::get_RecvMsg(VARIANT* message) {
    return Guarded([&] {
        Require(message);
        *message = TextVariant(m_ctrl.RecvMsg());
    });
}

HRESULT CCommCtrlObject::SendQuery(BSTR query, VARIANT* answer) {
    return Guarded([&] {
        Require(answer);
        *answer = TextVariant(m_ctrl.SendQuery(Utf8FromBstr(query)));
    });
}

HRESULT CCommCtrlObject::IsMsgAvailable(SHORT* available) {
    return Guarded([&] {
        Require(available);
        *available = m_ctrl.IsMsgAvailable();
    });
}

HRESULT CCommCtrlObject::ClearInstrument(SHORT* result) {
    return Guarded([&] {
        Require(result);
        *result = m_ctrl.ClearInstrument();
    });
}

HRESULT CCommCtrlObject::IsValidInterface(SHORT* valid) {
    return Guarded([&] {
        Require(valid);
        *valid = m_ctrl.IsValidInterface() ? TRUE : FALSE;
    });
}

SHORT CCommCtrlObject::GetInterfaceTypeValue() {
    return m_ctrl.InterfaceType();
}

BOOL CCommCtrlObject::GetCommError(VARIANT* text, LONG* code) {
    if (!text)
        return FALSE;
    try {
        std::string message;
        int32_t number = 0;
        const bool found = m_ctrl.GetCommError(message, number);
        // Always a string the caller can clear, empty when there is no error.
        *text = VARIANT();
        text->vt = VT_BSTR;
        text->bstrVal = BstrFromUtf8(found ? message : std::string());
        if (found && code)
            *code = number;
        return found ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

BOOL CCommCtrlObject::GoToLocal() {
    try {
        m_ctrl.GoToLocal();
    } catch (...) {
    }
    return TRUE;
}

BOOL CCommCtrlObject::GoToRemote() {
    try {
        m_ctrl.GoToRemote();
    } catch (...) {
    }
    return TRUE;
}

BOOL CCommCtrlObject::IsInstrumentResponding() {
    try {
        return m_ctrl.IsInstrumentResponding() ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

BOOL CCommCtrlObject::GetSerialSettings(BSTR* baud, BSTR* parity, BSTR* handshake) {
    try {
        std::string b, p, h;
        m_ctrl.GetSerialSettings(b, p, h);
        if (baud && !b.empty())
            ReallocOut(baud, b);
        if (parity && !p.empty())
            ReallocOut(parity, p);
        if (handshake && !h.empty())
            ReallocOut(handshake, h);
    } catch (...) {
    }
    return TRUE;
}

HRESULT CCommCtrlObject::get_Files(BSTR* files) {
    return Guarded([&] { NewOut(files, kFiles); });
}

HRESULT CCommCtrlObject::InterfaceSupportsErrorInfo(REFIID iid) {
    return iid == IID_IDualComm ? S_OK : S_FALSE;
}

} // namespace tvane::comm
