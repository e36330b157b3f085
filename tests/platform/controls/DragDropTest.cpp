#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/archive/CArchive.h"
#include "platform/archive/CObject.h"
#include "platform/controls/DragDrop.h"
#include "tests/support/TempHome.h"

namespace tvane {
namespace {

namespace fs = std::filesystem;

// Windows on a line: x 0..99 is "source", 100..199 "taker", 200..299
// "refuser", 300..399 a window that takes no drops at all, beyond that none.
class Windows : public IDragWindows {
public:
    const char* source = "source";
    const char* taker = "taker";
    const char* refuser = "refuser";
    const char* plain = "plain";
    const char* holder = "holder";

    Window WindowAt(int x, int) override {
        if (x < 0 || x >= 400)
            return nullptr;
        const char* at[] = {source, taker, refuser, plain};
        return at[x / 100];
    }
    long Send(Window window, MessageId id, long long wParam, long long lParam) override {
        const std::string name = static_cast<const char*>(window);
        std::string what = id == dragmsg::QueryDrop()     ? "query"
                           : id == dragmsg::DoDrop()      ? "drop"
                           : id == dragmsg::EndDragDrop() ? "end"
                                                          : "?";
        sent.push_back(what + " " + name + " " + std::to_string(wParam) + "," +
                       std::to_string(lParam));
        return window == taker && id == dragmsg::QueryDrop() ? 1 : 0;
    }
    void ShowCursor(Cursor cursor) override { cursors.push_back(cursor); }
    Window CaptureHolder() override { return captured; }
    void TakeCapture(Window w) override { captured = w; }
    void ReleaseCapture() override { captured = nullptr; }
    void GiveCapture(Window w) override { captured = w; }

    Window captured = nullptr;
    std::vector<std::string> sent;
    std::vector<Cursor> cursors;
};

using C = IDragWindows::Cursor;

TEST(CDragTracker, TheWindowUnderThePointerAnswersAndTheReleaseDropsOnlyOnAnotherTaker) {
    struct Case {
        const char* name;
        std::vector<int> moves; // x of each move
        std::vector<std::string> sent;
        std::vector<C> cursors;
        bool dropped;
    };
    const std::vector<Case> cases = {
        {"dropped on an accepting window",
         {50, 150},
         {"query taker 7,9", "query taker 7,9", "drop taker 7,9"},
         {C::Accept, C::Accept, C::Previous},
         true},
        {"released over the source",
         {150, 50},
         {"query taker 7,9"},
         {C::Accept, C::Accept, C::Previous},
         false},
        {"from a taker to a refuser: the taker hears the end",
         {150, 250},
         {"query taker 7,9", "query refuser 7,9", "end taker 0,0", "query refuser 7,9"},
         {C::Accept, C::Refuse, C::Previous},
         false},
        {"over a window that knows nothing of drops",
         {350},
         {"query plain 7,9", "query plain 7,9"}, // asked again at the release
         {C::Refuse, C::Previous},
         false},
        {"over no window", {-5}, {}, {C::Refuse, C::Previous}, false},
        {"never moved", {}, {}, {C::Previous}, false},
    };
    for (const Case& c : cases) {
        Windows w;
        bool dropped = false;
        {
            CDragTracker drag(w, w.source, 7, 9);
            EXPECT_EQ(w.captured, w.source) << c.name;
            for (int x : c.moves)
                drag.OnMouseMove(x, 10);
            dropped = drag.OnButtonUp();
            EXPECT_FALSE(drag.IsActive()) << c.name;
        }
        EXPECT_EQ(dropped, c.dropped) << c.name;
        EXPECT_EQ(w.sent, c.sent) << c.name;
        EXPECT_EQ(w.cursors, c.cursors) << c.name;
        EXPECT_EQ(w.captured, nullptr) << c.name;
    }
}

TEST(CDragTracker, TheMouseGoesBackToItsHolderAndALostCaptureDropsNothing) {
    Windows w;
    w.captured = w.holder;
    {
        CDragTracker drag(w, w.source, 1, 2);
        EXPECT_EQ(w.captured, w.source);
        drag.OnMouseMove(150, 0);
        drag.OnCaptureLost();
        EXPECT_FALSE(drag.OnButtonUp());
    }
    EXPECT_EQ(w.captured, w.holder);
    EXPECT_EQ(w.sent, (std::vector<std::string>{"query taker 1,2"}));
    EXPECT_EQ(w.cursors.back(), C::Previous);
}

// A small serialisable object.
class Sample : public CObject {
public:
    std::uint32_t value = 0;
    std::string text;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << value << std::string_view(text);
        else
            ar >> value >> text;
    }
};

// The drag file in a temporary folder of the test's own; no runtime folder
// unless a test gives one.
class DragFileTest : public ::testing::Test {
protected:
    DragFileTest() {
        for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR"}) {
            const char* old = std::getenv(name);
            m_saved.push_back({name, old != nullptr, old ? old : ""});
        }
        setenv("TMPDIR", (m_home.Path() / "tmp").c_str(), 1);
        unsetenv("XDG_RUNTIME_DIR");
        fs::create_directories(m_home.Path() / "tmp");
    }
    ~DragFileTest() override {
        for (const auto& [name, had, value] : m_saved) {
            if (had)
                setenv(name, value.c_str(), 1);
            else
                unsetenv(name);
        }
    }
    fs::path Folder() const {
        return m_home.Path() / "tmp" / ("tvane-" + std::to_string(::geteuid()));
    }
    static fs::perms Perms(const fs::path& path) {
        return fs::symlink_status(path).permissions() & fs::perms::mask;
    }

    test::TempHome m_home;
    struct Saved {
        const char* name;
        bool had;
        std::string value;
    };
    std::vector<Saved> m_saved;
};

TEST_F(DragFileTest, EachDragOverwritesTheOneDragFile) {
    EXPECT_EQ(GetDragFileName(), (Folder() / "~Qm-mttts.tmp").string());
    Sample first;
    first.value = 11;
    first.text = "a long first object";
    ASSERT_TRUE(SaveDragObject(first));
    Sample second;
    second.value = 22;
    second.text = "b";
    ASSERT_TRUE(SaveDragObject(second));
    Sample read;
    ASSERT_TRUE(LoadDragObject(read));
    EXPECT_EQ(read.value, 22u);
    EXPECT_EQ(read.text, "b");
    EXPECT_EQ(fs::file_size(GetDragFileName()), 4u + 1u + 1u);
}

// Only this user reaches the drag file: its folder is the user's runtime
// folder or a folder of the user's own, and the file itself is the user's.
TEST_F(DragFileTest, TheDragFileIsTheUsersOwn) {
    Sample sample;
    sample.value = 3;
    ASSERT_TRUE(SaveDragObject(sample));
    EXPECT_EQ(Perms(Folder()), fs::perms::owner_all);
    EXPECT_EQ(Perms(GetDragFileName()), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::directory_iterator(Folder())->path().filename(), "~Qm-mttts.tmp")
        << "nothing else is left in the folder";

    // Another program's file of the same name in the shared folder is no
    // concern of this user's drags.
    test::WriteFile(m_home.Path() / "tmp" / "~Qm-mttts.tmp", "someone else's");
    ASSERT_TRUE(SaveDragObject(sample));

    // A folder of that name that others reach is not used.
    fs::permissions(Folder(), fs::perms::all);
    EXPECT_FALSE(SaveDragObject(sample));
    Sample read;
    EXPECT_FALSE(LoadDragObject(read));
    fs::permissions(Folder(), fs::perms::owner_all);

    // The runtime folder when there is one of the user's own.
    const fs::path runtime = m_home.Path() / "run";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    EXPECT_EQ(GetDragFileName(), (runtime / "~Qm-mttts.tmp").string());
    ASSERT_TRUE(SaveDragObject(sample));
    EXPECT_TRUE(fs::exists(runtime / "~Qm-mttts.tmp"));
    fs::permissions(runtime, fs::perms::all);
    EXPECT_EQ(GetDragFileName(), (Folder() / "~Qm-mttts.tmp").string());
}

TEST_F(DragFileTest, AFileLargerThanTheBoundIsNotRead) {
    Sample sample;
    ASSERT_TRUE(SaveDragObject(sample));
    // Sparse: it costs nothing to make, and reading it would cost 3 GiB.
    fs::resize_file(GetDragFileName(), std::uintmax_t{3} << 30);
    Sample read;
    EXPECT_FALSE(LoadDragObject(read));
    fs::resize_file(GetDragFileName(), kMaxDragFileBytes + 1);
    EXPECT_FALSE(LoadDragObject(read));
}

TEST_F(DragFileTest, TheDragFileGoesWhenTheDragEnds) {
    for (bool drop : {true, false}) {
        Sample sample;
        ASSERT_TRUE(SaveDragObject(sample));
        Windows w;
        {
            CDragTracker drag(w, w.source, 1, 2);
            drag.OnMouseMove(drop ? 150 : 250, 0);
            EXPECT_EQ(drag.OnButtonUp(), drop);
        }
        EXPECT_FALSE(fs::exists(GetDragFileName())) << drop;
    }
}

TEST_F(DragFileTest, ALinkInThePlaceOfTheDragFileIsNeitherFollowedNorRead) {
    const fs::path victim = m_home.Path() / "victim.txt";
    test::WriteFile(victim, "keep me");
    fs::create_symlink(victim, GetDragFileName());
    Sample read;
    EXPECT_FALSE(LoadDragObject(read));
    Sample sample;
    sample.value = 5;
    ASSERT_TRUE(SaveDragObject(sample));
    EXPECT_EQ(test::ReadFile(victim), "keep me");
    EXPECT_FALSE(fs::is_symlink(GetDragFileName()));
    ASSERT_TRUE(LoadDragObject(read));
    EXPECT_EQ(read.value, 5u);
}

TEST_F(DragFileTest, AMissingOrShortFileLoadsNothing) {
    Sample read;
    EXPECT_FALSE(LoadDragObject(read));
    test::WriteFile(GetDragFileName(), "\x01\x02");
    EXPECT_FALSE(LoadDragObject(read));
}

} // namespace
} // namespace tvane
