#include <gtest/gtest.h>

#include <QWidget>

#include "platform/widgets/MfxCursor.h"
#include "tests/support/QtTestSupport.h"

namespace tvane {
namespace {

TEST(CMfxWaitCursor, ShowsTheWaitCursorAndHoldsTheMouseOnlyForAGivenWindow) {
    tvane::test::TestApp();
    QWidget holder;
    holder.show();
    holder.grabMouse();
    {
        CMfxWaitCursor wait;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        EXPECT_EQ(QWidget::mouseGrabber(), &holder); // without a window: left alone
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QWidget::mouseGrabber(), &holder);
    holder.releaseMouse();

    QWidget window;
    window.show();
    {
        CMfxWaitCursor wait(&window);
        EXPECT_EQ(QWidget::mouseGrabber(), &window);
        QGuiApplication::setOverrideCursor(Qt::IBeamCursor); // nested inside
        QGuiApplication::restoreOverrideCursor();
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(LoadSystemCursor(Qt::SizeVerCursor)->shape(), Qt::SizeVerCursor);
}

} // namespace
} // namespace tvane
