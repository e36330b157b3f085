#pragma once
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "graphics/IChartParent.h"
#include "shared/DiskSpace.h"
#include "tests/scan/ArchiveHelpers.h"

namespace graphicstest {

using scantest::Bytes;
using scantest::Load;
using scantest::Store;

// Little-endian bytes written by hand, to compare archives against.
struct ByteWriter {
    Bytes bytes;
    ByteWriter& U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    ByteWriter& F64(double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        for (int i = 0; i < 8; ++i)
            bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
        return *this;
    }
};

inline std::uint32_t U32At(const Bytes& bytes, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(bytes.at(offset + i)) << (8 * i);
    return v;
}

// A frame that makes chart windows (or refuses to) and says whether its
// document holds readings.
class FakeChartParent : public IChartParent {
public:
    struct Window : IChartWindow {};

    bool GetDocumentHasReadings() const override { return hasReadings; }
    std::unique_ptr<IChartWindow> CreateChartWindow(tvane::chart::Chart&,
                                                    const tvane::chart::ChartRect& r) override {
        rect = r;
        ++windows;
        return canCreate ? std::make_unique<Window>() : nullptr;
    }

    bool hasReadings = false;
    bool canCreate = true;
    int windows = 0;
    tvane::chart::ChartRect rect;
};

class FakeDiskCheck : public IDiskSpaceCheck {
public:
    bool HasFreeSpace(double bytes, const std::string&) override {
        asked = bytes;
        return enough;
    }
    bool enough = true;
    double asked = 0.0;
};

} // namespace graphicstest
