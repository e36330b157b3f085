#include "app/CInstrumentConnection.h"

#include <utility>

#include "app/CLoggerDoc.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "scan/COleKXQT7100.h"

namespace {
constexpr const char* kIni = "Tvane.ini";
constexpr const char* kNotLocated = "The following device could not be located:\n\n\t"; // 501
constexpr const char* kNotFoundAny =
    "Could not find a KXQT710 on any Wenx or GPIB address or on COM1\n\n";
constexpr const char* kAskSearch = "\nDo you want to search for missing devices now?"; // 502
constexpr const char* kSettingSimulated =
    "Unable to establish communications with instrument.\nSetting interface to Simulated."; // 952
constexpr const char* kRestoring = "Unable to establish communications using the specified "
                                   "settings.\nAttempting to restore %s interface.\n";
constexpr const char* kNotResponding = "Instrument not responding.\nPlease verify communication "
                                       "settings and cable connections.\nSetting interface to "
                                       "SIMULATED.";
} // namespace

CInstrumentConnection::CInstrumentConnection(IHost& host) : m_host(host) {}
CInstrumentConnection::~CInstrumentConnection() = default;

void CInstrumentConnection::SetInstrument(std::unique_ptr<COleKXQT7100> binding) {
    m_binding = std::move(binding);
}

bool CInstrumentConnection::ReadCommSettings(std::string& progId, CommSettings& settings) {
    const std::string id =
        tvane::GetPrivateProfileString("Drivers", "Instrument", kDefaultProgId, kIni);
    if (id.empty())
        return false;
    settings.InstID = tvane::GetPrivateProfileString(id, "Name", "KXQT7100", kIni);
    settings.InterfaceName = tvane::GetPrivateProfileString(id, "Interface", "ANY", kIni);
    settings.ControllerName = tvane::GetPrivateProfileString(id, "ControllerName", "ANY", kIni);
    settings.Address = static_cast<SHORT>(tvane::GetPrivateProfileInt(id, "DAddress", 0, kIni));
    settings.InterfaceType = tvane::GetPrivateProfileInt(id, "DInterface", 0, kIni);
    progId = id;
    return true;
}

bool CInstrumentConnection::SaveCommSettings(const CommSettings& settings) {
    const std::string id =
        tvane::GetPrivateProfileString("Drivers", "Instrument", kDefaultProgId, kIni);
    if (id.empty())
        return false;
    if (settings.InterfaceName != "SIMULATED") {
        tvane::WritePrivateProfileString(id, "Interface", settings.InterfaceName, kIni);
        tvane::WritePrivateProfileString(id, "DInterface", std::to_string(settings.InterfaceType),
                                         kIni);
    }
    tvane::WritePrivateProfileString(id, "Name", settings.InstID, kIni);
    tvane::WritePrivateProfileString(id, "ControllerName", settings.ControllerName, kIni);
    tvane::WritePrivateProfileString(id, "DAddress", std::to_string(settings.Address), kIni);
    return true;
}

bool CInstrumentConnection::CreateInstrument() {
    auto binding = std::make_unique<COleKXQT7100>();
    CommSettings settings;
    std::string progId;
    if (!ReadCommSettings(progId, settings))
        return false;
    try {
        if (!binding->Create(progId))
            return false;
    } catch (const tvane::Exception&) {
        // The binding has shown why; the program goes on without an instrument.
        return false;
    }
    m_binding = std::move(binding);
    m_instrumentName = settings.InstID;
    return true;
}

bool CInstrumentConnection::Open(CommSettings& settings, bool exclusive) {
    if (!m_binding)
        return false;
    try {
        return m_binding->Connect(&settings, exclusive ? 1 : 0) != 0;
    } catch (const tvane::Exception&) {
        return false;
    }
}

bool CInstrumentConnection::ConnectInstrument(bool exclusive) {
    CommSettings settings;
    std::string progId;
    if (!m_binding || !ReadCommSettings(progId, settings))
        return false;
    m_instrumentName = settings.InstID;
    bool result = false;
    if (Open(settings, exclusive)) {
        m_binding->SetExclusive(exclusive ? TRUE : FALSE);
        result = SaveCommSettings(settings);
    } else {
        result = AskSearchForInstrument(settings, exclusive, true);
        if (!result) {
            try {
                m_binding->SetSimulated(&settings);
            } catch (const tvane::Exception&) {
            }
            result = ApplyCommSettings(settings, true);
        } else {
            settings = m_binding->Settings();
        }
    }
    m_host.SetInterfacePane(settings.InterfaceName);
    return result;
}

bool CInstrumentConnection::AskSearchForInstrument(CommSettings& settings, bool, bool) {
    std::string text;
    if (settings.ControllerName != "ANY")
        text = kNotLocated + m_instrumentName +
               tvane::Format(" at %s,%d", settings.ControllerName.c_str(), settings.Address) +
               "\n\t";
    else
        text = kNotFoundAny;
    text += kAskSearch;
    if (tvane::ShowMessage(text, tvane::MsgButtons::YesNo, tvane::MsgIcon::Question) ==
            tvane::MsgAnswer::Yes &&
        RunCommSetupDialog())
        return true;
    tvane::ShowMessage(kSettingSimulated);
    return false;
}

bool CInstrumentConnection::ApplyCommSettings(CommSettings& settings, bool exclusive) {
    if (!Open(settings, exclusive))
        return false;
    m_host.SetInterfacePane(settings.InterfaceName);
    return SaveCommSettings(settings);
}

bool CInstrumentConnection::RunCommSetupDialog() {
    if (!m_binding)
        return false;
    CommSettings found;
    std::string name;
    bool result = false;
    try {
        m_binding->GetInstrumentName(name);
        const CommSettings current = m_binding->Settings();
        if (!m_binding->Search(&found, name, TRUE, &current))
            return false;
        result = ApplyCommSettings(found, true);
        if (result && !(found == current))
            if (CLoggerDoc* doc = m_host.GetActiveDocument())
                doc->SetSetupInInstrument(0);
    } catch (const tvane::Exception&) {
        return false;
    }
    return result;
}

void CInstrumentConnection::OnCommunicationsSetup() {
    if (!m_binding)
        return;
    CLoggerDoc* doc = m_host.GetActiveDocument();
    if (doc != nullptr)
        doc->StopMonitorTimer();
    CommSettings previous = m_binding->Settings();
    if (!RunCommSetupDialog()) {
        if (!(m_binding->Settings() == previous))
            tvane::ShowMessage(tvane::Format(kRestoring, previous.InterfaceName.c_str()),
                               tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
        if (!ApplyCommSettings(previous, true)) {
            CommSettings simulated = m_binding->Settings();
            try {
                m_binding->SetSimulated(&simulated);
            } catch (const tvane::Exception&) {
            }
            ApplyCommSettings(simulated, true);
            tvane::ShowMessage(kNotResponding, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
        }
    }
    if (doc == nullptr)
        return;
    if (m_binding->Settings().InterfaceType != 0)
        doc->RestartMonitor();
    else
        doc->ConfigureMonitorChannel(-1);
}

bool CInstrumentConnection::IsCommunicationsSetupEnabled() {
    CLoggerDoc* doc = m_host.GetActiveDocument();
    return doc != nullptr && doc->IsScanning() == 0;
}

void CInstrumentConnection::GetInterfaceDescription(std::string& text) {
    text.clear();
    if (!m_binding)
        return;
    try {
        m_binding->GetInterfaceName(text);
        const int type = m_binding->GetInterfaceTypeValue();
        if (type != 0 && type != -1) {
            std::string controller;
            m_binding->GetControllerName(controller);
            text += " at " + controller + "," + tvane::Format("%d", m_binding->Settings().Address);
        }
    } catch (const tvane::Exception&) {
    }
}
