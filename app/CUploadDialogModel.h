#pragma once
#include <cstdint>
#include <string>

class CLoggerDoc;

// The logic of the Upload dialog: what it shows of the instrument and the
// choices the user makes; the window only mirrors these fields.
class CUploadDialogModel {
public:
    static constexpr std::size_t kMaxNameLength = 35;

    // Reads the modules, the reading count and the scanning state. hasSetup:
    // the application already holds a setup; allowCurrent: the caller lets the
    // user keep it.
    void Init(CLoggerDoc& document, bool hasSetup, bool allowCurrent,
              const std::string& currentName);
    void OnContinueScanning();
    void OnStopScanning();
    void OnNewSetup();
    void OnCurrentSetup();
    void SetName(const std::string& name);
    // False (after the message) while the name is empty: the dialog stays open.
    bool OnOk();

    // What the dialog shows.
    std::string slotTexts[3];
    std::string readingsText;
    std::string scanningText;
    bool scanning = false;
    std::int32_t readings = -1;
    bool newSetupSelected = true, newSetupEnabled = true;
    bool currentSetupEnabled = false;
    bool nameEnabled = true;
    bool stopEnabled = false, continueEnabled = false;
    bool continueSelected = false;
    bool includeData = false, includeDataEnabled = true;
    std::string name;

    // The choices after OK.
    bool continueScanning = false;
    bool newSetup = true;

private:
    std::string m_typedName;
    std::string m_currentName;
};
