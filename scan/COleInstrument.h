#pragma once
#include <memory>
#include <string>

#include "comm/IDualComm.h"
#include "scan/CCommDispatch.h"
#include "scan/COleDriver.h"
#include "scan/CommSettings.h"

// The communications side of the binding: the control that the driver object
// aggregates, reached through its IDualComm and its dispatch interface. All calls
// go to the one control inside the driver object; calling any of them before a
// successful Create throws tvane::ComException (E_UNEXPECTED).
class COleInstrument : public COleDriver {
    DECLARE_DYNAMIC(COleInstrument)

public:
    COleInstrument() = default;
    ~COleInstrument() override;

    // Creates the driver object by ProgID and takes the control's interfaces.
    // Failures are shown (texts 170, 169, 168 with the ProgID) and end in
    // tvane::UserException.
    BOOL Create(const std::string& progId) override;

    BOOL Connect(CommSettings* settings, SHORT exclusive) { return Open(settings, exclusive); }
    // Opens the interface the settings name; on success refreshes them from the
    // control, forces InstID to the model text and applies the ini time-outs.
    virtual BOOL Open(CommSettings* settings, SHORT exclusive);
    virtual void Close();
    virtual BOOL EditControlProperties() { return FALSE; }
    virtual void GetInstrumentName(std::string& name) { name.clear(); }
    virtual void GetDriverVersion(std::string& version) { version.clear(); }
    virtual void GetDriverFiles(std::string& files) { files.clear(); }

    // Searches for an instrument; found (may be null) receives the control's
    // properties after a successful search.
    BOOL Search(CommSettings* found, const std::string& pattern, LONG flag,
                const CommSettings* preset);
    void SetSimulated(CommSettings* settings);
    void GetInterfaceName(std::string& name);
    void GetControllerName(std::string& name) const { name = m_settings.ControllerName; }
    void GetAddressText(std::string& text) const;
    void SetExclusive(BOOL exclusive);
    SHORT IsValidInterface();

    BOOL SendRawMsg(const char* command);
    BOOL RecvRawMsg(char* buffer, LONG size, LONG* count);
    BOOL GoToLocal();
    SHORT GetInterfaceTypeValue();
    BOOL IsSimulated() { return GetInterfaceTypeValue() == 0; }

    BOOL GetLastCommError() override;

    const CommSettings& Settings() const { return m_settings; }
    BOOL IsOpened() const { return m_opened; }

protected:
    IDualComm& Comm();
    CCommDispatch& CommDispatch();
    // Drops every interface held, in the order the destructor does.
    void ReleaseControl();

    IUnknown* m_unknown = nullptr;
    IDualComm* m_comm = nullptr;
    std::unique_ptr<CCommDispatch> m_commDispatch;
    CommSettings m_settings;
    BOOL m_opened = FALSE;
};
