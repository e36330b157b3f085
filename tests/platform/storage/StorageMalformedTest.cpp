#include <cstdlib>
#include <functional>
#include <memory>

#include "StorageFuzzBody.h"
#include "StorageTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

using Bytes = std::string;

std::uint32_t Get32(const Bytes& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | static_cast<std::uint8_t>(b.at(at + i));
    }
    return v;
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.at(at + i) = static_cast<char>(v >> (8 * i));
    }
}

std::size_t SectorAt(std::uint32_t id) {
    return (static_cast<std::size_t>(id) + 1) * 512;
}

// Where the allocation table keeps the next-sector id of sector id.
std::size_t FatSlot(const Bytes& b, std::uint32_t id) {
    return SectorAt(Get32(b, 76 + 4 * (id / 128))) + 4 * (id % 128);
}

// Offset of the directory entry called name (first match along the directory chain).
std::size_t EntryAt(const Bytes& b, const std::u16string& name) {
    for (std::uint32_t s = Get32(b, 48); s < 0xFFFFFFFA; s = Get32(b, FatSlot(b, s))) {
        for (int k = 0; k < 4; ++k) {
            std::size_t at = SectorAt(s) + 128 * k;
            std::u16string n;
            for (std::size_t i = 0; i + 1 < b[at + 64] / 2u; ++i) {
                n.push_back(
                    static_cast<char16_t>(static_cast<std::uint8_t>(b[at + 2 * i]) |
                                          (static_cast<std::uint8_t>(b[at + 2 * i + 1]) << 8)));
            }
            if (n == name) {
                return at;
            }
        }
    }
    throw std::runtime_error("no such entry");
}

// The id of the entry at offset: entries are numbered 4 per sector along the chain.
std::uint32_t EntryId(const Bytes& b, std::size_t offset) {
    std::uint32_t index = 0;
    for (std::uint32_t s = Get32(b, 48); s < 0xFFFFFFFA; s = Get32(b, FatSlot(b, s))) {
        if (offset >= SectorAt(s) && offset < SectorAt(s) + 512) {
            return index + static_cast<std::uint32_t>((offset - SectorAt(s)) / 128);
        }
        index += 4;
    }
    throw std::runtime_error("not a directory entry");
}

// Opens, enumerates and reads everything; the status of the first failure.
StorageStatus OpenAndReadAll(const std::filesystem::path& file) {
    std::function<void(Storage&)> walk = [&](Storage& s) {
        for (const StatStg& st : s.EnumElements()) {
            if (st.type == STGTY_STORAGE) {
                Storage sub = s.OpenStorage(st.name, kRo);
                walk(sub);
            } else {
                Stream stream = s.OpenStream(st.name, kRo);
                ReadAll(stream);
            }
        }
    };
    try {
        Storage root = StgOpenStorage(file, kRo);
        walk(root);
    } catch (const StorageException& e) {
        return e.Status();
    }
    return STG_S_OK;
}

struct Case {
    const char* name;
    std::function<void(Bytes&)> damage;
    StorageStatus expected;
};

const Case kCases[] = {
    {"empty", [](Bytes& b) { b.clear(); }, STG_E_INVALIDHEADER},
    {"not_a_compound_file", [](Bytes& b) { b.assign(4000, 'x'); }, STG_E_INVALIDHEADER},
    {"truncated_header", [](Bytes& b) { b.resize(300); }, STG_E_DOCFILECORRUPT},
    {"bad_byte_order", [](Bytes& b) { b[28] = 0; }, STG_E_DOCFILECORRUPT},
    {"version_4_sector_size", [](Bytes& b) { b[30] = 12; }, STG_E_INVALIDHEADER},
    {"fat_count_too_large", [](Bytes& b) { Put32(b, 44, 0xFFFFFF); }, STG_E_DOCFILECORRUPT},
    {"fat_sector_out_of_range", [](Bytes& b) { Put32(b, 76, 0x7FFFFFF0); }, STG_E_DOCFILECORRUPT},
    {"difat_chain_loops",
     [](Bytes& b) {
         // Ask for more table sectors than the header holds, through a DIFAT sector
         // that names itself as its successor.
         std::uint32_t fat0 = Get32(b, 76);
         std::uint32_t self = Get32(b, 48);
         b.resize(b.size() + 512 * 400, 0);
         Put32(b, 44, 109 + 127 * 2);
         Put32(b, 68, self);
         Put32(b, 72, 5);
         for (int i = 0; i < 109; ++i) {
             Put32(b, 76 + 4 * i, fat0);
         }
         for (int i = 0; i < 127; ++i) {
             Put32(b, SectorAt(self) + 4 * i, fat0);
         }
         Put32(b, SectorAt(self) + 508, self);
     },
     STG_E_DOCFILECORRUPT},
    {"directory_start_out_of_range", [](Bytes& b) { Put32(b, 48, 0x10000); }, STG_E_DOCFILECORRUPT},
    {"directory_chain_loops",
     [](Bytes& b) {
         std::uint32_t dir = Get32(b, 48);
         Put32(b, FatSlot(b, dir), dir);
     },
     STG_E_DOCFILECORRUPT},
    {"first_entry_not_root", [](Bytes& b) { b[SectorAt(Get32(b, 48)) + 66] = 1; },
     STG_E_DOCFILECORRUPT},
    {"tree_child_out_of_range", [](Bytes& b) { Put32(b, SectorAt(Get32(b, 48)) + 76, 5000); },
     STG_E_DOCFILECORRUPT},
    {"tree_loops_to_itself",
     [](Bytes& b) {
         std::size_t at = EntryAt(b, u"Big");
         Put32(b, at + 68, Get32(b, SectorAt(Get32(b, 48)) + 76));
     },
     STG_E_DOCFILECORRUPT},
    {"tree_loops_to_root", [](Bytes& b) { Put32(b, EntryAt(b, u"Inner") + 72, 0); },
     STG_E_DOCFILECORRUPT},
    {"storage_holds_itself",
     [](Bytes& b) { Put32(b, EntryAt(b, u"Inner") + 68, EntryId(b, EntryAt(b, u"Sub"))); },
     STG_E_DOCFILECORRUPT},
    {"stream_chain_loops",
     [](Bytes& b) {
         std::uint32_t start = Get32(b, EntryAt(b, u"Big") + 116);
         Put32(b, FatSlot(b, start), start);
     },
     STG_E_DOCFILECORRUPT},
    {"stream_ends_in_allocation_table",
     [](Bytes& b) {
         // Eight sectors, the eighth being the allocation table's own sector.
         std::size_t big = EntryAt(b, u"Big");
         std::uint32_t id = Get32(b, big + 116);
         for (int i = 0; i < 6; ++i) {
             id = Get32(b, FatSlot(b, id));
         }
         Put32(b, FatSlot(b, id), Get32(b, 76));
         Put32(b, big + 120, 4096);
     },
     STG_E_DOCFILECORRUPT},
    {"stream_start_out_of_range", [](Bytes& b) { Put32(b, EntryAt(b, u"Big") + 116, 0xFFFFF0); },
     STG_E_DOCFILECORRUPT},
    {"stream_longer_than_its_chain", [](Bytes& b) { Put32(b, EntryAt(b, u"Big") + 120, 900000); },
     STG_E_DOCFILECORRUPT},
    {"mini_stream_chain_loops",
     [](Bytes& b) {
         std::uint32_t start = Get32(b, SectorAt(Get32(b, 48)) + 116);
         Put32(b, FatSlot(b, start), start);
     },
     STG_E_DOCFILECORRUPT},
    {"mini_table_out_of_range", [](Bytes& b) { Put32(b, 60, 0xFFFFF0); }, STG_E_DOCFILECORRUPT},
    {"small_stream_outside_the_mini_stream",
     [](Bytes& b) { Put32(b, EntryAt(b, u"Small") + 116, 5000); }, STG_E_DOCFILECORRUPT},
    {"truncated_file", [](Bytes& b) { b.resize(b.size() / 3); }, STG_E_DOCFILECORRUPT},
};

class StorageMalformed : public TempHomeTest {};

Bytes MakeBase(const std::filesystem::path& file) {
    Storage root = StgCreateDocfile(file, kRw);
    WriteAll(root.CreateStream("Small", kRw), Pattern(100, 1));
    WriteAll(root.CreateStream("Big", kRw), Pattern(5000, 2));
    WriteAll(root.CreateStorage("Sub", kRw).CreateStream("Inner", kRw), Pattern(10, 3));
    root.Close();
    return ReadFile(file);
}

TEST_F(StorageMalformed, DamagedFilesGiveAnErrorNeverACrashOrAHang) {
    const Bytes base = MakeBase(home.Path() / "base.cfb");
    ASSERT_EQ(OpenAndReadAll(home.Path() / "base.cfb"), STG_S_OK);
    // TVANE_STORAGE_CORPUS=<folder> writes the cases out as the fuzzer's seeds.
    const char* corpus = std::getenv("TVANE_STORAGE_CORPUS");
    if (corpus) {
        WriteFile(std::filesystem::path(corpus) / "valid.cfb", base);
    }
    for (const Case& c : kCases) {
        Bytes bytes = base;
        c.damage(bytes);
        std::filesystem::path file = home.Path() / (std::string(c.name) + ".cfb");
        WriteFile(file, bytes);
        EXPECT_EQ(StorageStatusName(OpenAndReadAll(file)), StorageStatusName(c.expected)) << c.name;
        // Opening it for writing must not make it worse or crash either.
        ExerciseStorageFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        if (corpus) {
            WriteFile(std::filesystem::path(corpus) / (std::string(c.name) + ".cfb"), bytes);
        }
    }
}

// An 8 KB file whose stream claims 4 GB: the claim is refused when the stream
// is opened, before any reader sizes a buffer by it.
TEST_F(StorageMalformed, AStreamSizeItsSectorsDoNotBackIsRefusedWhenOpened) {
    Bytes bytes = MakeBase(home.Path() / "base.cfb");
    Put32(bytes, EntryAt(bytes, u"Big") + 120, 0xFFFFFFF0);
    ASSERT_LT(bytes.size(), 16384u);
    WriteFile(home.Path() / "claims.cfb", bytes);
    for (StorageMode mode : {kRo, kRw}) {
        Storage root = StgOpenStorage(home.Path() / "claims.cfb", mode);
        try {
            Stream big = root.OpenStream("Big", mode);
            ADD_FAILURE() << "opened with a size of " << big.Size();
        } catch (const StorageException& e) {
            EXPECT_EQ(StorageStatusName(e.Status()), StorageStatusName(STG_E_DOCFILECORRUPT));
        }
        // The rest of the file is still there.
        EXPECT_EQ(ReadAll(*std::make_unique<Stream>(root.OpenStream("Small", mode))),
                  Pattern(100, 1));
    }
}

TEST_F(StorageMalformed, TheFuzzerSeedCorpusRunsCleanly) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(TVANE_TEST_DATA) / "malformed")) {
        Bytes bytes = ReadFile(entry.path());
        ExerciseStorageFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++files;
    }
    EXPECT_GT(files, 10);
}

TEST_F(StorageMalformed, AnotherWritersUnbalancedTreeIsRebuiltOnFirstChange) {
    // Make the root's tree a right-leaning chain with every entry black: ordered,
    // but not a red-black tree. Readers still find everything; a writer repairs it.
    std::filesystem::path file = home.Path() / "chain.cfb";
    {
        Storage root = StgCreateDocfile(file, kRw);
        for (const char* n : {"a", "b", "c", "d", "e"}) {
            WriteAll(root.CreateStream(n, kRw), Pattern(10, n[0]));
        }
        root.Close();
    }
    Bytes b = ReadFile(file);
    std::size_t at[5];
    const char16_t* names[] = {u"a", u"b", u"c", u"d", u"e"};
    for (int i = 0; i < 5; ++i) {
        at[i] = EntryAt(b, names[i]);
    }
    Put32(b, SectorAt(Get32(b, 48)) + 76, EntryId(b, at[0]));
    for (int i = 0; i < 5; ++i) {
        Put32(b, at[i] + 68, 0xFFFFFFFF);
        Put32(b, at[i] + 72, i + 1 < 5 ? EntryId(b, at[i + 1]) : 0xFFFFFFFF);
        b[at[i] + 67] = 1;
    }
    WriteFile(file, b);
    EXPECT_EQ(OpenAndReadAll(file), STG_S_OK);
    {
        Storage root = StgOpenStorage(file, kRw);
        Stream e = root.OpenStream("E", kRo);
        EXPECT_EQ(ReadAll(e), Pattern(10, 'e'));
        e.Close();
        WriteAll(root.CreateStream("f", kRw), Pattern(10, 'f'));
        root.Close();
    }
    std::string listing = OleCheck(file);
    EXPECT_NE(listing.find("TREE OK"), std::string::npos) << listing;
    EXPECT_NE(listing.find(StreamLine("f", Pattern(10, 'f'))), std::string::npos) << listing;
}

} // namespace
} // namespace tvane::test
