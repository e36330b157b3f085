#include <gtest/gtest.h>

#include "graphics/displays/indicator/BlockRow.h"
#include "graphics/displays/indicator/CIndicator.h"
#include "graphics/displays/indicator/IndicatorDraw.h"
#include "graphics/displays/indicator/RecordingDC.h"

namespace {

using Op = RecordingDC::Op;

TEST(IndicatorDraw, SquareBoxIsHalfTheCellsSquare) {
    struct Case {
        GRect cell, box;
        int quarter;
    };
    const Case cases[] = {
        {{0, 0, 100, 150}, {25, 50, 75, 100}, 25}, // tall: trimmed top and bottom
        {{0, 0, 150, 100}, {50, 25, 100, 75}, 25}, // wide: trimmed left and right
        {{10, 20, 41, 120}, {17, 61, 34, 79}, 7},  // odd difference, away from the origin
        {{0, 0, 3, 3}, {0, 0, 3, 3}, 0},
    };
    for (const Case& c : cases) {
        int q = -1;
        EXPECT_EQ(indicatordraw::SquareBox(c.cell, &q), c.box);
        EXPECT_EQ(q, c.quarter);
    }
}

TEST(IndicatorDraw, LampBevelGlintAndTwoEdges) {
    RecordingDC dc;
    indicatordraw::DrawLampBevel(dc, {10, 10, 30, 30});
    EXPECT_TRUE(dc.Balanced());
    std::vector<GPoint> glint;
    for (const auto& c : dc.Of(Op::Pixel)) {
        EXPECT_EQ(c.color, 0xFFFFFFu);
        glint.push_back(c.a);
    }
    EXPECT_EQ(glint, (std::vector<GPoint>{{15, 15}, {14, 15}, {15, 14}, {16, 15}, {15, 16}}));
    const auto arcs = dc.Of(Op::Arc);
    ASSERT_EQ(arcs.size(), 4u);
    // Lower right dark, upper left light; the inner edge one pixel in.
    const GRect out{10, 10, 30, 30}, in{11, 11, 29, 29};
    EXPECT_EQ(arcs[0].rect, out);
    EXPECT_EQ(arcs[0].a, (GPoint{10, 30}));
    EXPECT_EQ(arcs[0].b, (GPoint{30, 10}));
    EXPECT_EQ(arcs[0].color, 0x000000u);
    EXPECT_EQ(arcs[1].a, (GPoint{30, 10}));
    EXPECT_EQ(arcs[1].color, 0xFFFFFFu);
    EXPECT_EQ(arcs[2].rect, in);
    EXPECT_EQ(arcs[2].a, (GPoint{11, 29}));
    EXPECT_EQ(arcs[2].color, 0x808080u);
    EXPECT_EQ(arcs[3].rect, in);
    EXPECT_EQ(arcs[3].color, 0xC0C0C0u);
}

TEST(IndicatorDraw, CentredTextAndCaptionChoice) {
    RecordingDC dc(7, 13);
    indicatordraw::DrawCentredText(dc, {0, 0, 100, 20}, "abc", 0x123456);
    const auto text = dc.FindText("abc");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->a, (GPoint{40, 3}));
    EXPECT_EQ(text->clip, (GRect{0, 0, 100, 20}));
    EXPECT_EQ(text->color, 0x123456u);

    const std::string caption = "Oven door", shortCaption = "<301>";
    EXPECT_EQ(indicatordraw::ChooseCaption(dc, caption, shortCaption, 63), caption);
    EXPECT_EQ(indicatordraw::ChooseCaption(dc, caption, shortCaption, 62), shortCaption);
    EXPECT_EQ(indicatordraw::ChooseCaption(dc, caption, caption, 10), caption);
}

TEST(IndicatorDraw, ReadButtonUpAndDown) {
    for (int state : {0, 1}) {
        RecordingDC dc(7, 13);
        CPushButton button;
        button.SetState(state);
        const GRect r = indicatordraw::DrawReadButton(dc, {0, 0, 200, 60}, button);
        // "Read" is 28 by 13: 5 in, 42 wide, 9 above and below the middle.
        EXPECT_EQ(r, (GRect{5, 21, 47, 39}));
        EXPECT_EQ(button.GetRect(), r);
        const auto fills = dc.Of(Op::Fill);
        ASSERT_FALSE(fills.empty());
        EXPECT_EQ(fills[0].rect, r);
        EXPECT_EQ(fills[0].color, state ? 0x808080u : 0xC0C0C0u);
        // The border's outer top edge: white raised, black sunken.
        const auto lines = dc.Of(Op::Line);
        ASSERT_EQ(lines.size(), 8u);
        EXPECT_EQ(lines[0].a, (GPoint{5, 21}));
        EXPECT_EQ(lines[0].color, state ? 0x000000u : 0xFFFFFFu);
        EXPECT_EQ(lines[4].a, (GPoint{6, 22}));
        const auto label = dc.FindText("Read");
        ASSERT_TRUE(label);
        EXPECT_EQ(label->a, (GPoint{26 - 14, 23}));
        EXPECT_EQ(label->color, 0x000000u);
        EXPECT_EQ(label->clip, r);
    }
}

TEST(BlockRow, TwoSingleButtonsInAFixedWindow) {
    const BlockRowLayout layout =
        LayoutBlockRow({0, 0, 300, 200}, 13, {1, 1}, {.extraCells = 1, .leadHalfCells = 1});
    EXPECT_EQ(layout.cellWidth, 100);
    ASSERT_EQ(layout.blocks.size(), 2u);
    const GRect first = layout.blocks[0].elements[0].box;
    const GRect second = layout.blocks[1].elements[0].box;
    EXPECT_EQ(first, (GRect{75, 50, 125, 100}));
    EXPECT_EQ(second, (GRect{175, 50, 225, 100}));
    EXPECT_EQ(layout.blocks[0].elements[0].label, (GRect{50, 102, 150, 115}));
    EXPECT_EQ(layout.blocks[0].caption, (GRect{50, 117, 150, 158}));
    EXPECT_TRUE(layout.labelsShown);
}

TEST(BlockRow, ALampPerBitOfAPortAfterAnEmptyCell) {
    // One block of eight: W / (5 + 1) = 51; the cell 51 by 75 square at 51,
    // a quarter (12) off: lamps 27 wide touching, the first one cell in.
    const BlockRowLayout layout = LayoutBlockRow({0, 0, 310, 100}, 13, {8}, {.extraCells = 2});
    EXPECT_EQ(layout.cellWidth, 51);
    const auto& lamps = layout.blocks.at(0).elements;
    ASSERT_EQ(lamps.size(), 8u);
    for (std::size_t i = 0; i < lamps.size(); ++i)
        EXPECT_EQ(lamps[i].box,
                  (GRect{63 + 27 * static_cast<int>(i), 24, 90 + 27 * static_cast<int>(i), 51}))
            << i;
    EXPECT_EQ(layout.blocks[0].caption.left, 51);
    EXPECT_EQ(layout.blocks[0].caption.right, 291);
    // Two ports: W / (10 + 1), the second one cell after the first one's last lamp.
    const BlockRowLayout two = LayoutBlockRow({0, 0, 330, 100}, 13, {8, 8}, {.extraCells = 2});
    EXPECT_EQ(two.cellWidth, 30);
    EXPECT_EQ(two.blocks[1].elements[0].box.left,
              two.blocks[0].elements[7].box.left + two.cellWidth);
}

TEST(BlockRow, LabelsOnlyWhenTheyFitAboveTheCaptions) {
    EXPECT_FALSE(LayoutBlockRow({0, 0, 310, 30}, 13, {8}, {}).labelsShown);
    EXPECT_TRUE(LayoutBlockRow({0, 0, 310, 100}, 13, {8}, {}).labelsShown);
    EXPECT_TRUE(LayoutBlockRow({0, 0, 310, 100}, 13, {}, {}).blocks.empty());
}

} // namespace
