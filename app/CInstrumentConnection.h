#pragma once
#include <memory>
#include <string>

#include "scan/CommSettings.h"

class CLoggerDoc;
class COleKXQT7100;

// The application's side of the instrument connection: the one binding, the
// interface settings in Tvane.ini, the start-up connection with its search
// and its fall-back to the simulated interface, and the Communications Setup
// command. The application keeps one and forwards its commands to it.
class CInstrumentConnection {
public:
    // What the connection needs of the application.
    class IHost {
    public:
        virtual ~IHost() = default;
        // Status bar pane 4: the interface in use.
        virtual void SetInterfacePane(const std::string& text) = 0;
        // Null while there is no main frame or document.
        virtual CLoggerDoc* GetActiveDocument() = 0;
    };

    static constexpr unsigned kCommandCommunicationsSetup = 32799;
    static constexpr const char* kDefaultProgId = "KXQT7100.Drv32";

    explicit CInstrumentConnection(IHost& host);
    ~CInstrumentConnection();
    CInstrumentConnection(const CInstrumentConnection&) = delete;
    CInstrumentConnection& operator=(const CInstrumentConnection&) = delete;

    // Creates the binding from the ini's driver ProgID; false (and no binding)
    // when it cannot be made. The failure has been shown by then.
    bool CreateInstrument();
    // Takes a binding made elsewhere (tests, or an embedding program).
    void SetInstrument(std::unique_ptr<COleKXQT7100> binding);
    COleKXQT7100* GetInstrument() const { return m_binding.get(); }
    const std::string& GetInstrumentName() const { return m_instrumentName; }

    // The ini record; false when "Drivers"/"Instrument" is empty.
    static bool ReadCommSettings(std::string& progId, CommSettings& settings);
    // The simulated interface never replaces the last real one in the ini.
    static bool SaveCommSettings(const CommSettings& settings);

    // Start-up: opens the ini's interface, else offers a search, else falls back
    // to the simulated interface. True when a real interface or the search
    // succeeded.
    bool ConnectInstrument(bool exclusive);
    bool AskSearchForInstrument(CommSettings& settings, bool exclusive, bool ask);
    bool ApplyCommSettings(CommSettings& settings, bool exclusive);
    bool RunCommSetupDialog();
    void OnCommunicationsSetup();
    bool IsCommunicationsSetupEnabled();
    void GetInterfaceDescription(std::string& text);

private:
    bool Open(CommSettings& settings, bool exclusive);

    IHost& m_host;
    std::unique_ptr<COleKXQT7100> m_binding;
    std::string m_instrumentName;
};
