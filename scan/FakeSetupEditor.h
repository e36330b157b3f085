#pragma once
#include "scan/CFXScan.h"
#include "scan/ISetupEditor.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A scripted setup editor for tests: answers as told and records the calls.
class FakeSetupEditor final : public ISetupEditor {
public:
    bool acceptScanSettings = true;
    CFXScan editedScan; // copied into the caller's settings when accepted
    bool cellValid = true;
    bool acceptNewSetup = true;
    std::string newSetupName = "Setup";
    int scanSettingsShown = 0;
    int validations = 0;
    std::vector<std::pair<std::int32_t, bool>> monitorRows;

    bool EditScanSettings(CFXScan& scan) override {
        ++scanSettingsShown;
        if (acceptScanSettings)
            scan = editedScan;
        return acceptScanSettings;
    }
    bool ValidateCurrentCell() override {
        ++validations;
        return cellValid;
    }
    void ShowMonitorChannel(std::int32_t channel, bool highlight) override {
        monitorRows.emplace_back(channel, highlight);
    }
    bool AskNewSetupName(std::string& name) override {
        if (acceptNewSetup)
            name = newSetupName;
        return acceptNewSetup;
    }
};
