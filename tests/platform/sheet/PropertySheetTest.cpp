#include <QApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/core/Services.h"
#include "platform/sheet/PropertyPage.h"
#include "platform/sheet/PropertySheet.h"
#include "platform/ui/Help.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

// A page that records what the sheet tells it and refuses to be left on demand.
class Page : public PropertyPage {
public:
    Page(const QString& title, std::vector<std::string>& log, unsigned helpId = 0)
        : PropertyPage(title, helpId), m_log(log) {}
    bool stay = false;

protected:
    void OnInitPage() override { Note("init"); }
    void OnSetActive() override { Note("active"); }
    bool OnKillActive() override {
        Note(stay ? "stay" : "leave");
        return !stay;
    }
    void OnOK() override { Note("ok"); }
    void OnCancel() override { Note("cancel"); }

private:
    void Note(const char* what) { m_log.push_back(Title().toStdString() + " " + what); }
    std::vector<std::string>& m_log;
};

using Log = std::vector<std::string>;

class Sheet : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* title : {"One", "Two", "Three"}) {
            auto* page = new Page(title, log, QString(title) == "Two" ? 42 : 0);
            pages.push_back(page);
            sheet.AddPage(page);
        }
    }
    void ClickTab(int index) {
        QTabBar* tabs = sheet.Tabs();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }

    QApplication& app = TestApp();
    Log log;
    PropertySheet sheet{"Caption"};
    std::vector<Page*> pages;
};

TEST_F(Sheet, PagesAreBuiltWhenFirstShownFromTheStartPage) {
    sheet.SetStartPage(2);
    sheet.show();
    EXPECT_EQ(sheet.windowTitle(), "Caption");
    EXPECT_EQ(sheet.ActiveIndex(), 2);
    EXPECT_EQ(sheet.Tabs()->currentIndex(), 2);
    EXPECT_EQ(log, (Log{"Three init", "Three active"}));
    EXPECT_FALSE(pages[0]->IsCreated());
    ClickTab(0);
    ClickTab(2);
    EXPECT_EQ(log, (Log{"Three init", "Three active", "Three leave", "One init", "One active",
                        "One leave", "Three active"}));
    EXPECT_FALSE(pages[1]->IsCreated());
}

TEST_F(Sheet, APageThatRefusesKeepsItsTabAndTheSheetOpen) {
    sheet.show();
    pages[0]->stay = true;
    ClickTab(1);
    EXPECT_EQ(sheet.ActiveIndex(), 0);
    EXPECT_EQ(sheet.Tabs()->currentIndex(), 0);
    sheet.OkButton()->click();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(log, (Log{"One init", "One active", "One stay", "One stay"}));

    pages[0]->stay = false;
    log.clear();
    sheet.OkButton()->click();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    // Only created pages hear OK.
    EXPECT_EQ(log, (Log{"One leave", "One ok"}));
}

TEST_F(Sheet, ClosingRecordsTheActivePageAndCancelReachesCreatedPages) {
    EXPECT_EQ(sheet.LastActiveIndex(), -1);
    QTimer::singleShot(0, [this] {
        ClickTab(1);
        sheet.CancelButton()->click();
    });
    EXPECT_EQ(sheet.exec(), QDialog::Rejected);
    EXPECT_EQ(sheet.LastActiveIndex(), 1);
    EXPECT_EQ(log, (Log{"One init", "One active", "One leave", "Two init", "Two active",
                        "One cancel", "Two cancel"}));
}

TEST_F(Sheet, HelpShowsTheActivePagesHelpId) {
    RecordingHelp help;
    ScopedService<IHelp> guard(SetHelp, &help);
    sheet.show();
    EXPECT_FALSE(sheet.HelpButton()->isHidden());
    EXPECT_FALSE(sheet.HelpButton()->isEnabled()); // page One has none
    ClickTab(1);
    ASSERT_TRUE(sheet.HelpButton()->isEnabled());
    sheet.HelpButton()->click();
    EXPECT_EQ(help.shown, std::vector<unsigned>{42});
}

TEST(SheetWithoutHelp, HasNoHelpButton) {
    TestApp();
    Log log;
    PropertySheet sheet("Caption");
    sheet.AddPage(new Page("Only", log));
    sheet.SetStartPage(7); // out of range: the first page
    sheet.show();
    EXPECT_TRUE(sheet.HelpButton()->isHidden());
    EXPECT_EQ(sheet.ActiveIndex(), 0);
}

} // namespace
} // namespace tvane::test
