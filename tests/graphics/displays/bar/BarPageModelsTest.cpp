// The bar meter's pages without their windows.
#include <gtest/gtest.h>

#include "graphics/displays/bar/BarPageModels.h"
#include "tests/graphics/displays/bar/BarFixture.h"

namespace {

using namespace bartest;
class BarPagesTest : public BarFixture {};

TEST_F(BarPagesTest, TheChannelListActsAtOnce) {
    CBarFrame* frame = NewBar();
    BarChannelPageModel page(*frame);
    EXPECT_EQ(page.HelpId(), 11103);
    EXPECT_EQ(page.Entries(), (std::vector<std::string>{"<None>", "<101>Ch101", "<102>Ch102"}));
    EXPECT_EQ(page.Selected(), 1);
    EXPECT_TRUE(page.FieldsEnabled());
    const auto shown = page.Init();
    EXPECT_EQ(shown.maximum, 10.0);
    EXPECT_EQ(shown.precision, 2);

    const auto chosen = page.Choose(2);
    EXPECT_EQ(chosen.minimum, -5.0);
    EXPECT_EQ(chosen.maximum, 5.0);
    EXPECT_EQ(frame->GetChannelArray()->GetAt(0)->Number, 102);
    EXPECT_EQ(frame->GetPlot()->GetYMin(), -5.0);

    const auto none = page.Choose(0);
    EXPECT_EQ(none.minimum, 0.0);
    EXPECT_EQ(none.maximum, 1.0);
    EXPECT_FALSE(page.FieldsEnabled());
    EXPECT_EQ(frame->GetChannelArray()->GetAt(0), nullptr);
}

TEST_F(BarPagesTest, MinMaxAndPrecisionAreCheckedWhenThePageIsLeft) {
    CChannelInfo totalizer = ReadingsDocument::Channel(103, 0.0, 1000.0);
    totalizer.Kind = 2;
    doc.channels.push_back(totalizer);
    CBarFrame* frame = NewBar();
    BarChannelPageModel page(*frame);
    BarChannelPageModel::Field field;
    std::string message;
    struct Case {
        double minimum, maximum;
        int precision;
        BarChannelPageModel::Field field;
    } cases[] = {
        {0.0, 10.0, 7, BarChannelPageModel::kPrecisionField},
        {5.0, 5.0, 2, BarChannelPageModel::kMinField},
        {6.0, 5.0, 2, BarChannelPageModel::kMinField},
        {1e17, 1e17 + 16, 2, BarChannelPageModel::kMinField},
        {-1e38, 5.0, 2, BarChannelPageModel::kMinField},
        {0.0, 1e38, 2, BarChannelPageModel::kMaxField},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(page.Check({c.minimum, c.maximum, c.precision}, field, message))
            << c.minimum << " " << c.maximum;
        EXPECT_EQ(field, c.field) << c.minimum << " " << c.maximum;
        EXPECT_FALSE(message.empty());
    }
    EXPECT_TRUE(page.Check({-20.0, 20.0, 0}, field, message));
    // A totalizer's limits stay inside what it counts.
    page.Choose(3);
    EXPECT_FALSE(page.Check({-1.0, 20.0, 0}, field, message));
    EXPECT_EQ(message, "Please enter a number between 0 and 6.71089e+07.");

    page.Apply({2.0, 500.0, 3});
    EXPECT_EQ(frame->GetPlot()->GetYMax(), 500.0);
    EXPECT_EQ(frame->GetPlot()->GetAxisMax(), 500.0);
    EXPECT_EQ(frame->GetPlot()->GetPrecision(), 3);
}

TEST_F(BarPagesTest, GridAndOrientationActAtOnceTheUpdateRateWhenLeft) {
    CBarFrame* frame = NewBar();
    BarAdvancedPageModel page(*frame);
    EXPECT_EQ(page.HelpId(), 11303);
    const auto shown = page.Init();
    EXPECT_FALSE(shown.grid);
    EXPECT_EQ(shown.orientation, 1);
    EXPECT_EQ(shown.updateRate, 1);
    page.SetGrid(true);
    EXPECT_TRUE(frame->GetPlot()->GetGrid());
    EXPECT_FALSE(frame->GetPlot()->GetChart()->Layout().y.grid.empty());
    page.SetOrientation(0);
    EXPECT_EQ(frame->GetOrientation(), 0);
    std::string message;
    EXPECT_FALSE(page.Check(0, message));
    EXPECT_EQ(message, "Please enter an integer between 1 and 5000.");
    EXPECT_FALSE(page.Check(5001, message));
    EXPECT_TRUE(page.Check(5000, message));
    page.Apply(25);
    EXPECT_EQ(frame->GetUpdateRate(), 25);
}

} // namespace
