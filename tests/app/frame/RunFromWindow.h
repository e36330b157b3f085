#pragma once
// A run started and stopped from the main window's commands, its dialogs
// answered: the scan status dialog started (and not shown again), the save of
// the scanned data declined.
#include <QAction>
#include <QCheckBox>
#include <QPushButton>

#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CScanStatusDialog.h"
#include "app/frame/FrameCommands.h"
#include "tests/app/frame/WhenShown.h"

namespace tvane::test {

inline void StartRunFromWindow(CMainFrame& frame) {
    frame.UpdateToolbars();
    WhenShown<CScanStatusDialog>([](CScanStatusDialog& dialog) {
        dialog.DontShow()->setChecked(true);
        dialog.StartButton()->click();
    });
    frame.Action(cmd::kStartScan)->trigger();
}

inline void StopRunFromWindow(CMainFrame& frame) {
    WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& dialog) { dialog.reject(); });
    frame.Action(cmd::kStopScan)->trigger();
}

} // namespace tvane::test
