#include "ArchiveHelpers.h"
#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "scan/CChannelArray.h"
#include "scan/CDisplayRecord.h"
#include "scan/CReadingInfo.h"
#include "scan/CReadingQuery.h"
#include "scan/CRunRecord.h"

#include <gtest/gtest.h>

using scantest::Bytes;

namespace {

TEST(Records, Defaults) {
    CReadingInfo info;
    EXPECT_EQ(info.m_channel, 0);
    EXPECT_EQ(info.m_value, 0.0);
    EXPECT_EQ(info.m_status, 1);
    EXPECT_EQ(info.m_request, CReadingInfo::kRequestNone);
    info.m_channel = 301;
    info.m_value = 2.5;
    info.m_request = CReadingInfo::kRequestWrite;
    CReadingInfo copy(info);
    EXPECT_EQ(copy.m_channel, 301);
    EXPECT_EQ(copy.m_value, 2.5);
    EXPECT_EQ(copy.m_request, 2);

    tvane::FakeClock clock(1234567);
    tvane::ScopedService<tvane::IClock> guard(tvane::SetClock, &clock);
    CRunRecord run;
    EXPECT_EQ(run.m_kind, CRunRecord::kStart);
    EXPECT_EQ(run.m_startTime.GetTime(), 1234567);

    CDisplayRecord display;
    EXPECT_EQ(display.m_first + display.m_second + display.m_third, 0);

    CReadingQuery query;
    EXPECT_EQ(query.m_startTime, -1.0);
    EXPECT_EQ(query.m_eventEndTime, -1.0);
    EXPECT_EQ(query.m_separator, ',');
    EXPECT_EQ(query.m_layout, CReadingQuery::kColumns);
    EXPECT_EQ(query.m_timeStamp + query.m_seconds + query.m_units, 3);
}

TEST(CChannelInfo, ArchiveFormAndArrayRoundTrip) {
    CChannelInfo info;
    Bytes bytes = scantest::Store([&](tvane::CArchive& ar) { info.Serialize(ar); });
    // 2000, "<None>", "", scanned 1 (16 bits), mask 1, four doubles, "", 0, 0, 0.
    ASSERT_EQ(bytes.size(), 4u + 7u + 1u + 2u + 4u + 32u + 1u + 12u);
    EXPECT_EQ(bytes[0], 0xD0);
    EXPECT_EQ(bytes[1], 0x07);
    EXPECT_EQ(bytes[4], 6);
    EXPECT_EQ(bytes[12], 1);
    EXPECT_EQ(bytes[13], 0);

    CChannelArray channels;
    auto* a = new CChannelInfo;
    a->Number = 101;
    a->Kind = 4;
    a->Name = "Bit 0";
    a->Scanned = 0;
    a->RangeMin = -10;
    a->DisplayOption = 3;
    channels.Add(a);
    channels.Add(nullptr);
    channels.Add(new CChannelInfo(*a));
    Bytes stored = scantest::Store([&](tvane::CArchive& ar) { channels.Serialize(ar); });

    CChannelArray loaded;
    scantest::Load(stored, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    ASSERT_EQ(loaded.GetSize(), 3u);
    EXPECT_EQ(*loaded.GetAt(0), *a);
    EXPECT_EQ(loaded.GetAt(1), nullptr);
    EXPECT_EQ(*loaded.GetAt(2), *a);
    EXPECT_NE(loaded.GetAt(0), loaded.GetAt(2));
    a->Units = "V";
    EXPECT_NE(*loaded.GetAt(0), *a);
    loaded.DeleteAll();
    channels.DeleteAll();

    std::uint32_t mask = 32;
    EXPECT_EQ(CChannelInfo::NextBitMask(mask), 64u);
    EXPECT_EQ(CChannelInfo::NextBitMask(mask), 128u);
    EXPECT_EQ(CChannelInfo::NextBitMask(mask), 128u);
}

} // namespace
