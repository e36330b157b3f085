#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <gtest/gtest.h>

#include "app/IExportServices.h"
#include "app/frame/DocumentWiring.h"
#include "database/CStateInfo.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

using ExportWiring = TempHomeTest;

TEST_F(ExportWiring, TheProgramsClipboardTakesExportTextAndKeepsOtherFormatsWhenAsked) {
    TestApp();
    CStateInfo state;
    state.m_dataDir = home.Data().string();
    DocumentWiring wiring(state, nullptr, nullptr);
    IClipboard* clipboard = wiring.Document().GetServices().clipboard;
    ASSERT_NE(clipboard, nullptr);
    EXPECT_NE(wiring.Document().GetServices().diskSpaceCheck, nullptr);

    auto* picture = new QMimeData;
    picture->setData("application/x-tallyvane-test", "graphic");
    QApplication::clipboard()->setMimeData(picture);
    ASSERT_TRUE(clipboard->SetText("101(Value)\r\n+1.000000E+00\r\n", false));
    const QMimeData* held = QApplication::clipboard()->mimeData();
    EXPECT_EQ(held->text().toStdString(), "101(Value)\r\n+1.000000E+00\r\n");
    EXPECT_TRUE(held->hasFormat("application/x-tallyvane-test"));

    ASSERT_TRUE(clipboard->SetText("events", true));
    held = QApplication::clipboard()->mimeData();
    EXPECT_EQ(held->text().toStdString(), "events");
    EXPECT_FALSE(held->hasFormat("application/x-tallyvane-test"));
}

} // namespace
} // namespace tvane::test
