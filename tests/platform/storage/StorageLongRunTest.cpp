// A week-long run appends readings to one stream for days: the file's memory
// must not grow with the stream.
#include <malloc.h>

#include <cstdint>
#include <vector>

#include "tests/platform/storage/StorageTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

using StorageLongRun = TempHomeTest;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizedHeap = true;
#else
constexpr bool kSanitizedHeap = false;
#endif

std::size_t HeapInUse() {
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Appends bytes in the dataset's reading blocks, committing every megabyte as
// the run's autosave does.
void Append(Stream& readings, std::size_t bytes) {
    static const std::vector<std::uint8_t> block = Pattern(16380, 9);
    std::size_t sinceCommit = 0;
    for (std::size_t done = 0; done < bytes; done += block.size()) {
        readings.Write(block.data(), block.size());
        sinceCommit += block.size();
        if (sinceCommit >= (1u << 20)) {
            readings.Commit();
            sinceCommit = 0;
        }
    }
    readings.Commit();
}

TEST_F(StorageLongRun, AppendingToAStreamKeepsTheFilesMemoryFlat) {
    if (kSanitizedHeap)
        GTEST_SKIP() << "the sanitizer's allocator keeps its own books";
    Storage root = StgCreateDocfile(home.Path() / "run.stg", kRw);
    Storage dataset = root.CreateStorage("Z6140700.063", kRw);
    dataset.CreateStream("Header", kRw).Write("header", 6);
    Stream readings = dataset.CreateStream("Readings", kRw);

    Append(readings, 16u << 20);
    const std::size_t before = HeapInUse();
    // 64 MB more: about two and a half million readings of 26 bytes.
    constexpr std::size_t kMore = 64u << 20;
    Append(readings, kMore);
    const std::size_t after = HeapInUse();
    const double perMillionReadings =
        (static_cast<double>(after) - static_cast<double>(before)) / (kMore / 26.0) * 1e6;
    RecordProperty("HeapBytesPerMillionReadings", static_cast<int>(perMillionReadings));
    EXPECT_LT(after, before + (64u << 10)) << perMillionReadings << " bytes per million readings";

    // Everything is still where it was written, and reads back after a reopen.
    readings.Close();
    dataset.Close();
    root.Close();
    Storage again = StgOpenStorage(home.Path() / "run.stg", kRo);
    Stream back = again.OpenStorage("Z6140700.063", kRo).OpenStream("Readings", kRo);
    ASSERT_EQ(back.Size(), ((16u << 20) / 16380 + 1 + kMore / 16380 + 1) * 16380u);
    const std::vector<std::uint8_t> block = Pattern(16380, 9);
    std::vector<std::uint8_t> got(16380);
    for (std::uint64_t at :
         {std::uint64_t{0}, back.Size() / 2 / 16380 * 16380, back.Size() - 16380}) {
        back.Seek(static_cast<std::int64_t>(at), STREAM_SEEK_SET);
        ASSERT_EQ(back.Read(got.data(), got.size()), got.size());
        EXPECT_EQ(got, block) << at;
    }
}

} // namespace
} // namespace tvane::test
