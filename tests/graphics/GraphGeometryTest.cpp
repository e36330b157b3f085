#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"
#include "graphics/CRangeInfo.h"
#include "graphics/CRegion.h"
#include "graphics/GraphGeometry.h"
#include "scan/CChannelArray.h"

namespace {

using namespace graphicstest;

TEST(RegionTest, FractionsOfTheDataAreaRoundHalfUpByTruncation) {
    // The whole area: a 200 x 100 data area at (10, 26).
    EXPECT_EQ(CRegion().ToRect({10, 26, 210, 126}), (GRect{10, 26, 210, 126}));
    // 0.5 of 101 pixels is 50.5: + 0.5 truncated gives 51.
    CRegion half(nullptr, 0.0, 0.5, 1.0, 1.0);
    EXPECT_EQ(half.ToRect({0, 0, 101, 10}).left, 51);
    // A reversed data rectangle is normalised first; fractions past 1 reach outside.
    CRegion outside(nullptr, -0.25, 0.0, 1.25, 1.0);
    // -25 + 0.5 truncates toward zero.
    EXPECT_EQ(outside.ToRect({0, 100, 40, 0}), (GRect{0, -24, 40, 125}));
}

TEST(RegionTest, StoresItsFractionsButNotItsWindow) {
    struct Window : IRegionWindow {
        void MoveWindow(const GRect&, bool) override {}
    } window;
    CRegion region(&window, 0.1, 0.2, 0.3, 0.4);
    const Bytes bytes = Store([&](tvane::CArchive& ar) { region.Serialize(ar); });
    EXPECT_EQ(bytes, ByteWriter().F64(0.1).F64(0.2).F64(0.3).F64(0.4).bytes);
    CRegion loaded;
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded.m_right, 0.4);
    EXPECT_EQ(loaded.GetWnd(), nullptr);
}

TEST(DpiRuleTest, LargeFontsScaleOnceAndReloadingDoesNotGrowAgain) {
    GRect rect{10, 10, 190, 66};
    std::int32_t minW = 50, minH = 20;
    graphgeo::ApplyDpiOnCreate(96, rect, minW, minH);
    EXPECT_EQ(rect, (GRect{10, 10, 190, 66}));
    graphgeo::ApplyDpiOnCreate(120, rect, minW, minH);
    // 190 x 1.31 = 248.9 -> 249; 66 x 1.31 = 86.46 -> 86; 50 -> 66 (65.5 + .5); 20 -> 26.
    EXPECT_EQ(rect, (GRect{10, 10, 249, 86}));
    EXPECT_EQ(minW, 66);
    EXPECT_EQ(minH, 26);

    // The stored layout is loaded again: the default is the constructor's size,
    // so the loaded size (already larger) stays.
    const GRect def{10, 10, 190, 66};
    GRect loaded = rect;
    std::int32_t lw = minW, lh = minH;
    graphgeo::ApplyDpiOnRecreate(120, def, 50, 20, loaded, lw, lh);
    EXPECT_EQ(loaded, rect);
    EXPECT_EQ(lw, 66);
    // A small loaded frame grows to 1.31 times the default's size.
    GRect small{0, 0, 100, 30};
    graphgeo::ApplyDpiOnRecreate(144, def, 50, 20, small, lw, lh);
    EXPECT_EQ(small, (GRect{0, 0, 236, 73})); // 180 x 1.31 = 235.8, 56 x 1.31 = 73.36
}

TEST(PlacementTest, CascadeInTenPixelStepsThenTheRoundRobinCounter) {
    graphgeo::FramePlacer placer;
    const GRect client{0, 0, 400, 300}; // limit: min(200, 150) = 150
    std::vector<GPoint> corners;
    const GRect size{0, 0, 180, 56};
    GRect r = placer.Place(size, client, corners);
    EXPECT_EQ(r, (GRect{10, 10, 190, 66}));
    corners.push_back({r.left, r.top});
    r = placer.Place(size, client, corners);
    EXPECT_EQ(r.left, 20);
    corners.push_back({r.left, r.top});
    for (int d = 30; d <= 150; d += 10)
        corners.push_back({d, d});
    // Every cascade point is taken: 10, 20, ... 150, then back to 10.
    std::vector<int> got;
    for (int i = 0; i < 17; ++i)
        got.push_back(placer.Place(size, client, corners).left);
    std::vector<int> want;
    for (int d = 10; d <= 150; d += 10)
        want.push_back(d);
    want.push_back(10);
    want.push_back(20);
    EXPECT_EQ(got, want);
    // A corner only blocks the points within 10 pixels down and right of it.
    EXPECT_EQ(placer.Place(size, client, {{5, 5}}).left, 20);
    EXPECT_EQ(placer.Place(size, client, {{1, 1}}).left, 20);
    EXPECT_EQ(placer.Place(size, client, {{11, 11}}).left, 10);
    EXPECT_EQ(placer.Counter(), 0);
}

TEST(TitleBandTest, ButtonTextAndMinimumSize) {
    const GRect band = graphgeo::TitleBand({0, 0, 180, 52}, 16);
    EXPECT_EQ(band, (GRect{0, 0, 180, 16}));
    EXPECT_EQ(graphgeo::TitleButtonPos(band, 16, 1), (GPoint{164, 2}));
    EXPECT_EQ(graphgeo::TitleTextPos(band, 1, 13), (GPoint{2, 2})); // (0 + 2 + 16 - 13) / 2
    EXPECT_EQ(graphgeo::MinTrackSize(0, 0, 0, 16), (GPoint{0, 32}));
    EXPECT_EQ(graphgeo::MinTrackSize(0, 0, 42, 16), (GPoint{42, 32}));
    EXPECT_EQ(graphgeo::MinTrackSize(60, 0, 42, 16), (GPoint{60, 0}));
    EXPECT_EQ(graphgeo::DataRect({0, 0, 100, 80}, 2, 16), (GRect{2, 18, 98, 78}));
}

TEST(NumberRoutinesTest, NearestIntegerRoundsHalvesAwayFromZero) {
    struct Case {
        double value;
        int want;
    } cases[] = {{0.4, 0},   {0.5, 1},   {2.5, 3},   {-0.4, 0},          {-0.5, -1},
                 {-1.5, -2}, {-2.6, -3}, {-2.4, -2}, {1e12, 2147483647}, {-1e12, -2147483647 - 1}};
    for (const Case& c : cases)
        EXPECT_EQ(NearestInt(c.value), c.want) << c.value;
    EXPECT_EQ(IntPower(2.0, 10), 1024.0);
    EXPECT_EQ(IntPower(2.0, -2), 0.25);
    EXPECT_EQ(IntPower(5.0, 0), 1.0);
    double v = 0;
    EXPECT_TRUE(ParseStrictDouble(" \t1.5 ", v));
    EXPECT_EQ(v, 1.5);
    EXPECT_TRUE(ParseStrictDouble("0", v));
    EXPECT_EQ(v, 0.0);
    EXPECT_FALSE(ParseStrictDouble("abc", v));
    EXPECT_FALSE(ParseStrictDouble("1.5x", v));
    EXPECT_FALSE(ParseStrictDouble("", v));
}

TEST(PrintMappingTest, SelectionScalesTheViewportAndTheFooterSitsAtTheBottomCentre) {
    const GPoint page{4800, 6400};
    EXPECT_EQ(graphgeo::PrintViewportExtent(page, {400, 300}, nullptr), page);
    const GPoint sel{200, 100};
    EXPECT_EQ(graphgeo::PrintViewportExtent(page, {400, 300}, &sel), (GPoint{9600, 19200}));
    EXPECT_EQ(graphgeo::FooterPos({0, 0, 401, 600}, 20), (GPoint{200, 580}));
    EXPECT_EQ(graphgeo::FooterPos({-3, 0, 0, 600}, 20).x, -1); // toward zero
}

TEST(ScrollTest, EachRequestGivesItsPositionWithinTheRange) {
    using graphgeo::ScrollCode;
    struct Case {
        int pos;
        ScrollCode code;
        int track;
        int expected;
    } cases[] = {
        {50, ScrollCode::LineUp, 0, 49},      {50, ScrollCode::LineDown, 0, 51},
        {50, ScrollCode::PageUp, 0, 30},      {50, ScrollCode::PageDown, 0, 70},
        {50, ScrollCode::ThumbTrack, 77, 77}, {50, ScrollCode::ThumbPosition, 77, 50},
        {50, ScrollCode::Top, 0, 0},          {50, ScrollCode::Bottom, 0, 200},
        {0, ScrollCode::LineUp, 0, 0},        {10, ScrollCode::PageUp, 0, 0},
        {195, ScrollCode::PageDown, 0, 200},  {50, ScrollCode::ThumbTrack, 900, 200},
    };
    for (const Case& c : cases)
        EXPECT_EQ(graphgeo::NextScrollPosition(c.pos, c.code, 20, 200, c.track), c.expected)
            << c.pos << " " << int(c.code);
}

TEST(ChannelRecordTest, TheDefaultRecordsExactBytes) {
    CChannelInfo info;
    EXPECT_EQ(info.Label, "<None>");
    const Bytes bytes = Store([&](tvane::CArchive& ar) { info.Serialize(ar); });
    ByteWriter want;
    want.U32(2000);
    want.bytes.push_back(6);
    for (char c : std::string("<None>"))
        want.bytes.push_back(static_cast<std::uint8_t>(c));
    want.bytes.push_back(0); // name
    want.bytes.push_back(1); // scanned, 16 bits
    want.bytes.push_back(0);
    want.U32(1).F64(0.0).F64(0.0).F64(-1.0).F64(1.0);
    want.bytes.push_back(0); // units
    want.U32(0).U32(0).U32(0);
    EXPECT_EQ(bytes, want.bytes);
}

TEST(RangeRecordTest, PresetsEqualityArchiveAndDeletion) {
    CRangeInfo a;
    CRangeInfo b;
    EXPECT_EQ(a, b);
    b.m_channel.Units = "V";
    EXPECT_NE(a, b);
    b = a;
    b.SetPresetB();
    EXPECT_EQ(b.m_scale, 120.0);
    EXPECT_EQ(b.m_divisions, 10);
    const Bytes bytes = Store([&](tvane::CArchive& ar) { b.Serialize(ar); });
    CRangeInfo loaded;
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded, b);

    CRangeArray ranges;
    ranges.Add(new CRangeInfo);
    ranges.Add(nullptr);
    ranges.Add(new CRangeInfo);
    const Bytes arrayBytes = Store([&](tvane::CArchive& ar) { ranges.Serialize(ar); });
    CRangeArray loadedRanges;
    Load(arrayBytes, [&](tvane::CArchive& ar) { loadedRanges.Serialize(ar); });
    ASSERT_EQ(loadedRanges.GetSize(), 3u);
    EXPECT_EQ(loadedRanges.GetAt(1), nullptr);
    loadedRanges.DeleteAll();
    ranges.DeleteAt(-1);
    EXPECT_EQ(ranges.GetSize(), 3u);
    EXPECT_EQ(ranges.GetAt(0), nullptr);
    EXPECT_EQ(ranges.GetAt(2), nullptr);
}

} // namespace
