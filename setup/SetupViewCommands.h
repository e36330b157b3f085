#pragma once
#include <optional>

#include "platform/grid/GridRange.h"

class ISetupOptionsSheet;
class SetupGridController;

// The Edit, Channel and View commands of the setup grid and their enable
// rules. Each command first finishes the edit of the current cell, takes the
// grid's selection (the current cell when nothing else is selected), calls the
// document's operation and redraws the rows that changed. Every command is
// disabled while a scan runs, but Set Monitor Channel.
class SetupViewCommands {
public:
    enum Id : unsigned {
        kUndo = 57643,
        kCut = 57635,
        kCopy = 57634,
        kPaste = 57637,
        kDelete = 32792,
        kShowAll = 32781,
        kShowActive = 32780,
        kShowMeasurement = 32856,
        kHideSelected = 32835,
        kAddComputed = 32790,
        kRestoreAll = 32844,
        kRestoreSelected = 32839,
        kShowHideColumns = 32848,
        kOptions = 32838,
        kProperties = 32791,
        kSetMonitor = 32845,
    };
    struct Update {
        bool enabled = false;
        bool checked = false;
    };
    // The highest computed channel number a command may give.
    static constexpr int kLastComputedChannel = 998;
    static constexpr unsigned kHelpContext = 0x1801A;

    SetupViewCommands(SetupGridController& controller, ISetupOptionsSheet& options);

    // A command's state; none when the command keeps the state it had.
    std::optional<Update> GetUpdate(unsigned id) const;
    // Runs a command; false for an id that is not the view's.
    bool Execute(unsigned id);

    void OnEditUndo();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditDelete();
    void OnShowAllChannels();
    void OnShowActiveChannels() { ShowQualifying(false); }
    void OnShowMeasurementChannels() { ShowQualifying(true); }
    void OnHideSelectedChannels();
    void OnAddComputedChannel();
    void OnRestoreAllDefaults() { RestoreDefaults(true); }
    void OnRestoreSelectedDefaults() { RestoreDefaults(false); }
    void RunOptionsSheet(int startPage);
    void OnChannelProperties();
    void OnCommandHelp();
    // The channel numbers of the first two selected rows; -1 for none.
    void GetSelectedChannels(long& first, long& second) const;

private:
    // The selection, the current cell standing in for an empty one.
    tvane::GridRangeList Selection() const;
    // The one selected range, or none after telling the user why.
    std::optional<tvane::GridRange> OneRange() const;
    bool HasOneRange() const { return Selection().size() == 1; }
    bool HasDisabledCell(const tvane::GridRange& range) const;
    bool Scanning() const;
    void EndEditing();
    void RedrawFromSetup(int top, int bottom, bool outOfSync);
    void CommonEnding();
    void ShowQualifying(bool measurement);
    void RestoreDefaults(bool all);

    SetupGridController& m_controller;
    ISetupOptionsSheet& m_options;
};
