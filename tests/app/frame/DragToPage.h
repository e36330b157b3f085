#pragma once
// Dragging displays between graphics pages of the main window, as a user does.
#include <vector>

#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/frame/CMainFrame.h"
#include "graphics/CGraphFrame.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/CGraphViewWnd.h"

namespace tvane::test {

// Drags every display of from with Ctrl by its title onto the tab of to: a
// copy of each arrives there.
inline void CopyEveryDisplayByDrag(CMainFrame& frame, CGraphViewWnd& from, CGraphViewWnd& to) {
    frame.Pages()->setCurrentWidget(&from);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QTabBar* tabs = frame.Pages()->tabBar();
    const QPoint tab = tabs->mapTo(&frame, tabs->tabRect(frame.Pages()->indexOf(&to)).center());
    QWindow* w = frame.windowHandle();
    const int before = to.Model().GetFrameCount();
    int dragged = 0;
    for (CGraphFrame* display : std::vector<CGraphFrame*>(from.Model().GetFrameList()->begin(),
                                                          from.Model().GetFrameList()->end())) {
        frame.Pages()->setCurrentWidget(&from);
        QApplication::processEvents();
        auto* window = dynamic_cast<CGraphFrameWnd*>(display->GetWindow());
        ASSERT_NE(window, nullptr);
        window->raise();
        const QPoint title =
            window->Client()->mapTo(&frame, QPoint(20, display->GetTitleHeight() / 2));
        QTest::mousePress(w, Qt::LeftButton, Qt::ControlModifier, title);
        QTest::mouseMove(w, tab);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::ControlModifier, tab);
        ++dragged;
        ASSERT_EQ(to.Model().GetFrameCount(), before + dragged);
    }
}

} // namespace tvane::test
