#include <filesystem>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "graphics/DisplayFamily.h"
#include "graphics/displays/strip/COverAdvancedPage.h"
#include "graphics/displays/strip/CXrtOverlayFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/CSpinEdit.h"
#include "tests/graphics/GraphFakes.h"
#include "tests/support/QtTestSupport.h"
#include "ui_COverAdvancedPage.h"

namespace {

using namespace graphicstest;

// Child windows of a strip chart that exist only as rectangles.
struct Child : IStripChildWindow, IChartWindow {
    void MoveWindow(const GRect& r, bool) override { rect = r; }
    void Redraw() override {}
    GRect GetRectInFrame() const override { return rect; }
    GRect rect;
};

class RectWindows : public IStripChartWindows {
public:
    std::unique_ptr<IChartWindow> CreatePlotWindow(IGraphFrameWindow&, CXrtOverlayPlot&,
                                                   tvane::chart::Chart&, const GRect&) override {
        return std::make_unique<Child>();
    }
    std::unique_ptr<IStripChildWindow> CreatePanelWindow(IGraphFrameWindow&, COverlayCtrlPanel&,
                                                         const GRect&) override {
        return std::make_unique<Child>();
    }
    std::unique_ptr<IStripChildWindow> CreateLegendWindow(IGraphFrameWindow&, CLegendGrid&,
                                                          const GRect&) override {
        return std::make_unique<Child>();
    }
    std::unique_ptr<IStripChildWindow> CreateTextWindow(IGraphFrameWindow&, CTextDisplay&,
                                                        const GRect&) override {
        return std::make_unique<Child>();
    }
    bool DrawChildren(IGraphDC&, CXrtOverlayFrame&) override { return false; }
};

class OverAdvancedPageTest : public ::testing::Test {
protected:
    OverAdvancedPageTest() {
        tvane::test::TestApp();
        CChannelInfo a;
        a.Number = 101;
        a.Label = "<101>";
        doc.channels = {a};
        view.CreateDisplay(700);
        frame = dynamic_cast<CXrtOverlayFrame*>(view.GetSelected());
    }
    ~OverAdvancedPageTest() override { view.DeleteAllFrames(); }

    RectWindows windows;
    displays::Windows<IStripChartWindows>::Scoped install{&windows};
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    FakeViewWindow window;
    FakeGraphDocument doc;
    CGraphView view{&window, &doc};
    CXrtOverlayFrame* frame = nullptr;
};

TEST_F(OverAdvancedPageTest, ANewStripChartsAdvancedPage) {
    ASSERT_NE(frame, nullptr);
    CGraphSheet sheet({201, 200, 141}, *frame, 2, 204);
    sheet.show();
    auto* page = qobject_cast<COverAdvancedPage*>(sheet.Page(2));
    ASSERT_NE(page, nullptr);
    Ui::COverAdvancedPage& ui = page->Form();
    EXPECT_EQ(sheet.windowTitle(), "Strip Chart Properties");
    EXPECT_EQ(ui.maxScans->text(), "1000");
    EXPECT_EQ(ui.relativeReset->text(), "1");
    EXPECT_TRUE(ui.line->isChecked());
    EXPECT_TRUE(ui.grid->isChecked());
    EXPECT_EQ(page->RateEdit()->GetValue(), 1);
    EXPECT_EQ(ui.items->currentText(), "Data");
    EXPECT_EQ(ui.symbols->currentText(), "Circle");
    EXPECT_EQ(ui.sizes->currentText(), "4");
    EXPECT_EQ(ui.sizes->count(), 8);
    QCoreApplication::processEvents();
    sheet.adjustSize();
    EXPECT_TRUE(tvane::test::SaveArtifact(sheet, "strip_chart_advanced.png"));

    // A symbol changed for "Event" stays though the sheet is cancelled.
    ui.items->setCurrentIndex(1);
    EXPECT_EQ(ui.symbols->currentText(), "Triangle");
    ui.symbols->setCurrentIndex(3);
    emit ui.symbols->activated(3);
    ui.grid->setChecked(false);
    ui.both->click();
    sheet.reject();
    EXPECT_EQ(frame->GetPlot()->GetPointStyleName(CXrtOverlayPlot::kEvent), "Square");
    EXPECT_FALSE(frame->GetPlot()->GetGrid());
    EXPECT_EQ(frame->GetPlotStyle(), 2);
    EXPECT_EQ(frame->GetMaxScansDisplayed(), 1000);
}

TEST_F(OverAdvancedPageTest, OutOfRangeNumbersRefuseTheOkAndGoodOnesApply) {
    CGraphSheet sheet({141}, *frame, 0, 204);
    sheet.show();
    auto* page = qobject_cast<COverAdvancedPage*>(sheet.Page(0));
    ASSERT_NE(page, nullptr);
    Ui::COverAdvancedPage& ui = page->Form();
    for (const auto& [scans, reset] : {std::pair{"99", "1"}, std::pair{"5001", "1"},
                                       std::pair{"1000", "0"}, std::pair{"1000", "101"}}) {
        ui.maxScans->setText(scans);
        ui.relativeReset->setText(reset);
        sheet.accept();
        EXPECT_TRUE(sheet.isVisible()) << scans << " " << reset;
    }
    EXPECT_EQ(prompter.asked.size(), 4u);
    EXPECT_EQ(frame->GetMaxScansDisplayed(), 1000);
    ui.maxScans->setText("400");
    ui.relativeReset->setText("30");
    page->RateEdit()->setText("5");
    sheet.accept();
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(frame->GetMaxScansDisplayed(), 400);
    EXPECT_EQ(frame->GetRelativeReset(), 30);
    EXPECT_EQ(frame->GetUpdateRate(), 5);
}

} // namespace
