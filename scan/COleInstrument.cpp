#include "scan/COleInstrument.h"

#include "platform/com/Bstr.h"
#include "platform/com/ComException.h"
#include "platform/core/Format.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "scan/ComUtilities.h"

namespace {

constexpr unsigned kAttachFailed = 168;
constexpr unsigned kLoadFailed = 169;
constexpr unsigned kNoRegistryEntry = 170;
constexpr unsigned kModelText = 3001;

[[noreturn]] void Fail(unsigned id, const std::string& progId) {
    tvane::ShowMessage(tvane::Format(GetResourceString(id), progId.c_str()), tvane::MsgButtons::Ok,
                       tvane::MsgIcon::Warning);
    throw tvane::UserException();
}

} // namespace

IMPLEMENT_DYNAMIC(COleInstrument, COleDriver)

COleInstrument::~COleInstrument() {
    try {
        Close();
    } catch (const std::exception&) {
        // The control is going away with the binding; nothing is left to tell.
    }
    ReleaseControl();
}

void COleInstrument::ReleaseControl() {
    if (m_commDispatch) {
        m_commDispatch->DetachDispatch();
        m_commDispatch.reset();
    }
    if (m_comm) {
        m_comm->Release();
        m_comm = nullptr;
    }
    if (m_unknown) {
        m_unknown->Release();
        m_unknown = nullptr;
    }
    m_opened = FALSE;
}

BOOL COleInstrument::Create(const std::string& progId) {
    // A second Create replaces the first object rather than leaking it.
    ReleaseControl();
    std::string key;
    if (!ProgIDToCLSID(progId, m_clsid, key))
        Fail(kNoRegistryEntry, progId);
    m_progId = progId;
    CreateComObject(m_clsid, &m_unknown);
    if (!m_unknown)
        Fail(kLoadFailed, progId);
    if (FAILED(m_unknown->QueryInterface(IID_IDualComm, reinterpret_cast<void**>(&m_comm))) ||
        !m_comm) {
        m_comm = nullptr;
        Fail(kLoadFailed, progId);
    }
    // The binding releases IDualComm itself, so the wrapper only borrows it.
    m_commDispatch = std::make_unique<CCommDispatch>();
    m_commDispatch->AttachDispatch(m_comm, false);
    if (!m_commDispatch->Dispatch())
        Fail(kAttachFailed, progId);
    return TRUE;
}

IDualComm& COleInstrument::Comm() {
    if (!m_comm)
        throw tvane::ComException(E_UNEXPECTED, "The instrument driver has not been created.");
    return *m_comm;
}

CCommDispatch& COleInstrument::CommDispatch() {
    if (!m_commDispatch)
        throw tvane::ComException(E_UNEXPECTED, "The instrument driver has not been created.");
    return *m_commDispatch;
}

BOOL COleInstrument::Open(CommSettings* settings, SHORT exclusive) {
    const std::string model = GetResourceString(kModelText);
    const std::string address =
        settings->InterfaceName != "ANY"
            ? tvane::Format("%s,%d", settings->ControllerName.c_str(), settings->Address)
            : model;
    BOOL result = FALSE;
    if (Comm().OpenInterface(settings->InterfaceName.c_str(), address.c_str(), exclusive)) {
        result = TRUE;
        m_opened = TRUE;
        CCommDispatch& control = CommDispatch();
        settings->InterfaceType = control.GetInterfaceType();
        settings->InterfaceName = control.GetInterfaceName();
        settings->ControllerName = control.GetControllerName();
        settings->Address = static_cast<SHORT>(control.GetAddress());
        settings->InstID = control.GetInstID();
        if (settings->InstID != model)
            settings->InstID = model;

        const std::string section =
            tvane::GetPrivateProfileString("Drivers", "Instrument", "", "Tvane.ini");
        auto timeout = [&](const char* key, const char* def) {
            return static_cast<LONG>(
                std::atol(tvane::GetPrivateProfileString(section, key, def, "Tvane.ini").c_str()));
        };
        settings->CommTimeout = timeout("InterfaceTimeout", "2000");
        settings->PollTimeout = timeout("PollTimeout", "20");
        settings->LanTimeout = timeout("LanTimeout", "20000");
        control.SetCommTimeout(settings->CommTimeout);
        control.SetPollTimeout(settings->PollTimeout);
        control.SetLanTimeout(settings->LanTimeout);
    } else {
        CommDispatch().Close();
    }
    m_settings = *settings;
    return result;
}

void COleInstrument::Close() {
    if (m_unknown && m_opened) {
        CommDispatch().Close();
        m_opened = FALSE;
    }
}

BOOL COleInstrument::Search(CommSettings* found, const std::string& pattern, LONG flag,
                            const CommSettings* preset) {
    CCommDispatch& control = CommDispatch();
    if (preset) {
        control.SetAddress(preset->Address);
        control.SetInterfaceType(preset->InterfaceType);
        control.SetControllerName(preset->ControllerName);
    }
    control.SetExclusive(TRUE);
    tvane::Variant result;
    Comm().SearchInterface(&result, pattern.c_str(), flag);
    if (result.vt == VT_EMPTY || result.vt == VT_ERROR) {
        GetLastCommError();
        return FALSE;
    }
    if (found) {
        found->InterfaceType = control.GetInterfaceType();
        found->InterfaceName = control.GetInterfaceName();
        found->ControllerName = control.GetControllerName();
        found->Address = static_cast<SHORT>(control.GetAddress());
        found->InstID = control.GetInstID();
    }
    return TRUE;
}

void COleInstrument::SetSimulated(CommSettings* settings) {
    GetInstrumentName(settings->InstID);
    CommDispatch().SetInterfaceType(0);
    settings->InterfaceType = 0;
    settings->InterfaceName = CommDispatch().GetInterfaceName();
}

void COleInstrument::GetInterfaceName(std::string& name) {
    name = CommDispatch().GetInterfaceName();
}

void COleInstrument::GetAddressText(std::string& text) const {
    text = tvane::Format("%d", m_settings.Address);
}

void COleInstrument::SetExclusive(BOOL exclusive) {
    CommDispatch().SetExclusive(exclusive);
}

SHORT COleInstrument::IsValidInterface() {
    return CommDispatch().IsValidInterface();
}

BOOL COleInstrument::SendRawMsg(const char* command) {
    const BOOL ok = Comm().SendRawMsg(command);
    if (!ok)
        GetLastCommError();
    return ok;
}

BOOL COleInstrument::RecvRawMsg(char* buffer, LONG size, LONG* count) {
    const BOOL ok = Comm().RecvRawMsg(buffer, size, count);
    if (!ok)
        GetLastCommError();
    return ok;
}

BOOL COleInstrument::GoToLocal() {
    const BOOL ok = Comm().GoToLocal();
    if (!ok)
        GetLastCommError();
    return ok;
}

SHORT COleInstrument::GetInterfaceTypeValue() {
    return Comm().GetInterfaceTypeValue();
}

BOOL COleInstrument::GetLastCommError() {
    tvane::Variant text;
    LONG code = 0;
    // An open link always answers, with code 0 when it has nothing to report; that
    // must not replace the error a failed call left in the record.
    if (!Comm().GetCommError(&text, &code) || code == 0)
        return FALSE;
    m_errorCode = code;
    m_errorText = text.vt == VT_BSTR ? tvane::Utf8FromBstr(text.bstrVal) : text.ToString();
    return TRUE;
}
