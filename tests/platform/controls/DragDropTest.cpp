#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

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

// The drag file in a temporary folder of the test's own.
class DragFileTest : public ::testing::Test {
protected:
    DragFileTest() {
        const char* old = std::getenv("TMPDIR");
        m_hadTmp = old != nullptr;
        if (old)
            m_oldTmp = old;
        setenv("TMPDIR", (m_home.Path() / "tmp").c_str(), 1);
        fs::create_directories(m_home.Path() / "tmp");
    }
    ~DragFileTest() override {
        if (m_hadTmp)
            setenv("TMPDIR", m_oldTmp.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    fs::path Folder() const { return m_home.Path() / "tmp"; }

    test::TempHome m_home;
    bool m_hadTmp = false;
    std::string m_oldTmp;
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
