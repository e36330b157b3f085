#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/CLoggerDoc.h"
#include "database/CDatasetStore.h"
#include "platform/archive/MemoryStream.h"
#include "platform/storage/Storage.h"
#include "scan/CCompChnl.h"
#include "scan/CCompChnlArray.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "tests/app/LoggerDocFixture.h"

namespace tvane::test {
namespace {

namespace fs = std::filesystem;

std::string RunPython(const std::string& script) {
    const std::string command = "/usr/bin/python3 -c '" + script + "' 2>&1";
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        ::pclose(pipe);
    }
    return out;
}

// The bytes of the "Contents" stream of a document file.
std::string ReadContents(const fs::path& path) {
    Storage root = StgOpenStorage(path, STGM_READ | STGM_SHARE_DENY_WRITE);
    Stream stream = root.OpenStream("Contents", STGM_READ | STGM_SHARE_EXCLUSIVE);
    std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
    bytes.resize(stream.Read(bytes.data(), bytes.size()));
    return bytes;
}

void WriteContents(const fs::path& path, const std::string& bytes) {
    Storage root = StgCreateDocfile(path, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE);
    Stream stream =
        root.CreateStream("Contents", STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE);
    stream.Write(bytes.data(), bytes.size());
    stream.Close();
    root.Commit();
}

class LoggerDocFileTest : public LoggerDocTest {
protected:
    void FillDocument(CLoggerDoc& d) { FillSampleDocument(d); }

    fs::path Path(const std::string& name) const { return home.Data() / name; }
};

TEST_F(LoggerDocFileTest, SaveAndLoadRoundTrip) {
    CLoggerDoc& d = MakeDocument();
    FillDocument(d);
    const fs::path path = Path("X0000001.000");
    ASSERT_TRUE(d.OnSaveDocument(path.string())) << ::testing::PrintToString(prompter.Texts());
    EXPECT_FALSE(fs::exists(path.string() + ".new~"));

    // The archive's first fields, as bytes.
    const std::string bytes = ReadContents(path);
    ASSERT_GE(bytes.size(), 60u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x03\x00\x00\x00", 4));
    EXPECT_EQ(bytes.substr(4, 4), std::string(4, '\0'));       // header value: no modules loaded
    EXPECT_EQ(bytes.substr(8, 2), std::string("\x01\x00", 2)); // header word: 16 bits
    EXPECT_EQ(bytes.substr(10, 9), std::string("\x08KXQT7101"));
    const std::size_t slots = 10 + 9 + 9 + 7;
    // One active channel in slot 1; the computed row ends the count.
    EXPECT_EQ(bytes.substr(slots, 12),
              std::string("\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 12));
    EXPECT_EQ(bytes.substr(slots + 12, 8), std::string("\x66\x00\x00\x00\xc4\x09\x00\x00", 8));
    // The setup text (the monitor channel's units) and the frame counter.
    EXPECT_EQ(bytes.substr(slots + 20, 12), std::string("\x07"
                                                        "bench A\x11\x00\x00\x00",
                                                        12));

    // An independent reader finds the stream and the same bytes.
    const std::string script = "import olefile; o = olefile.OleFileIO(\"" + path.string() +
                               "\"); print(o.listdir()); print(o.openstream(\"Contents\").read()"
                               "[:4].hex(), o.get_size(\"Contents\"))";
    EXPECT_EQ(RunPython(script), "[['Contents']]\n03000000 " + std::to_string(bytes.size()) + "\n");

    // Load into a fresh document of a fresh application.
    FakeApp other;
    other.frame.pages.clear();
    CLoggerDoc loaded(other);
    loaded.ReadDocumentFile(path.string());
    EXPECT_EQ(other.state.m_modules,
              (std::array<std::string, 3>{"KXQT7101", "KXQT7107", "(None)"}));
    EXPECT_EQ(loaded.GetMonitorChannel(), 102u);
    EXPECT_EQ(loaded.GetMonitorInterval(), 2500u);
    ASSERT_EQ(loaded.GetSetup()->GetSize(), 4);
    for (int i = 0; i < 4; ++i) {
        const CFXSetup* a = d.GetSetup()->GetSetup(i);
        const CFXSetup* b = loaded.GetSetup()->GetSetup(i);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->Name, a->Name);
        EXPECT_EQ(b->Channel, a->Channel);
        EXPECT_EQ(b->ChannelName, a->ChannelName);
        EXPECT_EQ(b->ChannelMode, a->ChannelMode);
        EXPECT_EQ(b->AdvSettings, a->AdvSettings);
    }
    ASSERT_EQ(loaded.GetComputedChannels()->GetSize(), 2);
    EXPECT_EQ(loaded.GetComputedChannels()->GetAt(1)->Channel, 902);
    EXPECT_EQ(loaded.GetComputedChannels()->GetAt(1)->Arg2.Value, 5.0);
    EXPECT_EQ(loaded.GetScan()->m_startMode, CFXScan::kStartTimed);
    EXPECT_EQ(loaded.GetScan()->m_scanCount, 42);
    EXPECT_EQ(loaded.GetScan()->m_scanInterval, 0.5);
    EXPECT_EQ(loaded.GetScan()->m_exportOnPostScan, 1);
    EXPECT_EQ(other.frame.pages, app.frame.pages);
    EXPECT_EQ(other.frame.selected, 2u);

    // Saving again gives the same bytes.
    const fs::path again = Path("X0000002.000");
    ASSERT_TRUE(loaded.OnSaveDocument(again.string()));
    EXPECT_EQ(ReadContents(again), bytes);

    // So does a file with a header value, a header word and slot counts this
    // setup would not give (a negative count too).
    std::string patched = bytes;
    patched.replace(4, 6, std::string("\x3e\x00\x00\x00\x07\x00", 6));
    patched.replace(slots, 12, std::string("\x02\x00\x00\x00\xff\xff\xff\xff\x00\x00\x00\x00", 12));
    const fs::path odd = Path("X0000007.000");
    WriteContents(odd, patched);
    loaded.ReadDocumentFile(odd.string());
    EXPECT_EQ(loaded.GetHeaderValue(), 62u);
    ASSERT_TRUE(loaded.OnSaveDocument(again.string()));
    EXPECT_EQ(ReadContents(again), patched);
}

// A setup view that keeps one text in the document file.
class StateView final : public IView {
public:
    std::string state;
    int loads = 0;
    Kind GetKind() const override { return kSetupView; }
    void OnUpdate(IView*, long, const HintObject&) override {}
    void SerializeState(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << state;
        } else {
            ar >> state;
            ++loads;
        }
    }
};

TEST_F(LoggerDocFileTest, TheSetupViewsPartIsKeptAndOlderFilesStillLoad) {
    CLoggerDoc& d = MakeDocument();
    FillDocument(d);
    StateView view;
    view.state = "grid layout";
    d.AddView(&view);
    const fs::path path = Path("X0000004.000");
    ASSERT_TRUE(d.OnSaveDocument(path.string()));
    d.RemoveView(&view);

    FakeApp other;
    CLoggerDoc loaded(other);
    StateView reader;
    loaded.AddView(&reader);
    loaded.ReadDocumentFile(path.string());
    EXPECT_EQ(reader.state, "grid layout");
    EXPECT_EQ(reader.loads, 1);

    // A file of the version before the view's part: the same bytes without
    // the block (saved without a view, so its count is 0) and with version 2.
    const fs::path plain = Path("X0000005.000");
    const std::size_t layout = 4 + 1 + std::string("Graphics 1").size() + 4;
    app.frame.pages = {"Graphics 1"};
    ASSERT_TRUE(d.OnSaveDocument(plain.string()));
    std::string bytes = ReadContents(plain);
    ASSERT_EQ(bytes.substr(bytes.size() - layout - 4, 4), std::string(4, '\0'));
    bytes.erase(bytes.size() - layout - 4, 4);
    bytes[0] = '\x02';
    WriteContents(plain, bytes);
    reader.state = "untouched";
    loaded.ReadDocumentFile(plain.string());
    EXPECT_EQ(reader.state, "untouched");
    EXPECT_EQ(loaded.GetSetup()->GetSize(), 4);
    EXPECT_EQ(other.frame.pages, std::vector<std::string>{"Graphics 1"});
    loaded.RemoveView(&reader);
}

TEST_F(LoggerDocFileTest, WithoutAFrameNoLayoutIsStored) {
    app.withFrame = false;
    CLoggerDoc& d = MakeDocument();
    const fs::path path = Path("X0000003.000");
    ASSERT_TRUE(d.OnSaveDocument(path.string()));
    app.withFrame = true;
    app.frame.pages = {"kept"};
    CLoggerDoc loaded(app);
    EXPECT_THROW(loaded.ReadDocumentFile(path.string()), CArchiveException);
    app.withFrame = false;
    loaded.ReadDocumentFile(path.string());
    EXPECT_EQ(app.frame.pages, std::vector<std::string>{"kept"});
}

TEST_F(LoggerDocFileTest, OpenDocumentSetsUpTheSetup) {
    CLoggerDoc& d = MakeDocument();
    FillDocument(d);
    const fs::path path = Path("X0000004.000");
    ASSERT_TRUE(d.OnSaveDocument(path.string()));
    {
        CDatasetStore store;
        ASSERT_TRUE(store.Create(Path("Y0000004.000").string(),
                                 STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, false));
    }
    FakeApp other;
    other.state.m_setupFile = path.string();
    CLoggerDoc opened(other);
    FakeOperations ops;
    opened.SetServices({.operations = &ops});
    RecordingView view;
    opened.AddView(&view);
    ASSERT_TRUE(opened.OnOpenDocument(path.string()));
    EXPECT_TRUE(opened.GetDatasetStore()->IsOpen());
    EXPECT_TRUE(opened.IsSetupLoaded());
    EXPECT_FALSE(opened.IsNeverSaved());
    // No dataset named: a first one is saved.
    EXPECT_EQ(ops.calls, (std::vector<std::string>{"SaveDataset", "LoadDatasetFile",
                                                   "GetLastScanMaxChannel"}));
    EXPECT_EQ(other.frame.panes[1], "KXQT7101");
    EXPECT_EQ(other.frame.panes[3], "(None)");
    EXPECT_EQ(view.Hints(), std::vector<long>{HINT_NEW_DOCUMENT});
    opened.CloseDatasetStore();

    // Without its dataset storage the open fails.
    fs::remove(Path("Y0000004.000"));
    CLoggerDoc missing(other);
    missing.SetServices({.operations = &ops});
    EXPECT_FALSE(missing.OnOpenDocument(path.string()));
}

TEST_F(LoggerDocFileTest, BrokenFilesFailAndKeepTheDocument) {
    CLoggerDoc& d = MakeDocument();
    FillDocument(d);
    const fs::path good = Path("X0000005.000");
    ASSERT_TRUE(d.OnSaveDocument(good.string()));
    const std::string bytes = ReadContents(good);

    // The document that stays open: one row, its own scan settings.
    FakeApp other;
    other.state.m_modules = {"KXQT7104", "", ""};
    CLoggerDoc open(other);
    open.GetSetup()->SetSize(1);
    auto* row = new CFXSetup;
    row->Channel = 301;
    open.GetSetup()->SetSetup(0, row);
    open.GetScan()->m_scanCount = 5;
    open.SetSetupInInstrument(true);
    row->Name = "KXQT7101";
    row->ChannelMode = 1;
    open.ConfigureMonitorChannel(301);
    ASSERT_EQ(open.GetMonitorChannel(), 301);
    open.SetSetupLoaded(true);

    std::string badClass = bytes;
    const std::size_t tag = badClass.find("CFXSetup");
    ASSERT_NE(tag, std::string::npos);
    badClass[tag] = 'Q';
    struct Case {
        const char* name;
        std::string contents;
        bool compound;
        unsigned helpId; // the program's text for the failure
    } cases[] = {
        {"empty", "", true, 13004},
        {"version only", bytes.substr(0, 4), true, 13004},
        {"inside the fields", bytes.substr(0, 30), true, 13004},
        {"inside the rows", bytes.substr(0, bytes.size() / 2), true, 13004},
        {"last byte missing", bytes.substr(0, bytes.size() - 1), true, 13004},
        {"unknown class", badClass, true, 13007},
        {"not a compound file", bytes, false, 13080},
    };
    for (const Case& c : cases) {
        const fs::path path = Path(std::string("bad ") + c.name);
        if (c.compound)
            WriteContents(path, c.contents);
        else
            WriteFile(path, c.contents);
        prompter.asked.clear();
        EXPECT_FALSE(open.OnOpenDocument(path.string())) << c.name;
        ASSERT_EQ(prompter.asked.size(), 1u) << c.name;
        EXPECT_EQ(prompter.asked[0].helpId, c.helpId) << c.name;
        ASSERT_EQ(open.GetSetup()->GetSize(), 1) << c.name;
        EXPECT_EQ(open.GetSetup()->GetSetup(0)->Channel, 301u) << c.name;
        EXPECT_EQ(open.GetScan()->m_scanCount, 5) << c.name;
        EXPECT_EQ(open.GetMonitorChannel(), 301) << c.name;
        EXPECT_EQ(other.state.m_modules[0], "KXQT7104") << c.name;
    }
    EXPECT_NE(prompter.asked.at(0).text.find("bad not a compound file"), std::string::npos)
        << prompter.asked.at(0).text;
}

TEST_F(LoggerDocFileTest, EveryDamagedByteLoadsOrFailsCleanly) {
    CLoggerDoc& d = MakeDocument();
    FillDocument(d);
    MemoryStream good;
    {
        CArchive ar(good, CArchive::store);
        d.Serialize(ar);
    }
    FakeApp other;
    CLoggerDoc target(other);
    int failures = 0;
    for (std::size_t i = 0; i < good.Size(); ++i) {
        for (std::uint8_t value : {std::uint8_t{0xFF}, std::uint8_t{0x7F}}) {
            std::vector<std::uint8_t> bytes = good.Bytes();
            bytes[i] = value;
            MemoryStream damaged(std::move(bytes));
            CArchive ar(damaged, CArchive::load);
            try {
                target.Serialize(ar);
            } catch (const Exception&) {
                ++failures;
            } catch (const std::bad_alloc&) {
                ADD_FAILURE() << "byte " << i << " = " << int(value) << " ran out of memory";
            }
            // Whatever happened, every row the document holds is whole (empty
            // slots are allowed).
            std::uint32_t sum = 0;
            for (std::int32_t r = 0; r < target.GetSetup()->GetSize(); ++r)
                if (const CFXSetup* row = target.GetSetup()->GetSetup(r))
                    sum += row->Channel + static_cast<std::uint32_t>(row->Name.size());
            (void)sum;
        }
    }
    EXPECT_GT(failures, 0);
}

TEST_F(LoggerDocFileTest, FailedSaveKeepsTheOldFile) {
    CLoggerDoc& d = MakeDocument();
    FillDocument(d);
    const fs::path path = Path("X0000006.000");
    ASSERT_TRUE(d.OnSaveDocument(path.string()));
    const std::string before = ReadFile(path);
    // The new file cannot be made beside the old one.
    fs::create_directories(path.string() + ".new~/blocked");
    d.SetMonitorInterval(1000); // a change to save
    EXPECT_FALSE(d.OnSaveDocument(path.string()));
    EXPECT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(ReadFile(path), before);
}

} // namespace
} // namespace tvane::test
