#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/frame/CPrefPage.h"
#include "platform/profile/Profile.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

std::string Line(const CPrefPage& page, int row) {
    return page.List()->item(row)->text().toStdString();
}

TEST(PrefPage, ListsTheItemsAndEditsThemInMemory) {
    TestApp();
    TempHome home;
    CAppPreferences prefs;
    prefs.Initialize();
    CPrefPage page(prefs);
    ASSERT_EQ(page.List()->count(), 6);
    EXPECT_EQ(Line(page, 0), "Tip-of-the-Day Window\tYes");
    EXPECT_EQ(Line(page, 3), "Use Last Setup/Dataset\tNo");
    EXPECT_EQ(page.Description()->text().toStdString(),
              "Show the Tip-of-the-Day window on startup");

    // A double click toggles a yes/no item; the choice list sets one.
    emit page.List()->itemDoubleClicked(page.List()->item(3));
    EXPECT_EQ(Line(page, 3), "Use Last Setup/Dataset\tYes");
    page.List()->setCurrentRow(1);
    emit page.Choice()->activated(0);
    EXPECT_EQ(Line(page, 1), "Start Scanning Window\tNo");
    EXPECT_EQ(prefs.Find(CAppPreferences::kStartScanningWindow)->m_value, "N");

    page.RestoreButton()->click();
    EXPECT_EQ(Line(page, 1), "Start Scanning Window\tYes");
    EXPECT_EQ(Line(page, 3), "Use Last Setup/Dataset\tNo");
    EXPECT_EQ(page.List()->currentRow(), 1);
}

// Edits the first item to "No" in the running sheet, then presses OK or Cancel.
void AnswerSheet(bool ok) {
    QTimer::singleShot(10, [ok] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* page = dynamic_cast<CPrefPage*>(w); page && page->isVisible()) {
                page->List()->setCurrentRow(0);
                emit page->Choice()->activated(0);
                ok ? page->accept() : page->reject();
                return;
            }
        AnswerSheet(ok);
    });
}

TEST(PrefPage, OkSavesEveryItemAndCancelRestoresTheProfile) {
    TestApp();
    TempHome home;
    CAppPreferences prefs;
    prefs.Initialize();

    AnswerSheet(false);
    EXPECT_FALSE(EditPreferences(prefs, nullptr));
    EXPECT_EQ(prefs.Find(CAppPreferences::kTipOfTheDay)->m_value, "Y");
    EXPECT_EQ(GetPrivateProfileString("PREFERENCES", "10001", "", "Tvane.ini"), "");

    AnswerSheet(true);
    EXPECT_TRUE(EditPreferences(prefs, nullptr));
    EXPECT_EQ(GetPrivateProfileString("PREFERENCES", "10001", "", "Tvane.ini"), "N");
    EXPECT_EQ(GetPrivateProfileString("PREFERENCES", "10004", "", "Tvane.ini"), "N");
}

} // namespace
} // namespace tvane::test
