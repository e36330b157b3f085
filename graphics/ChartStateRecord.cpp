#include "graphics/ChartStateRecord.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "graphics/CXrtGraph.h"
#include "graphics/ChartFonts.h"
#include "platform/archive/CArchive.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartIds.h"
#include "shared/CMfxFont.h"

using tvane::CArchive;
using tvane::chart::Chart;
using tvane::chart::ChartStyle;
using tvane::chart::ChartValue;

namespace {

using Ids = std::vector<int>;
using Values = std::vector<std::pair<int, ChartValue>>;

// The record's layout: the properties of each field in file order. It is a
// stored format, so it lists the numbers themselves, named in the chart's ids
// or not; the engine keeps every one of them as set.

const Ids kGroup100 = {0x100, 0x101, 0x102, 0x103, 0x105, 0x106, 0x107,
                       0x108, 0x109, 0x10A, 0x10B, 0x10D, 0x10E, 0x110};
const Ids kGroupE00 = {0xE00, 0xE01, 0xE02, 0xE03, 0xE04, 0xE05, 0xE06, 0xE07, 0xE08,
                       0xE09, 0xE0A, 0xE0B, 0xE0D, 0xE0E, 0xE10, 0xE11, 0xE13, 0xE14,
                       0xE16, 0xE17, 0xE18, 0xE1A, 0xE1C, 0xE1D, 0xE1E, 0xE1F, 0xE20,
                       0xE21, 0xE23, 0xE24, 0xE25, 0xE26, 0xE27, 0xE28, 0xE2A, 0xE2B};
const Ids kGroupB00 = {0xB00, 0xB01, 0xB02, 0xB03, 0xB04, 0xB05, 0xB06, 0xB07};
const Ids kPrecisions = {0x900, 0x901};
const Ids kGroup609 = {0x609, 0x60A, 0x60B, 0x60C};
const Ids kGroup906 = {0x906, 0x907, 0x908, 0x909, 0x90A};
const Ids kShorts = {0x600, 0x601, 0x602, 0x603, 0x604, 0x605,
                     0x606, 0x607, 0xB08, 0xB09, 0xB0A, 0xB0B};
const Ids kColors = {0x200, 0x201, 0x202, 0x203, 0x204, 0x205, 0x206, 0x207, 0x208, 0x209, 0x20A};
const Ids kGroup4000 = {0x5100, 0x4000, 0x4001, 0x4200, 0x4100, 0x4501, 0x4502,
                        0x4503, 0x4504, 0x4300, 0x4301, 0x4400, 0x4401, 0x4A00,
                        0x4A01, 0x4B00, 0x4B01, 0x4F00, 0x4F01, 0x4F03, 0x4F04};
const Ids kTexts = {0xC00, 0xC01};
const Ids kFonts = {0x801, 0x802, 0x803, 0x800};
const Ids kStyles = {0x400, 0x401, 0x402, 0x403};
const Ids kDoubles = {0x700, 0x701, 0x703, 0x704, 0x706, 0x707, 0x709, 0x70A, 0x70C,
                      0x70D, 0x711, 0x712, 0x713, 0x714, 0x716, 0x717, 0x719, 0x71A};

void WriteDwords(CArchive& ar, const Chart& chart, const Ids& ids) {
    for (int id : ids)
        ar << static_cast<std::uint32_t>(chart.GetInt(id));
}

void ReadDwords(CArchive& ar, const Ids& ids, Values& values) {
    for (int id : ids) {
        std::uint32_t value = 0;
        ar >> value;
        values.emplace_back(id, static_cast<std::int32_t>(value));
    }
}

void WriteFont(CArchive& ar, const Chart& chart, int id) {
    CMfxFont font;
    font.SetLogFont(ToLogFont(chart.GetFont(id)));
    font.Serialize(ar);
}

tvane::chart::ChartFont ReadFont(CArchive& ar) {
    CMfxFont font;
    font.Serialize(ar);
    CheckStoredFont(font.GetLogFont());
    return ToChartFont(font.GetLogFont());
}

} // namespace

void WriteChartStateRecord(CArchive& ar, const Chart& chart) {
    WriteDwords(ar, chart, kGroup100);
    WriteDwords(ar, chart, kGroupE00);
    WriteDwords(ar, chart, kGroupB00);
    WriteDwords(ar, chart, kPrecisions);
    WriteDwords(ar, chart, kGroup609);
    WriteDwords(ar, chart, kGroup906);
    WriteDwords(ar, chart, {0x608});
    WriteDwords(ar, chart, {0x4600});
    for (int id : kShorts) // the chart keeps these as sign-extended 16-bit values
        ar << static_cast<std::uint32_t>(
            static_cast<std::int32_t>(static_cast<std::int16_t>(chart.GetInt(id) & 0xFFFF)));
    for (int id : kColors)
        ar << chart.GetInt(id);
    WriteDwords(ar, chart, kGroup4000);
    for (int id : kTexts)
        ar << chart.GetText(id);
    for (int id : kFonts)
        WriteFont(ar, chart, id);
    for (int id : kStyles) {
        ChartStyle style = chart.GetStyle(id);
        CXrtGraph::SerializeStyleRecord(ar, style);
    }
    std::vector<ChartStyle> styles = chart.GetStyles(tvane::chart::prop::kDataStyles);
    ar << static_cast<std::uint32_t>(styles.size());
    for (ChartStyle& style : styles)
        CXrtGraph::SerializeStyleRecord(ar, style);
    for (int id : kDoubles)
        ar << chart.GetDouble(id);
}

void ReadChartStateRecord(CArchive& ar, Chart& chart) {
    Values group100, groupE00, groupB00, precisions, group609, group906, single608, single4600,
        shorts, colors, group4000;
    ReadDwords(ar, kGroup100, group100);
    ReadDwords(ar, kGroupE00, groupE00);
    ReadDwords(ar, kGroupB00, groupB00);
    ReadDwords(ar, kPrecisions, precisions);
    ReadDwords(ar, kGroup609, group609);
    ReadDwords(ar, kGroup906, group906);
    ReadDwords(ar, {0x608}, single608);
    ReadDwords(ar, {0x4600}, single4600);
    ReadDwords(ar, kShorts, shorts);
    ReadDwords(ar, kColors, colors);
    ReadDwords(ar, kGroup4000, group4000);
    Values texts, fonts, styles, doubles;
    for (int id : kTexts) {
        std::string text;
        ar >> text;
        texts.emplace_back(id, std::move(text));
    }
    for (int id : kFonts)
        fonts.emplace_back(id, ReadFont(ar));
    for (int id : kStyles) {
        ChartStyle style;
        CXrtGraph::SerializeStyleRecord(ar, style);
        styles.emplace_back(id, style);
    }
    // The list grows record by record, so a count larger than the data fails
    // at the data's end rather than asking for the memory first.
    std::uint32_t count = 0;
    ar >> count;
    std::vector<ChartStyle> list;
    for (std::uint32_t i = 0; i < count; ++i) {
        ChartStyle style;
        CXrtGraph::SerializeStyleRecord(ar, style);
        list.push_back(style);
    }
    for (int id : kDoubles) {
        double value = 0.0;
        ar >> value;
        doubles.emplace_back(id, value);
    }

    auto join = [](Values& to, const Values& from) {
        to.insert(to.end(), from.begin(), from.end());
    };
    Values first{group4000.front()};
    for (const Values* part :
         {&group100, &groupB00, &precisions, &group609, &group906, &single608, &single4600})
        join(first, *part);
    chart.SetValues(first);
    chart.SetValues(Values(shorts.begin(), shorts.begin() + 8));
    chart.SetValues(Values(shorts.begin() + 8, shorts.end()));
    Values fourth = colors;
    fourth.insert(fourth.end(), group4000.begin() + 1, group4000.end());
    join(fourth, texts);
    chart.SetValues(fourth);
    Values fifth = fonts;
    join(fifth, styles);
    fifth.emplace_back(tvane::chart::prop::kDataStyles, std::move(list));
    join(fifth, doubles);
    chart.SetValues(fifth);
    chart.SetValues(groupE00);
}
