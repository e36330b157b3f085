// Compound-file streams against plain file I/O of the same bytes, in the same run.
//   Append: 200 MB in 16380-byte blocks (the dataset's reading block), then a commit,
//           against write() of the same blocks and fdatasync.
//   Flush:  a small append and a commit on a 1 MB and on a 1 GB file.
//   Random: single 26-byte records by index from a 100 MB stream, against pread().
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "platform/storage/Storage.h"

namespace {

using namespace tvane;

constexpr StorageMode kRw = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
constexpr std::size_t kBlock = 16380;
constexpr std::size_t kAppendBytes = 200u << 20;
constexpr std::size_t kRecord = 26;

// The benchmarks' files, removed with everything in it when the program ends.
struct BenchFolder {
    BenchFolder() {
        std::string templ =
            (std::filesystem::temp_directory_path() / "tvane-bench-XXXXXX").string();
        if (!::mkdtemp(templ.data())) {
            std::abort();
        }
        path = templ;
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

const std::filesystem::path& Folder() {
    static BenchFolder folder;
    return folder.path;
}

std::vector<std::uint8_t> Block() {
    std::vector<std::uint8_t> block(kBlock);
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<std::uint8_t>(i * 7);
    }
    return block;
}

void BM_AppendPlainWrite(benchmark::State& state) {
    std::vector<std::uint8_t> block = Block();
    std::filesystem::path file = Folder() / "plain.bin";
    for (auto _ : state) {
        int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0666);
        for (std::size_t done = 0; done < kAppendBytes; done += kBlock) {
            if (::write(fd, block.data(), kBlock) != static_cast<ssize_t>(kBlock)) {
                state.SkipWithError("write failed");
            }
        }
        ::fdatasync(fd);
        ::close(fd);
    }
    std::filesystem::remove(file);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kAppendBytes));
}
BENCHMARK(BM_AppendPlainWrite)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AppendStream(benchmark::State& state) {
    std::vector<std::uint8_t> block = Block();
    std::filesystem::path file = Folder() / "append.cfb";
    for (auto _ : state) {
        Storage root = StgCreateDocfile(file, kRw | STGM_CREATE);
        Stream s = root.CreateStorage("Z61400305.040", kRw).CreateStream("Readings", kRw);
        for (std::size_t done = 0; done < kAppendBytes; done += kBlock) {
            s.Write(block.data(), kBlock);
        }
        s.Commit();
        s.Close();
        root.Close();
    }
    std::filesystem::remove(file);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kAppendBytes));
}
BENCHMARK(BM_AppendStream)->Unit(benchmark::kMillisecond)->Iterations(3);

// A file whose "Readings" stream holds the given number of bytes, open for appending.
struct OpenFile {
    Storage root;
    Stream readings;
};

OpenFile MakeFile(const std::string& name, std::size_t bytes) {
    std::vector<std::uint8_t> block = Block();
    OpenFile f;
    f.root = StgCreateDocfile(Folder() / name, kRw | STGM_CREATE);
    f.root.CreateStream("Datasets", kRw).Write(block.data(), 56);
    f.readings = f.root.CreateStream("Readings", kRw);
    for (std::size_t done = 0; done < bytes; done += kBlock) {
        f.readings.Write(block.data(), std::min(kBlock, bytes - done));
    }
    f.root.Commit();
    return f;
}

void BM_FlushAfterSmallAppend(benchmark::State& state) {
    std::size_t size = static_cast<std::size_t>(state.range(0)) << 20;
    OpenFile f = MakeFile("flush" + std::to_string(state.range(0)) + ".cfb", size);
    std::vector<std::uint8_t> batch(kRecord * 100, 1);
    for (auto _ : state) {
        f.readings.Write(batch.data(), batch.size());
        f.readings.Commit();
    }
    f.readings.Close();
    f.root.Close();
    std::filesystem::remove(Folder() / ("flush" + std::to_string(state.range(0)) + ".cfb"));
}
BENCHMARK(BM_FlushAfterSmallAppend)->Arg(1)->Arg(1024)->Unit(benchmark::kMicrosecond);

constexpr std::size_t kRandomBytes = 100u << 20;

void BM_RandomRecordPread(benchmark::State& state) {
    std::filesystem::path file = Folder() / "records.bin";
    std::vector<std::uint8_t> block = Block();
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0666);
    for (std::size_t done = 0; done < kRandomBytes; done += kBlock) {
        if (::write(fd, block.data(), kBlock) < 0) {
            state.SkipWithError("write failed");
        }
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, kRandomBytes / kRecord - 1);
    std::uint8_t record[kRecord];
    for (auto _ : state) {
        if (::pread(fd, record, kRecord, static_cast<off_t>(pick(random) * kRecord)) < 0) {
            state.SkipWithError("read failed");
        }
        benchmark::DoNotOptimize(record);
    }
    ::close(fd);
    std::filesystem::remove(file);
}
BENCHMARK(BM_RandomRecordPread);

void BM_RandomRecordStream(benchmark::State& state) {
    OpenFile f = MakeFile("records.cfb", kRandomBytes);
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, kRandomBytes / kRecord - 1);
    std::uint8_t record[kRecord];
    for (auto _ : state) {
        f.readings.Seek(static_cast<std::int64_t>(pick(random) * kRecord), STREAM_SEEK_SET);
        f.readings.Read(record, kRecord);
        benchmark::DoNotOptimize(record);
    }
    f.readings.Close();
    f.root.Close();
    std::filesystem::remove(Folder() / "records.cfb");
}
BENCHMARK(BM_RandomRecordStream);

} // namespace

BENCHMARK_MAIN();
