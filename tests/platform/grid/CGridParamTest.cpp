#include <gtest/gtest.h>

#include <vector>

#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "platform/grid/CGridParam.h"

namespace tvane {
namespace {

TEST(CGridParamTest, TheLayoutIsStoredInTheDocumentedOrder) {
    CGridParam param;
    param.zoom = 150;
    param.frozenCols = 2;
    param.colWidths = {{0, 40}, {16, 120}};
    param.hiddenCols = {6};
    param.hiddenRows = {3, 4};
    MemoryStream stream;
    {
        CArchive ar(stream, CArchive::store);
        param.Serialize(ar);
    }
    const std::vector<std::uint8_t> expected = {
        150, 0, 0, 0, 2, 0, 0,  0,                                  // zoom, frozen columns
        2,   0, 0, 0, 0, 0, 40, 0, 0, 0, 16, 0, 0, 0, 120, 0, 0, 0, // widths
        1,   0, 6, 0, 0, 0,                                         // hidden columns
        2,   0, 3, 0, 0, 0, 4,  0, 0, 0,                            // hidden rows
    };
    EXPECT_EQ(stream.Bytes(), expected);

    stream.Seek(0);
    CGridParam loaded;
    CArchive in(stream, CArchive::load);
    loaded.Serialize(in);
    EXPECT_EQ(loaded, param);

    // As an object with its class tag, the way an owner keeps it.
    MemoryStream objects;
    {
        CArchive ar(objects, CArchive::store);
        ar << &param;
    }
    objects.Seek(0);
    CArchive back(objects, CArchive::load);
    std::unique_ptr<CGridParam> read = back.ReadOwnedObject<CGridParam>();
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, param);
}

TEST(CGridParamTest, BadDataIsRefusedAndLeavesTheObjectAsItWas) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"truncated", {100, 0, 0, 0, 2, 0}},
        {"negative width", {100, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"negative frozen count", {100, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}},
        {"a count past the data", {100, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 1, 0}},
    };
    for (const auto& c : cases) {
        CGridParam param;
        param.frozenCols = 3;
        MemoryStream stream(c.bytes);
        CArchive ar(stream, CArchive::load);
        EXPECT_THROW(param.Serialize(ar), CArchiveException) << c.name;
        EXPECT_EQ(param.frozenCols, 3) << c.name;
    }
    // A zoom out of bounds loads within them.
    MemoryStream stream(std::vector<std::uint8_t>{0xE8, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    CArchive ar(stream, CArchive::load);
    CGridParam param;
    param.Serialize(ar);
    EXPECT_EQ(param.zoom, CGridParam::kMaxZoom);
}

} // namespace
} // namespace tvane
