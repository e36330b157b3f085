#include <gtest/gtest.h>

#include <cmath>

#include "GraphFakes.h"
#include "graphics/CGraphFrame.h"
#include "graphics/GraphFactory.h"
#include "graphics/GraphPageRules.h"
#include "graphics/displays/text/CTextFrame.h"
#include "tests/graphics/displays/text/TextFakes.h"

namespace {

using namespace graphicstest;
using namespace graphpage;

TEST(GraphPageRulesTest, LimitsFollowTheChannelKind) {
    CChannelInfo channel;
    struct Case {
        std::int32_t kind;
        double min, max;
    } cases[] = {
        {2, 0.0, 67108863.0}, {0x400, 0.0, 255.0}, {0, -9.9e37, 9.9e37}, {0x800, -9.9e37, 9.9e37}};
    for (const Case& c : cases) {
        channel.Kind = c.kind;
        EXPECT_EQ(LimitsFor(channel).minimum, c.min) << c.kind;
        EXPECT_EQ(LimitsFor(channel).maximum, c.max) << c.kind;
    }
}

TEST(GraphPageRulesTest, MinMustLieBelowMaxAtAnyMagnitude) {
    struct Case {
        double min, max;
        bool accepted;
    } cases[] = {{0.0, 1.0, true},       {5.0, 5.0, false},     {6.0, 5.0, false},
                 {0.0, 2e-15, true},     {0.0, 5e-16, false},   {1e17, 1e17 + 16, false},
                 {1e17, 1.001e17, true}, {-1e20, -1e20, false}, {-9.9e37, 9.9e37, true}};
    for (const Case& c : cases)
        EXPECT_EQ(MinBelowMax(c.min, c.max), c.accepted) << c.min << " " << c.max;
    EXPECT_FALSE(MinBelowMax(0.0, std::nan("")));
}

// A display with per-channel colours and a caption.
class ColouredFrame : public CGraphFrame {
public:
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) override {
        if (item == 1 && (props.mask & ~3u) == 0) {
            props.itemName = "Channel " + std::to_string(props.channelIndex + 1);
            return true;
        }
        return CGraphFrame::GetAppearanceItem(item, props);
    }
};

TEST(GraphPageRulesTest, AppearanceListsPerDisplay) {
    FakeTextWindows textWindows;
    FakeViewWindow window;
    FakeGraphDocument doc;
    CGraphView view(&window, &doc);

    // No channels: no per-channel entry; the caption is the only label.
    ColouredFrame plain;
    plain.m_channelCapacity = 3;
    ASSERT_TRUE(plain.CreateFrame(&view));
    AppearanceLists lists = FillAppearanceLists(plain);
    EXPECT_TRUE(lists.colors.empty());
    EXPECT_TRUE(lists.fonts.empty());
    ASSERT_EQ(lists.labels.size(), 1u);
    EXPECT_EQ(lists.labels[0].text, "Caption");
    EXPECT_EQ(lists.labels[0].data, 7u);

    CChannelInfo channel;
    plain.SetChannelAt(2, &channel);
    lists = FillAppearanceLists(plain);
    ASSERT_EQ(lists.colors.size(), 1u);
    EXPECT_EQ(lists.colors[0].text, "Channel 3");
    EXPECT_EQ(ChannelOf(lists.colors[0].data), 2);
    EXPECT_EQ(ItemOf(lists.colors[0].data), 1);

    // The text display: background and text colours, the text's font, the caption.
    CTextFrame text;
    ASSERT_TRUE(text.CreateFrame(&view));
    lists = FillAppearanceLists(text);
    ASSERT_EQ(lists.colors.size(), 2u);
    EXPECT_EQ(lists.colors[0].text, "Background");
    EXPECT_EQ(lists.colors[1].text, "Text");
    ASSERT_EQ(lists.fonts.size(), 1u);
    EXPECT_EQ(lists.fonts[0].data, 3u);
    ASSERT_EQ(lists.labels.size(), 1u);
}

TEST(GraphPageRulesTest, ChannelTextsFiltersAndZoom) {
    CChannelInfo channel;
    channel.Label = "<101>";
    channel.Name = "Flow";
    EXPECT_EQ(SlotRowText(0, &channel), "1\t<101>Flow");
    EXPECT_EQ(SlotRowText(4, nullptr), "5\t<None>");
    EXPECT_EQ(AfterTab("3\t<None>"), "<None>");
    EXPECT_FALSE(HasTab("none"));
    EXPECT_EQ(SwitchFilter(true, true), 0x400u);
    EXPECT_EQ(SwitchFilter(true, false), 0x1D4u);
    EXPECT_EQ(SwitchFilter(false, true), 0x800u);
    EXPECT_EQ(SwitchFilter(false, false), 0x1D8u);
    EXPECT_EQ(ZoomIndex(100), 0);
    EXPECT_EQ(ZoomIndex(101), 1);
    EXPECT_EQ(ZoomIndex(125), 1);
    EXPECT_EQ(ZoomIndex(126), 2);
    EXPECT_EQ(ZoomPercent(-1), 100);
    EXPECT_EQ(ZoomPercent(1), 125);
    EXPECT_EQ(ZoomPercent(2), 150);
}

TEST(GraphPageRulesTest, SheetsAndPagesOfEveryDisplay) {
    const graphfactory::SheetInfo* readout = graphfactory::FindSheet(CGraphFrame::kReadout);
    ASSERT_NE(readout, nullptr);
    EXPECT_EQ(readout->pages, (std::vector<int>{201, 200, 156}));
    EXPECT_EQ(graphfactory::FindSheet(CGraphFrame::kDataLight)->pages,
              (std::vector<int>{305, 200, 142}));
    for (int type = 0; type <= 11; ++type) {
        const graphfactory::SheetInfo* sheet = graphfactory::FindSheet(type);
        ASSERT_NE(sheet, nullptr) << type;
        for (int page : sheet->pages)
            EXPECT_NE(graphfactory::FindPage(page), nullptr) << page;
    }
    EXPECT_EQ(graphfactory::FindPage(134)->dialogId, 177);
    EXPECT_EQ(graphfactory::FindPage(999), nullptr);
}

} // namespace
