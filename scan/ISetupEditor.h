#pragma once
#include <cstdint>
#include <string>

class CFXScan;

// What the document asks of the setup editor: the scan settings sheet, the
// check of the grid's current cell, the monitor highlight of a row and the name
// of a new setup. The editor implements it; tests use FakeSetupEditor.
class ISetupEditor {
public:
    virtual ~ISetupEditor() = default;
    // Edits every field of the scan settings; true when the user chose OK.
    virtual bool EditScanSettings(CFXScan& scan) = 0;
    // Validates the grid's current cell; false after the editor showed why not.
    virtual bool ValidateCurrentCell() = 0;
    // Repaints the channel's row with (or without) the monitor highlight.
    virtual void ShowMonitorChannel(std::int32_t channel, bool highlight) = 0;
    // Asks for the name of a new setup; false when the user cancelled.
    virtual bool AskNewSetupName(std::string& name) = 0;
};
