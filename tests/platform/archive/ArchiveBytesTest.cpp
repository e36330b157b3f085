#include "ArchiveTestSupport.h"
#include "platform/archive/ArchiveCollections.h"

#include <gtest/gtest.h>

#include <string>

namespace tvane::test {
namespace {

TEST(ArchiveBytes, ScalarsAreLittleEndianAtTheirOwnWidth) {
    const Bytes bytes = Store([](CArchive& ar) {
        ar << std::uint8_t{0xAB} << std::int8_t{-2} << 'Z' << std::uint16_t{0x1234}
           << std::int16_t{-2} << std::uint32_t{0x12345678} << std::int32_t{-1} << 1.0f << 1.0
           << CTime(0x12345678);
    });
    const Bytes expected{0xAB, 0xFE, 'Z',  0x34, 0x12, 0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12,
                         0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x3F, 0,    0,    0,
                         0,    0,    0,    0xF0, 0x3F, 0x78, 0x56, 0x34, 0x12};
    EXPECT_EQ(bytes, expected);

    Load(bytes, [](CArchive& ar) {
        std::uint8_t u8;
        std::int8_t i8;
        char c;
        std::uint16_t u16;
        std::int16_t i16;
        std::uint32_t u32;
        std::int32_t i32;
        float f;
        double d;
        CTime t;
        ar >> u8 >> i8 >> c >> u16 >> i16 >> u32 >> i32 >> f >> d >> t;
        EXPECT_EQ(u8, 0xAB);
        EXPECT_EQ(i8, -2);
        EXPECT_EQ(c, 'Z');
        EXPECT_EQ(u16, 0x1234);
        EXPECT_EQ(i16, -2);
        EXPECT_EQ(u32, 0x12345678u);
        EXPECT_EQ(i32, -1);
        EXPECT_EQ(f, 1.0f);
        EXPECT_EQ(d, 1.0);
        EXPECT_EQ(t.GetTime(), 0x12345678);
    });
}

TEST(ArchiveBytes, TimeIsThirtyTwoUnsignedBits) {
    // Past 2038 the time still reads back as itself, not as a date before 1970.
    const CTime late(0xF0000000LL);
    Load(Store([&](CArchive& ar) { ar << late; }), [&](CArchive& ar) {
        CTime t;
        ar >> t;
        EXPECT_EQ(t, late);
    });
    for (std::int64_t seconds : {-1LL, 0x100000000LL}) {
        EXPECT_THROW(Store([&](CArchive& ar) { ar << CTime(seconds); }), CArchiveException)
            << seconds;
    }
}

TEST(ArchiveBytes, TimeFromLocalFieldsReadsBackTheFields) {
    const CTime t(2026, 12, 10, 13, 45, 30);
    const LocalTime local = t.GetLocalTm();
    EXPECT_EQ(local.year, 2026);
    EXPECT_EQ(local.month, 12);
    EXPECT_EQ(local.day, 10);
    EXPECT_EQ(local.hour, 13);
    EXPECT_EQ(local.minute, 45);
    EXPECT_EQ(local.second, 30);
    EXPECT_EQ((t + 30) - t, 30);
}

TEST(ArchiveBytes, StringLengthPrefixForms) {
    struct Case {
        std::size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        std::string text(c.length, 'x');
        if (!text.empty()) {
            text.back() = 'y';
        }
        const Bytes bytes = Store([&](CArchive& ar) { ar << text << std::uint8_t{0x5A}; });
        EXPECT_EQ(bytes, Concat({c.prefix, Text(text), {0x5A}})) << c.length;
        if (c.length == 0) {
            const char* none = nullptr;
            EXPECT_EQ(Store([&](CArchive& ar) { ar << none << std::uint8_t{0x5A}; }), bytes);
        }
        Load(bytes, [&](CArchive& ar) {
            std::string back;
            std::uint8_t after = 0;
            ar >> back >> after;
            EXPECT_EQ(back, text) << c.length;
            EXPECT_EQ(after, 0x5A) << c.length;
        });
    }
}

TEST(ArchiveBytes, CountForms) {
    struct Case {
        std::uint32_t count;
        Bytes bytes;
    };
    const Case cases[] = {
        {0, {0x00, 0x00}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {0x12345678, {0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12}},
    };
    for (const Case& c : cases) {
        const Bytes bytes = Store([&](CArchive& ar) { ar.WriteCount(c.count); });
        EXPECT_EQ(bytes, c.bytes) << c.count;
        Load(bytes, [&](CArchive& ar) { EXPECT_EQ(ar.ReadCount(), c.count); });
    }
}

TEST(ArchiveBytes, ArraysOfStringsAndWords) {
    std::vector<std::string> names{"a", "", "bc"};
    std::vector<std::uint32_t> words{1, 0xFFFFFFFF};
    const Bytes bytes = Store([&](CArchive& ar) {
        SerializeArray(ar, names);
        SerializeArray(ar, words);
    });
    EXPECT_EQ(bytes,
              (Bytes{3, 0, 1, 'a', 0, 2, 'b', 'c', 2, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    std::vector<std::string> namesBack{"old"};
    std::vector<std::uint32_t> wordsBack;
    Load(bytes, [&](CArchive& ar) {
        SerializeArray(ar, namesBack);
        SerializeArray(ar, wordsBack);
    });
    EXPECT_EQ(namesBack, names);
    EXPECT_EQ(wordsBack, words);
}

TEST(ArchiveBytes, RawBytesReadShortOnlyAtTheEnd) {
    MemoryStream stream(Bytes{1, 2, 3});
    CArchive ar(stream, CArchive::load);
    std::uint8_t buffer[8] = {};
    EXPECT_EQ(ar.Read(buffer, 2), 2u);
    EXPECT_EQ(ar.Read(buffer, 8), 1u);
    EXPECT_EQ(buffer[0], 3);
    EXPECT_EQ(ar.Read(buffer, 8), 0u);
}

} // namespace
} // namespace tvane::test
