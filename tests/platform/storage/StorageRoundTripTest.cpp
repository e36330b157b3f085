#include <algorithm>
#include <map>
#include <sstream>

#include "StorageTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

using Lines = std::vector<std::string>;

Lines SortedLines(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

class StorageRoundTrip : public TempHomeTest {
protected:
    std::filesystem::path File(const char* name) { return home.Path() / name; }
};

constexpr std::size_t kSizes[] = {0,    1,    63,   64,   65,   511,  512,   513,
                                  4095, 4096, 4097, 8191, 8192, 9000, 70000, 300001};

TEST_F(StorageRoundTrip, NestedStoragesAndStreamsOfManySizesReadBackHereAndInOlefile) {
    std::filesystem::path file = File("nested.cfb");
    Lines expected;
    {
        Storage root = StgCreateDocfile(file, kRw | STGM_CREATE);
        Storage a = root.CreateStorage("Alpha", kRw);
        Storage b = a.CreateStorage("Beta", kRw);
        unsigned seed = 1;
        for (std::size_t size : kSizes) {
            for (auto [storage, prefix] :
                 {std::pair<Storage*, std::string>{&root, ""}, {&b, "Alpha/Beta/"}}) {
                std::string name = "s" + std::to_string(size);
                Stream s = storage->CreateStream(name, kRw);
                WriteAll(s, Pattern(size, seed));
                expected.push_back(StreamLine(prefix + name, Pattern(size, seed)));
                ++seed;
            }
        }
        expected.push_back("D Alpha");
        expected.push_back("D Alpha/Beta");
        root.Close();
    }
    {
        Storage root = StgOpenStorage(file, kRo);
        Storage b = root.OpenStorage("Alpha", kRo).OpenStorage("Beta", kRo);
        unsigned seed = 1;
        for (std::size_t size : kSizes) {
            for (Storage* storage : {&root, &b}) {
                Stream s = storage->OpenStream("s" + std::to_string(size), kRo);
                EXPECT_EQ(s.Stat().size, size);
                EXPECT_EQ(ReadAll(s), Pattern(size, seed)) << size;
                ++seed;
            }
        }
    }
    expected.push_back("TREE OK");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SortedLines(OleCheck(file)), expected);
}

TEST_F(StorageRoundTrip, StreamsGrowAndShrinkAcrossTheMiniStreamCutoff) {
    std::filesystem::path file = File("cutoff.cfb");
    Storage root = StgCreateDocfile(file, kRw);
    Stream s = root.CreateStream("Readings", kRw);
    std::vector<std::uint8_t> data = Pattern(5000, 3);
    // Appends in small blocks cross 4096 and move the stream out of the mini stream.
    for (std::size_t at = 0; at < data.size(); at += 26 * 7) {
        s.Write(data.data() + at, std::min<std::size_t>(26 * 7, data.size() - at));
    }
    EXPECT_EQ(ReadAll(s), data);
    s.SetSize(100); // back into the mini stream
    data.resize(100);
    EXPECT_EQ(ReadAll(s), data);
    s.SetSize(6000); // out again; the new bytes are zeros
    data.resize(6000, 0);
    EXPECT_EQ(ReadAll(s), data);
    s.Seek(7000, STREAM_SEEK_SET); // a gap left by a seek reads as zeros
    s.Write("x", 1);
    data.resize(7000, 0);
    data.push_back('x');
    EXPECT_EQ(ReadAll(s), data);
    s.Close();
    root.Close();
    EXPECT_EQ(SortedLines(OleCheck(file)), (Lines{StreamLine("Readings", data), "TREE OK"}));
}

TEST_F(StorageRoundTrip, AStreamPastTheHeaderAllocationTableLimitUsesTheDifat) {
    // The header lists 109 table sectors (about 7.1 MB of sectors), each DIFAT sector
    // 127 more (about 8.3 MB): 16 MB needs two DIFAT sectors.
    std::filesystem::path file = File("difat.cfb");
    std::vector<std::uint8_t> block = Pattern(16380, 9);
    const int blocks = 1000;
    std::vector<std::uint8_t> all;
    all.reserve(block.size() * blocks);
    {
        Storage root = StgCreateDocfile(file, kRw);
        Stream s = root.CreateStream("Readings", kRw);
        root.CreateStream("small", kRw).Write("abc", 3);
        for (int i = 0; i < blocks; ++i) {
            block[0] = static_cast<std::uint8_t>(i);
            WriteAll(s, block);
            all.insert(all.end(), block.begin(), block.end());
        }
        s.Close();
        root.Close();
    }
    Storage root = StgOpenStorage(file, kRo);
    Stream s = root.OpenStream("Readings", kRo);
    ASSERT_EQ(s.Size(), all.size());
    EXPECT_TRUE(ReadAll(s) == all);
    Lines expected{StreamLine("Readings", all),
                   StreamLine("small", std::vector<std::uint8_t>{'a', 'b', 'c'}), "TREE OK"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SortedLines(OleCheck(file)), expected);
}

TEST_F(StorageRoundTrip, FiveThousandSmallStreamsInOneStorage) {
    std::filesystem::path file = File("events.cfb");
    {
        Storage root = StgCreateDocfile(file, kRw);
        Storage texts = root.CreateStorage("EventsZ61400305.040", kRw);
        for (int i = 0; i < 5000; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "%.4f", i * 1.5);
            Stream s = texts.CreateStream(name, kRw);
            std::string text = "event " + std::to_string(i);
            s.Write(text.data(), text.size());
        }
        root.Close();
    }
    Storage root = StgOpenStorage(file, kRo);
    Storage texts = root.OpenStorage("EventsZ61400305.040", kRo);
    std::vector<StatStg> all = texts.EnumElements();
    ASSERT_EQ(all.size(), 5000u);
    Stream s = texts.OpenStream("4498.5000", kRo);
    std::vector<std::uint8_t> got = ReadAll(s);
    EXPECT_EQ(std::string(got.begin(), got.end()), "event 2999");
    std::string listing = OleCheck(file);
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 5002);
    EXPECT_NE(listing.find("TREE OK"), std::string::npos);
}

TEST_F(StorageRoundTrip, FifteenHundredStoragesEnumerateInNameOrder) {
    std::filesystem::path file = File("datasets.cfb");
    {
        Storage root = StgCreateDocfile(file, kRw);
        for (int i = 1499; i >= 0; --i) {
            root.CreateStorage("Z" + std::to_string(i), kRw).CreateStream("Header", kRw);
        }
        root.Close();
    }
    Storage root = StgOpenStorage(file, kRo);
    std::vector<StatStg> all = root.EnumElements();
    ASSERT_EQ(all.size(), 1500u);
    // Shorter names first, then by upper-cased characters.
    EXPECT_EQ(all.front().name, "Z0");
    EXPECT_EQ(all[10].name, "Z10");
    EXPECT_EQ(all.back().name, "Z1499");
    EXPECT_TRUE(root.OpenStorage("z777", kRo).HasElement("HEADER"));
    std::string listing = OleCheck(file);
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 3001);
    EXPECT_NE(listing.find("TREE OK"), std::string::npos);
}

TEST_F(StorageRoundTrip, TreesStayBalancedThroughInsertsAndDeletesInAnyOrder) {
    std::filesystem::path file = File("tree.cfb");
    Storage root = StgCreateDocfile(file, kRw);
    std::map<std::string, unsigned> kept;
    unsigned x = 12345;
    for (int round = 0; round < 3000; ++round) {
        x = x * 1103515245 + 12345;
        std::string name = "n" + std::to_string((x >> 8) % 700);
        if (kept.count(name)) {
            root.DestroyElement(name);
            kept.erase(name);
        } else {
            root.CreateStream(name, kRw).Write(name.data(), name.size());
            kept[name] = round;
        }
    }
    root.Close();
    Lines expected{"TREE OK"};
    for (const auto& [name, round] : kept) {
        expected.push_back(StreamLine(name, std::vector<std::uint8_t>(name.begin(), name.end())));
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SortedLines(OleCheck(file)), expected);
}

TEST_F(StorageRoundTrip, ReadsAFileWrittenByLibgsf) {
    std::filesystem::path small = File("a.txt"), big = File("b.bin");
    std::vector<std::uint8_t> smallData = Pattern(1234, 5), bigData = Pattern(70001, 6);
    WriteFile(small, std::string(smallData.begin(), smallData.end()));
    WriteFile(big, std::string(bigData.begin(), bigData.end()));
    std::filesystem::path file = File("gsf.ole");
    auto [out, status] = RunCommand("cd '" + home.Path().string() + "' && gsf createole '" +
                                    file.string() + "' a.txt b.bin");
    ASSERT_EQ(status, 0) << out;
    Storage root = StgOpenStorage(file, kRo);
    std::vector<StatStg> all = root.EnumElements();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].name, "a.txt");
    EXPECT_EQ(all[1].name, "b.bin");
    Stream a = root.OpenStream("a.txt", kRo);
    EXPECT_EQ(ReadAll(a), smallData);
    Stream b = root.OpenStream("b.bin", kRo);
    EXPECT_EQ(ReadAll(b), bigData);
}

TEST_F(StorageRoundTrip, AFileWrittenByLibgsfCanBeChangedAndStaysReadable) {
    std::filesystem::path file = File("gsf.ole");
    WriteFile(File("a.txt"), "first");
    WriteFile(File("b.txt"), "second");
    WriteFile(File("c.txt"), "third");
    auto [out, status] = RunCommand("cd '" + home.Path().string() + "' && gsf createole '" +
                                    file.string() + "' a.txt b.txt c.txt");
    ASSERT_EQ(status, 0) << out;
    {
        Storage root = StgOpenStorage(file, kRw);
        Stream a = root.OpenStream("a.txt", kRw);
        a.Seek(0, STREAM_SEEK_END);
        WriteAll(a, Pattern(6000, 1));
        a.Close();
        root.DestroyElement("b.txt");
        WriteAll(root.CreateStorage("New", kRw).CreateStream("Inner", kRw), Pattern(10, 2));
        root.Close();
    }
    std::vector<std::uint8_t> a{'f', 'i', 'r', 's', 't'};
    std::vector<std::uint8_t> more = Pattern(6000, 1);
    a.insert(a.end(), more.begin(), more.end());
    Lines expected{StreamLine("a.txt", a), StreamLine("c.txt", {'t', 'h', 'i', 'r', 'd'}), "D New",
                   StreamLine("New/Inner", Pattern(10, 2)), "TREE OK"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SortedLines(OleCheck(file)), expected);
}

TEST_F(StorageRoundTrip, AReopenedFileContinuesWhereItStopped) {
    std::filesystem::path file = File("reopen.cfb");
    {
        Storage root = StgCreateDocfile(file, kRw);
        Storage d = root.CreateStorage("Z1", kRw);
        WriteAll(d.CreateStream("Readings", kRw), Pattern(3000, 1));
        WriteAll(d.CreateStream("Events", kRw), Pattern(100000, 2));
        WriteAll(root.CreateStream("Old", kRw), Pattern(50000, 3));
        d.Close();
        root.Close();
    }
    auto size = std::filesystem::file_size(file);
    {
        Storage root = StgOpenStorage(file, kRw);
        root.DestroyElement("Old");
        root.Commit();
        Storage d = root.OpenStorage("Z1", kRw);
        Stream r = d.OpenStream("Readings", kRw);
        r.Seek(0, STREAM_SEEK_END);
        WriteAll(r, Pattern(3000, 4)); // crosses into whole sectors
        Stream e = d.OpenStream("Events", kRw);
        e.SetSize(16); // back into the mini stream
        r.Close();
        e.Close();
        d.Close();
        root.Close();
    }
    // The destroyed stream's sectors took the new data.
    EXPECT_LE(std::filesystem::file_size(file), size);
    std::vector<std::uint8_t> readings = Pattern(3000, 1);
    std::vector<std::uint8_t> more = Pattern(3000, 4);
    readings.insert(readings.end(), more.begin(), more.end());
    Lines expected{"D Z1", StreamLine("Z1/Readings", readings),
                   StreamLine("Z1/Events", Pattern(16, 2)), "TREE OK"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SortedLines(OleCheck(file)), expected);
}

TEST_F(StorageRoundTrip, LibgsfListsAndReadsOurFiles) {
    std::filesystem::path file = File("ours.cfb");
    {
        Storage root = StgCreateDocfile(file, kRw);
        Stream d = root.CreateStream("Datasets", kRw);
        WriteAll(d, Pattern(56 * 3, 1));
        d.Close();
        Stream r = root.CreateStorage("Z61400305.040", kRw).CreateStream("Readings", kRw);
        WriteAll(r, Pattern(26 * 1000, 2));
        r.Close();
        root.Close();
    }
    auto [listing, status] = RunCommand("gsf list '" + file.string() + "'");
    ASSERT_EQ(status, 0) << listing;
    EXPECT_NE(listing.find("Datasets"), std::string::npos) << listing;
    auto [data, catStatus] = RunCommand("gsf cat '" + file.string() + "' Z61400305.040/Readings");
    ASSERT_EQ(catStatus, 0) << data;
    std::vector<std::uint8_t> expected = Pattern(26 * 1000, 2);
    EXPECT_EQ(data, std::string(expected.begin(), expected.end()));
}

} // namespace
} // namespace tvane::test
