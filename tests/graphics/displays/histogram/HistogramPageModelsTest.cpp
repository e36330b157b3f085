// The histogram's pages without their windows.
#include <gtest/gtest.h>

#include "graphics/displays/histogram/HistogramPageModels.h"
#include "tests/graphics/displays/histogram/HistogramFixture.h"

namespace {

using namespace histogramtest;
class HistogramPagesTest : public HistogramFixture {};
using Model = HistogramChannelPageModel;

TEST_F(HistogramPagesTest, TheChannelListActsAtOnce) {
    CHistogramFrame* frame = NewHistogram();
    Model page(*frame);
    EXPECT_EQ(page.HelpId(), 11105);
    EXPECT_EQ(page.Entries(), (std::vector<std::string>{"<None>", "<101>Ch101", "<102>Ch102"}));
    EXPECT_EQ(page.Selected(), 1);
    const Model::Values shown = page.Init();
    EXPECT_EQ(shown.maximum, 100.0);
    EXPECT_EQ(shown.precision, 2);
    EXPECT_EQ(shown.bins, 10);
    EXPECT_EQ(shown.frequencyMax, 100.0);

    EXPECT_EQ(page.Choose(2).minimum, -10.0);
    EXPECT_EQ(frame->GetLowLimit(), -10.0);
    EXPECT_EQ(frame->GetPanel()->Text(CHistogramCtrlPanel::kChannel), "(102)");
    const Model::Values none = page.Choose(0);
    EXPECT_EQ(none.minimum, 0.0);
    EXPECT_EQ(none.maximum, 1.0);
    EXPECT_FALSE(page.FieldsEnabled());
    EXPECT_EQ(frame->GetPanel()->Text(CHistogramCtrlPanel::kChannel), "(Off)");
}

TEST_F(HistogramPagesTest, TheChecksOfThePageWhenItIsLeft) {
    CHistogramFrame* frame = NewHistogram();
    Model page(*frame);
    const Model::Values good = page.Init();
    Model::Field field;
    std::string message;
    EXPECT_TRUE(page.Check(good, field, message));

    Model::Values v = good;
    v.frequencyMin = v.frequencyMax = 10.0;
    EXPECT_FALSE(page.Check(v, field, message));
    EXPECT_EQ(message, "Y Axis Min value can not be greater than or equal to Y Axis Max value");
    EXPECT_EQ(field, Model::kFrequencyMinField);
    v.frequencyMax = 10.5; // passes the order, not the step of 1
    EXPECT_FALSE(page.Check(v, field, message));
    EXPECT_EQ(field, Model::kFrequencyMaxField);

    struct Case {
        int bins;
        int precision;
        double minimum, maximum;
        Model::Field field; // kNoField: accepted
    } cases[] = {
        {0, 2, 0.0, 100.0, Model::kBinsField},       {101, 2, 0.0, 100.0, Model::kBinsField},
        {1, 2, 0.0, 100.0, Model::kNoField},         {100, 2, 0.0, 100.0, Model::kNoField},
        {10, 7, 0.0, 100.0, Model::kPrecisionField}, {10, 2, -1.0, 100.0, Model::kMinField},
        {10, 2, 0.0, 100.5, Model::kMaxField},       {10, 2, 50.0, 50.0, Model::kMinField},
    };
    for (const Case& c : cases) {
        Model::Values values = good;
        values.bins = c.bins;
        values.precision = c.precision;
        values.minimum = c.minimum;
        values.maximum = c.maximum;
        EXPECT_EQ(page.Check(values, field, message), c.field == Model::kNoField)
            << c.bins << " " << c.precision << " " << c.minimum << " " << c.maximum;
        EXPECT_EQ(field, c.field);
    }
}

TEST_F(HistogramPagesTest, LeavingThePageRefreshesTheDisplayOnceWhenSomethingChanged) {
    CHistogramFrame* frame = NewHistogram();
    Model page(*frame);
    Model::Values v = page.Init();
    const int resends = doc.resends;
    page.Apply(v);
    EXPECT_EQ(doc.resends, resends);
    // Only the precision: the axis is labelled again, and the display refreshed.
    v.precision = 4;
    page.Apply(v);
    EXPECT_EQ(doc.resends, resends + 1);
    EXPECT_EQ(frame->GetPlot()
                  ->GetChart()
                  ->GetValueLabels(tvane::chart::prop::kXValueLabels)
                  .front()
                  .text,
              "5.0000");
    v.bins = 20;
    v.minimum = 10.0;
    v.frequencyMax = 50.0;
    page.Apply(v);
    EXPECT_EQ(doc.resends, resends + 2);
    EXPECT_EQ(frame->GetBinCount(), 20);
    EXPECT_EQ(frame->GetLowLimit(), 10.0);
    EXPECT_DOUBLE_EQ(frame->GetBins().m_binWidth, 4.5);
    EXPECT_EQ(frame->GetPlot()->GetChart()->GetDouble(tvane::chart::prop::kYAxisMax), 50.0);

    // Over counted readings only the axis changes: they are not counted twice.
    Poll({45.0, 55.0});
    v.precision = 3;
    v.frequencyMax = 60.0;
    page.Apply(v);
    EXPECT_EQ(frame->GetBins().m_total, 2);
    EXPECT_EQ(frame->GetStats()->GetCount(), 2);
}

TEST_F(HistogramPagesTest, HorizontalBarsSwapTheGroupCaptions) {
    CHistogramFrame* frame = NewHistogram();
    Model page(*frame);
    EXPECT_EQ(page.GroupCaptions(), (std::pair<std::string, std::string>{"X Axis", "Y Axis"}));
    HistogramAdvancedPageModel advanced(*frame);
    advanced.SetOrientation(0);
    EXPECT_EQ(page.GroupCaptions(), (std::pair<std::string, std::string>{"Y Axis", "X Axis"}));
}

TEST_F(HistogramPagesTest, GridOrientationAndFollowingActAtOnce) {
    CHistogramFrame* frame = NewHistogram();
    HistogramAdvancedPageModel page(*frame);
    EXPECT_EQ(page.HelpId(), 11305);
    const auto shown = page.Init();
    EXPECT_TRUE(shown.grid);
    EXPECT_FALSE(shown.follow);
    EXPECT_EQ(shown.orientation, 1);
    page.SetGrid(false);
    EXPECT_TRUE(frame->GetPlot()->GetChart()->Layout().y.grid.empty());
    Poll({5.0, 15.0, 17.0, 18.0});
    page.SetFollow(true);
    EXPECT_EQ(frame->GetPlot()->GetYMax(), 75.0);
    page.SetOrientation(0);
    EXPECT_EQ(frame->GetPlot()->GetChart()->GetInt(tvane::chart::prop::kInverted), 1);
    page.Apply(40);
    EXPECT_EQ(frame->GetUpdateRate(), 40);
}

} // namespace
