#pragma once
#include <string>

struct CStateInfo;
class CLoggerDoc;
class COleKXQT7100;
class ISetupEditor;

namespace tvane {
class CArchive;
class ITimerService;
} // namespace tvane

// What the document needs of the main frame: the window its timers belong to,
// the status bar panes and the page layout it stores after the setup.
class IDocumentFrame {
public:
    virtual ~IDocumentFrame() = default;
    virtual tvane::ITimerService& Timers() = 0;
    // Panes 1, 2 and 3 show the module texts of slots 1, 2 and 3.
    virtual void SetPaneText(int pane, const std::string& text) = 0;
    // Writes or reads the page layout (page count, the views' contents, the
    // selected page) at the end of the document file.
    virtual void SerializeLayout(tvane::CArchive& ar, CLoggerDoc& document) = 0;
    // Shows the event log window (it is never destroyed, only hidden).
    virtual void ShowEventLog() = 0;
};

// The application as the document reaches it: the state record, the instrument
// binding and the windows the document talks to.
class ILoggerApp {
public:
    virtual ~ILoggerApp() = default;

    virtual CStateInfo& GetStateInfo() = 0;
    void CopyStateInfo(CStateInfo& out);
    void SetStateInfo(const CStateInfo& in);

    // Null while no instrument objects exist.
    virtual COleKXQT7100* GetInstrument() = 0;
    // Set when the current setup is to be discarded as the program ends.
    virtual bool IsSetupDiscard() const = 0;
    // Null while there is no main frame; its timers then run on the default
    // timer service and no page layout is stored.
    virtual IDocumentFrame* GetMainFrame() = 0;
    // Null while the setup grid does not exist.
    virtual ISetupEditor* GetSetupEditor() = 0;
};
