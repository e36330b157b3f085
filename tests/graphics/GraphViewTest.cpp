#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <set>

#include "GraphFakes.h"
#include "GraphicsTestSupport.h"
#include "graphics/CDisplayToClipboard.h"
#include "graphics/CGraphView.h"
#include "graphics/DisplayDrag.h"
#include "graphics/GraphFactory.h"
#include "graphics/GraphMessages.h"
#include "graphics/GraphPageLayout.h"
#include "graphics/displays/text/CTextFrame.h"
#include "platform/controls/DragDrop.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/displays/text/TextFakes.h"
#include "tests/support/TempHome.h"

namespace {

using namespace graphicstest;

constexpr unsigned kText = 32817;

// A text display that counts hints and can be told to answer its sheet.
class CountingFrame : public CTextFrame {
public:
    long OnViewHint(long hint, const HintObject& object) override {
        hints.push_back(hint);
        return CTextFrame::OnViewHint(hint, object);
    }
    bool HideDuringPropertiesEdit() const override { return hides; }
    std::vector<long> hints;
    bool hides = false;
};

// The sheet: answers OK or Cancel and says which page was active.
class FakeSheetRunner : public IGraphSheetRunner {
public:
    bool Run(CGraphFrame& frame, const std::vector<int>& pages, unsigned caption, int start,
             int& active) override {
        edited = &frame;
        lastPages = pages;
        lastCaption = caption;
        starts.push_back(start);
        active = activeOnClose;
        if (ok && newTitle)
            frame.SetTitle(*newTitle);
        return ok;
    }
    bool RunPageProperties(std::uint32_t&, std::string&) override { return false; }
    bool ok = true;
    int activeOnClose = 0;
    std::optional<std::string> newTitle;
    CGraphFrame* edited = nullptr;
    std::vector<int> lastPages;
    unsigned lastCaption = 0;
    std::vector<int> starts;
};

class GraphViewTest : public ::testing::Test {
protected:
    GraphViewTest() {
        graphgeo::FramePlacer::Program().SetCounter(0);
        view.SetClipboard(&clipboard);
        SetGraphSheetRunner(&sheet);
    }
    ~GraphViewTest() override {
        SetGraphSheetRunner(nullptr);
        tvane::MessageBus::DeliverPosted();
    }
    CTextFrame* Add(unsigned command = kText) {
        EXPECT_TRUE(view.CreateDisplay(command));
        return static_cast<CTextFrame*>(view.GetSelected());
    }
    std::vector<CGraphFrame*> Frames() const {
        return {view.GetFrameList()->begin(), view.GetFrameList()->end()};
    }

    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    FakeTextWindows textWindows;
    FakeViewWindow window;
    FakeGraphDocument doc;
    FakeClipboard clipboard;
    FakeSheetRunner sheet;
    CGraphView view{&window, &doc};
};

TEST_F(GraphViewTest, NewDisplaysCascadeAndEachBecomesTheSelection) {
    CTextFrame* a = Add();
    EXPECT_EQ(a->GetTitle(), "Text");
    EXPECT_EQ(a->GetFrameRect(), (GRect{10, 10, 190, 66}));
    CTextFrame* b = Add();
    EXPECT_EQ(b->GetFrameRect().left, 20);
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_TRUE(CGraphView::IsLayoutChanged());
}

TEST_F(GraphViewTest, DisplaysNotBuiltYetAndUnknownCommandsAreNotImplemented) {
    // A Graphics menu command no family has registered yet, and one unknown.
    std::vector<unsigned> commands{12345u};
    for (const graphfactory::DisplayCommand& c : graphfactory::DisplayCommands())
        if (graphfactory::FrameClassOf(c.commandId).empty())
            commands.push_back(c.commandId);
    for (unsigned command : commands) {
        EXPECT_FALSE(view.CreateDisplay(command));
        ASSERT_FALSE(prompter.asked.empty());
        EXPECT_EQ(prompter.asked.back().text, "This graph is currently not implemented.");
    }
    EXPECT_EQ(view.GetFrameCount(), 0);
    // Every command of the Graphics menu is known to the factory.
    EXPECT_EQ(graphfactory::DisplayCommands().size(), 12u);
    EXPECT_EQ(graphfactory::TitleOf(*graphfactory::FindCommand(701)), "Readout");
}

TEST_F(GraphViewTest, CtrlTabCyclesThroughTheDisplaysAndNone) {
    view.SelectNext(); // an empty page: nothing happens
    EXPECT_EQ(view.GetSelected(), nullptr);
    Add();
    Add();
    Add();
    view.DeselectAll();
    const std::vector<CGraphFrame*> frames = Frames();
    std::vector<CGraphFrame*> seen;
    for (int i = 0; i < 5; ++i) {
        view.SelectNext();
        seen.push_back(view.GetSelected());
    }
    EXPECT_EQ(seen,
              (std::vector<CGraphFrame*>{frames[0], frames[1], frames[2], nullptr, frames[0]}));
    view.OnBackgroundClick();
    EXPECT_EQ(view.GetSelected(), nullptr);
    EXPECT_EQ(window.pageFocus, 1);
}

TEST_F(GraphViewTest, DeleteAsksWhenThePreferenceSaysSo) {
    Add();
    prompter.Script({tvane::MsgAnswer::No});
    view.DeleteSelected();
    EXPECT_EQ(view.GetFrameCount(), 1);
    EXPECT_EQ(prompter.asked.back().text, "Are you sure you want to delete this graphic?");
    prompter.Script({tvane::MsgAnswer::Yes});
    view.DeleteSelected();
    EXPECT_EQ(view.GetFrameCount(), 0);
    EXPECT_EQ(view.GetSelected(), nullptr);

    Add();
    doc.preferences[10005] = false;
    const std::size_t asked = prompter.asked.size();
    // The close button goes the same way.
    Frames()[0]->OnCloseButton();
    EXPECT_EQ(view.GetFrameCount(), 0);
    EXPECT_EQ(prompter.asked.size(), asked);
}

TEST_F(GraphViewTest, HintsReachEveryDisplayOrOnlyTheRefreshTarget) {
    auto* a = new CountingFrame;
    auto* b = new CountingFrame;
    ASSERT_TRUE(a->CreateFrame(&view));
    ASSERT_TRUE(b->CreateFrame(&view));
    view.GetFrameList()->AddTail(a);
    view.GetFrameList()->AddTail(b);
    for (long hint : {3344L, 3347L, 3348L, 3354L, 3355L, 3359L})
        view.OnUpdate(nullptr, hint, {});
    EXPECT_TRUE(a->hints.empty());
    for (long hint : {3345L, 3346L, 3349L, 3350L, 3351L, 3352L, 3353L, 3356L, 3357L, 3358L})
        view.OnUpdate(nullptr, hint, {});
    EXPECT_EQ(a->hints.size(), 10u);
    EXPECT_EQ(b->hints.size(), 10u);
    view.RefreshFrame(*b);
    EXPECT_EQ(doc.resends, 1);
    EXPECT_EQ(a->hints.size(), 10u);
    EXPECT_EQ(b->hints.back(), HINT_NEW_READINGS);
    EXPECT_EQ(view.GetRefreshTarget(), nullptr);
}

TEST_F(GraphViewTest, ThePageArchiveKeepsNameColourAndDisplaysTopmostFirst) {
    CTextFrame* a = Add();
    CTextFrame* b = Add();
    a->GetTextBox()->SetText("alpha");
    b->GetTextBox()->SetText("beta");
    // a is brought to the top: it is stored first.
    window.stack = {a->GetWindow(), b->GetWindow()};
    window.tab = "Boiler";
    view.SetBackColor(0x0000FF);
    const Bytes bytes = Store([&](tvane::CArchive& ar) { view.Serialize(ar); });
    EXPECT_EQ(U32At(bytes, 0), 0x0000FFu);
    EXPECT_EQ(bytes[4], 6);

    FakeViewWindow otherWindow;
    CGraphView loaded(&otherWindow, &doc);
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    ASSERT_TRUE(loaded.OnInitialUpdate(true));
    EXPECT_EQ(otherWindow.tab, "Boiler");
    EXPECT_EQ(loaded.GetBackColor(), 0x0000FFu);
    ASSERT_EQ(loaded.GetFrameCount(), 2);
    CGraphFrame* first = nullptr;
    std::string title;
    ASSERT_TRUE(loaded.GetFrameAt(0, first, title));
    EXPECT_EQ(static_cast<CTextFrame*>(first)->GetTextBox()->GetText(), "alpha");
    EXPECT_FALSE(loaded.GetFrameAt(2, first, title));
    // The stacking comes back as it was: a stores first again.
    ASSERT_TRUE(loaded.GetFrameAt(0, first, title));
    ASSERT_EQ(otherWindow.stack.size(), 2u);
    EXPECT_EQ(otherWindow.stack.front(), first->GetWindow());
    EXPECT_EQ(Store([&](tvane::CArchive& ar) { loaded.Serialize(ar); }), bytes);

    // A page whose displays cannot be made says so.
    FakeViewWindow failing;
    failing.failCreate = true;
    CGraphView broken(&failing, &doc);
    Load(bytes, [&](tvane::CArchive& ar) { broken.Serialize(ar); });
    EXPECT_FALSE(broken.OnInitialUpdate(true));
    EXPECT_EQ(prompter.asked.back().text, "Unable to create graph view");
}

TEST_F(GraphViewTest, ScrollingMovesTheDisplaysAndThePositionsAreKept) {
    ASSERT_TRUE(view.OnInitialUpdate(false));
    // Twice the full-screen client size, a tenth of it a page.
    EXPECT_EQ(window.vBar, (FakeViewWindow::Bar{1476, 147, 0}));
    EXPECT_EQ(window.hBar, (FakeViewWindow::Bar{2048, 204, 0}));
    CTextFrame* a = Add();
    CGraphView::SetLayoutChanged(false);
    EXPECT_TRUE(view.OnScroll(true, graphgeo::ScrollCode::PageDown));
    EXPECT_TRUE(view.OnScroll(false, graphgeo::ScrollCode::LineDown));
    EXPECT_EQ(window.vBar.pos, 147);
    EXPECT_EQ(window.hBar.pos, 1);
    EXPECT_EQ(a->GetWindow()->GetWindowRect(), (GRect{9, -137, 189, -81}));
    // A thumb position alone, or a line up from the top, moves nothing.
    EXPECT_FALSE(view.OnScroll(true, graphgeo::ScrollCode::ThumbPosition, 3));
    EXPECT_FALSE(view.OnScroll(false, graphgeo::ScrollCode::PageUp) &&
                 view.OnScroll(false, graphgeo::ScrollCode::LineUp));
    EXPECT_EQ(view.m_hScroll, 0);
    EXPECT_TRUE(view.OnScroll(false, graphgeo::ScrollCode::LineDown));

    // Stored with the page and shown again by a page that loads it.
    const Bytes bytes = Store([&](tvane::CArchive& ar) { view.Serialize(ar); });
    FakeViewWindow otherWindow;
    CGraphView loaded(&otherWindow, &doc);
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    ASSERT_TRUE(loaded.OnInitialUpdate(true));
    EXPECT_EQ(otherWindow.vBar.pos, 147);
    EXPECT_EQ(otherWindow.hBar.pos, 1);
    EXPECT_EQ(loaded.GetFrameList()->GetHead()->GetFrameRect(), (GRect{9, -137, 189, -81}));
    EXPECT_TRUE(loaded.OnScroll(true, graphgeo::ScrollCode::Top));
    EXPECT_EQ(loaded.GetFrameList()->GetHead()->GetWindow()->GetWindowRect().top, 10);
}

TEST_F(GraphViewTest, TabNameAndColourMessages) {
    const tvane::Message empty{graphmsg::TabNameChange(), 0, 0, "", nullptr};
    EXPECT_EQ(tvane::MessageBus::Send(view, empty), 0);
    EXPECT_EQ(window.tab, "Graphics Setup 1");
    EXPECT_EQ(tvane::MessageBus::Send(view, {graphmsg::TabNameChange(), 0, 0, "Pumps", nullptr}),
              1);
    EXPECT_EQ(window.tab, "Pumps");
    const std::uint32_t color = 0x00FF00;
    EXPECT_EQ(tvane::MessageBus::Send(view, {graphmsg::TabWndColorChange(), 0, 0, {}, &color}), 1);
    EXPECT_EQ(view.GetBackColor(), color);
    window.pageAnswer = std::make_pair(0x112233u, std::string("Tanks"));
    EXPECT_TRUE(view.EditPageProperties()); // no selection: the page's own sheet
    EXPECT_EQ(window.tab, "Tanks");
    EXPECT_EQ(view.GetBackColor(), 0x112233u);
}

TEST_F(GraphViewTest, PropertiesWorkOnACloneThatReplacesTheDisplayOnlyOnOK) {
    CTextFrame* a = Add();
    CTextFrame* original = Add();
    original->GetTextBox()->SetText("note");
    const Bytes before = CGraphView::StoreFrame(*original);

    sheet.ok = false;
    sheet.activeOnClose = 0;
    EXPECT_FALSE(view.EditSelectedProperties());
    EXPECT_EQ(Frames(), (std::vector<CGraphFrame*>{a, original}));
    EXPECT_EQ(view.GetSelected(), original);
    EXPECT_TRUE(original->IsSelected());
    EXPECT_EQ(CGraphView::StoreFrame(*original), before);
    EXPECT_FALSE(clipboard.puts); // the user's clipboard is left alone
    EXPECT_EQ(sheet.lastPages, (std::vector<int>{200}));
    EXPECT_EQ(sheet.lastCaption, 114u);

    sheet.ok = true;
    sheet.newTitle = "Notes";
    EXPECT_TRUE(view.EditSelectedProperties());
    const std::vector<CGraphFrame*> frames = Frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], a);
    EXPECT_NE(frames[1], original); // the clone, in the original's place
    EXPECT_EQ(frames[1]->GetTitle(), "Notes");
    EXPECT_EQ(frames[1]->GetFrameRect(), (GRect{20, 20, 200, 76}));
    EXPECT_EQ(static_cast<CTextFrame*>(frames[1])->GetTextBox()->GetText(), "note");
    EXPECT_EQ(view.GetSelected(), frames[1]);
    EXPECT_EQ(frames[1]->GetStateFlag(), 1);
}

TEST_F(GraphViewTest, TheSheetReopensOnThePageLeftWithOKNotWithCancel) {
    Add();
    sheet.activeOnClose = 0;
    view.EditSelectedProperties();
    sheet.ok = false;
    sheet.activeOnClose = 0;
    view.EditSelectedProperties();
    // A display with several pages: OK on page 2 is remembered, Cancel on 1 is not.
    CGraphFrame frame;
    sheet.ok = true;
    sheet.activeOnClose = 2;
    EXPECT_TRUE(EditGraphProperties(frame, {201, 200, 134}, 111));
    sheet.ok = false;
    sheet.activeOnClose = 1;
    EXPECT_FALSE(EditGraphProperties(frame, {201, 200, 134}, 111));
    EditGraphProperties(frame, {201, 200, 134}, 111); // opens where OK left it
    EXPECT_EQ(sheet.starts.back(), 2);
    EXPECT_EQ(frame.GetLastSheetPage(), 2);
}

TEST_F(GraphViewTest, AHiddenDisplayIsShownAgainWhenItsCloneCannotBeMade) {
    auto* frame = new CountingFrame;
    frame->hides = true;
    ASSERT_TRUE(frame->CreateFrame(&view));
    frame->GetWindow()->Show(true);
    view.GetFrameList()->AddTail(frame);
    view.SelectFrame(frame);
    // The clone's window cannot be made.
    window.failCreate = true;
    EXPECT_FALSE(view.EditSelectedProperties());
    EXPECT_TRUE(frame->GetWindow()->IsVisible());
    EXPECT_EQ(view.GetSelected(), frame);
    EXPECT_EQ(view.GetFrameCount(), 1);
    // And after Cancel.
    window.failCreate = false;
    sheet.ok = false;
    EXPECT_FALSE(view.EditSelectedProperties());
    EXPECT_TRUE(frame->GetWindow()->IsVisible());
}

// A display's drag: its frame passes the drop messages to its page, which
// takes a display from any other page through the drag file.
TEST_F(GraphViewTest, ADisplayDroppedFromAnotherPageArrivesWithTheSameArchive) {
    tvane::test::TempHome home;
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string keptTmp = oldTmp ? oldTmp : "";
    setenv("TMPDIR", home.Path().c_str(), 1);

    FakeViewWindow otherWindow;
    CGraphView other{&otherWindow, &doc};
    other.SetClipboard(&clipboard);
    ASSERT_NE(other.GetDragId(), view.GetDragId());
    ASSERT_TRUE(other.CreateDisplay(kText));
    auto* source = static_cast<CTextFrame*>(other.GetSelected());
    source->GetTextBox()->SetText("dragged");
    CDisplayToClipboard object(source);
    ASSERT_TRUE(tvane::SaveDragObject(object));

    CTextFrame* here = Add();
    using tvane::dragmsg::DoDrop;
    using tvane::dragmsg::QueryDrop;
    const auto send = [&](tvane::MessageTarget& to, tvane::MessageId id, long long second) {
        return tvane::MessageBus::Send(to, {id, displaydrag::kDisplay, second, {}, nullptr});
    };
    // Asked through a display of the page, or the page itself.
    EXPECT_EQ(send(*here, QueryDrop(), other.GetDragId()), 1);
    EXPECT_EQ(send(*here, QueryDrop(), view.GetDragId()), 0); // from this page
    EXPECT_EQ(tvane::MessageBus::Send(view, {QueryDrop(), 1234, other.GetDragId(), {}, nullptr}),
              0); // something else than a display
    EXPECT_EQ(send(view, DoDrop(), view.GetDragId()), 0);
    EXPECT_EQ(view.GetFrameCount(), 1);

    EXPECT_EQ(send(*here, DoDrop(), other.GetDragId()), 1);
    ASSERT_EQ(view.GetFrameCount(), 2);
    CGraphFrame* dropped = view.GetSelected();
    ASSERT_NE(dropped, here);
    EXPECT_EQ(CGraphView::StoreFrame(*dropped), CGraphView::StoreFrame(*source));
    EXPECT_EQ(other.GetFrameCount(), 1); // the source keeps its display

    // A drag file that does not read drops nothing.
    tvane::test::WriteFile(tvane::GetDragFileName(), "\xFF\xFF\x00");
    EXPECT_EQ(send(view, DoDrop(), other.GetDragId()), 0);
    EXPECT_EQ(view.GetFrameCount(), 2);

    if (oldTmp)
        setenv("TMPDIR", keptTmp.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

TEST_F(GraphViewTest, CopyThenPasteGivesADisplayWithTheSameArchive) {
    CTextFrame* a = Add();
    a->GetTextBox()->SetText("copied");
    ASSERT_TRUE(view.CanCopy());
    EXPECT_FALSE(view.CanPaste());
    EXPECT_TRUE(view.OnEditCopy());
    ASSERT_TRUE(view.CanPaste());
    EXPECT_EQ(clipboard.pictureOf, a);
    EXPECT_EQ(a->GetStateFlag(), 1);
    EXPECT_EQ(window.restoredFocus, window.focusSaves);
    const Bytes original = CGraphView::StoreFrame(*a);
    EXPECT_EQ(*clipboard.archive, original);

    std::optional<GRect> placedAt;
    view.SetRectTracker([&](const GRect& r) -> std::optional<GRect> {
        placedAt = r;
        return r;
    });
    ASSERT_TRUE(view.Paste(true));
    EXPECT_EQ(placedAt, a->GetFrameRect());
    CGraphFrame* pasted = view.GetSelected();
    ASSERT_NE(pasted, a);
    EXPECT_EQ(CGraphView::StoreFrame(*pasted), original);

    // A cancelled placement adds nothing and says nothing.
    view.SetRectTracker([](const GRect&) { return std::optional<GRect>{}; });
    const std::size_t asked = prompter.asked.size();
    EXPECT_FALSE(view.Paste(true));
    EXPECT_EQ(view.GetFrameCount(), 2);
    EXPECT_EQ(prompter.asked.size(), asked);

    // Cut copies and deletes without a question.
    view.OnEditCut();
    EXPECT_EQ(view.GetFrameCount(), 1);
    EXPECT_EQ(prompter.asked.size(), asked);
}

TEST_F(GraphViewTest, AClipboardFailureLeavesTheDisplayFocusAndCaptureAsTheyWere) {
    CTextFrame* a = Add();
    clipboard.reachable = false;
    EXPECT_FALSE(view.OnEditCopy());
    EXPECT_EQ(prompter.asked.back().text, "ERROR: Cannot access the Clipboard!");
    EXPECT_EQ(a->GetStateFlag(), 1);
    EXPECT_EQ(window.captureReleases, 1);
    EXPECT_EQ(window.restoredFocus, window.focusSaves);
    // While scanning the state flag is not touched at all.
    doc.scanning = true;
    a->SetStateFlag(5);
    clipboard.reachable = true;
    view.OnEditCopy();
    EXPECT_EQ(a->GetStateFlag(), 5);
    // A paste of bytes that do not read is reported.
    clipboard.archive = Bytes{1, 2, 3};
    EXPECT_FALSE(view.Paste(false));
    EXPECT_EQ(prompter.asked.back().text, "Unable to perform edit paste operation");
}

TEST_F(GraphViewTest, ABurstOfRequestsIsServedOnceWithoutDroppingAnotherWindowsRequest) {
    CTextFrame* a = Add();
    CTextFrame* b = Add();
    int sourceA = 0, sourceB = 0;
    CReadingInfo request;
    request.m_channel = 301;
    request.m_request = CReadingInfo::kRequestWrite;
    for (int i = 0; i < 3; ++i) {
        request.m_value = i;
        a->PostRequest(&sourceA, request);
    }
    request.m_channel = 302;
    b->PostRequest(&sourceB, request, 1);
    request.m_value = 99; // the posted copies are their own
    tvane::MessageBus::DeliverPosted();
    ASSERT_EQ(doc.actions.size(), 2u);
    EXPECT_EQ(doc.actions[0].m_channel, 301);
    EXPECT_EQ(doc.actions[0].m_value, 0.0);
    EXPECT_TRUE(doc.asks[0]);
    EXPECT_EQ(doc.actions[1].m_channel, 302);
    EXPECT_FALSE(doc.asks[1]);

    // A window that takes another channel after asking for one still learns
    // the new channel's state: queries are never dropped.
    doc.actions.clear();
    CReadingInfo query;
    query.m_request = CReadingInfo::kRequestQuery;
    for (std::int32_t channel : {211, 302}) {
        query.m_channel = channel;
        a->PostRequest(&sourceA, query);
    }
    request.m_channel = 302;
    a->PostRequest(&sourceA, request);
    tvane::MessageBus::DeliverPosted();
    ASSERT_EQ(doc.actions.size(), 2u);
    EXPECT_EQ(doc.actions[0].m_channel, 211);
    EXPECT_EQ(doc.actions[1].m_channel, 302);
    EXPECT_EQ(doc.actions[1].m_request, CReadingInfo::kRequestQuery);
}

TEST_F(GraphViewTest, ABatchOfOneWindowsRequestsIsServedWholeInOrder) {
    CTextFrame* a = Add();
    int source = 0;
    std::vector<CReadingInfo> batch(3);
    for (int i = 0; i < 3; ++i) {
        batch[i].m_channel = 301 + i;
        batch[i].m_request = CReadingInfo::kRequestRead;
    }
    a->PostRequests(&source, batch);
    batch[1].m_channel = 999;     // the posted copies are their own
    a->PostRequests(&source, {}); // nothing to ask
    tvane::MessageBus::DeliverPosted();
    ASSERT_EQ(doc.actions.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(doc.actions[i].m_channel, 301 + i);
    // Only the first may ask to download the setup.
    EXPECT_EQ(doc.asks, (std::vector<bool>{true, false, false}));
}

TEST_F(GraphViewTest, APagePrintsItsFooterAndItsDisplaysBottomFirst) {
    CTextFrame* a = Add();
    CTextFrame* b = Add();
    a->GetTextBox()->SetText("lower");
    b->GetTextBox()->SetText("upper");
    window.stack = {b->GetWindow(), a->GetWindow()}; // b on top
    RecordingDC dc;
    view.PrintPage(dc, false);
    std::vector<std::string> texts;
    for (const std::string& op : dc.ops)
        if (op.rfind("text:", 0) == 0 || op.rfind("offset:", 0) == 0)
            texts.push_back(op);
    // The footer of page 1 of 1 at the bottom centre of the 400 x 300 page.
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0], "text:Page 1/1");
    EXPECT_EQ(dc.textPos[0], (GPoint{200 - 6 * 8 / 2, 300 - 10 - 10}));
    const auto lower = std::find(texts.begin(), texts.end(), "text:lower");
    const auto upper = std::find(texts.begin(), texts.end(), "text:upper");
    ASSERT_NE(lower, texts.end());
    ASSERT_NE(upper, texts.end());
    EXPECT_LT(lower, upper);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "offset:12,12"), texts.end());

    // On a sheet taller than the page the footer goes to the sheet's foot.
    RecordingDC sheet;
    view.PrintPage(sheet, false, GRect{0, 0, 400, 620});
    ASSERT_FALSE(sheet.textPos.empty());
    EXPECT_EQ(sheet.textPos[0], (GPoint{200 - 6 * 8 / 2, 620 - 10 - 10}));

    // The selection alone: the selected display and the footer.
    RecordingDC selection;
    view.SelectFrame(a);
    view.PrintPage(selection, true);
    std::size_t shown = 0;
    for (const std::string& op : selection.ops)
        shown += op == "text:lower" || op == "text:upper";
    EXPECT_EQ(shown, 1u);
    EXPECT_EQ(selection.ops[selection.ops.size() - 2], "text:Page 1/1");
}

// Text displays damaged in one stored value each: refused with the archive's
// error by the archive, and by Edit Paste with its message.
TEST_F(GraphViewTest, DamagedDisplayArchivesAreRefusedWithTheArchivesError) {
    const auto damaged = std::vector<std::pair<const char*, std::function<void(CTextFrame&)>>>{
        {"rectangle over the whole 32-bit range",
         [](CTextFrame& f) {
             f.SetFrameRect({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
         }},
        {"rectangle right of its right edge",
         [](CTextFrame& f) {
             f.SetFrameRect({50, 10, 20, 40});
         }},
        {"rectangle beyond the page",
         [](CTextFrame& f) {
             f.SetFrameRect({0, 0, 10, 1 << 24});
         }},
        {"negative inset", [](CTextFrame& f) { f.m_inset = -10; }},
        {"inset wider than any display", [](CTextFrame& f) { f.m_inset = 1 << 20; }},
        {"a billion channel slots", [](CTextFrame& f) { f.m_channelCapacity = 1000000000; }},
        {"a billion scans kept", [](CTextFrame& f) { f.m_retainCount = 1000000000; }},
        {"region of NaN", [](CTextFrame& f) { f.GetRegion()->SetRegion(NAN, 0.0, 1.0, 1.0); }},
        {"region beyond the data area",
         [](CTextFrame& f) { f.GetRegion()->SetRegion(0, 0, 3, 1); }},
        {"text box font 3e9 pixels high",
         [](CTextFrame& f) {
             LOGFONT lf;
             lf.lfHeight = static_cast<std::int32_t>(3000000000u);
             f.GetTextBox()->m_font.SetLogFont(lf);
         }},
    };
    for (const auto& [what, damage] : damaged) {
        SCOPED_TRACE(what);
        CTextFrame* text = Add();
        ASSERT_NE(text, nullptr);
        text->DestroyWindow(); // the stored values as they are, not as a window has them
        damage(*text);
        const Bytes bytes = CGraphView::StoreFrame(*text);
        view.RemoveFrame(text);
        try {
            Load(bytes, [](tvane::CArchive& ar) { CDisplayToClipboard().Serialize(ar); });
            ADD_FAILURE() << "loaded";
        } catch (const tvane::CArchiveException& e) {
            EXPECT_EQ(e.GetCause(), tvane::CArchiveException::generic) << e.what();
        }
        clipboard.archive = bytes;
        prompter = {};
        const int displays = view.GetFrameCount();
        EXPECT_FALSE(view.Paste(false));
        EXPECT_EQ(view.GetFrameCount(), displays);
        ASSERT_FALSE(prompter.asked.empty());
        EXPECT_EQ(prompter.asked.back().text, "Unable to perform edit paste operation");
    }
}

// Payloads that refer back to an object read before, in the place of a text
// display's text box: a class, a display that is not a text box, an object
// its owner has released while the load ran (the frame's font), an object
// still owned. Each is refused with the archive's error and nothing of the
// object is called; so is an object index beyond any read.
TEST_F(GraphViewTest, ReferencesBackIntoADisplaysOwnArchiveAreRefused) {
    CTextFrame* text = Add();
    text->GetTextBox()->SetText("payload");
    const Bytes bytes = CGraphView::StoreFrame(*text);
    const std::string name = "CTextBox";
    const auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
    ASSERT_NE(at, bytes.end());
    // The text box's class tag starts 6 bytes before its name.
    const Bytes head(bytes.begin(), at - 6);
    std::set<int> causes;
    int gone = 0;
    for (int index = 1; index < 0x40; ++index) {
        SCOPED_TRACE(index);
        Bytes payload = head;
        payload.push_back(static_cast<std::uint8_t>(index));
        payload.push_back(0);
        try {
            Load(payload, [](tvane::CArchive& ar) { CDisplayToClipboard().Serialize(ar); });
            ADD_FAILURE() << "loaded";
        } catch (const tvane::CArchiveException& e) {
            causes.insert(e.GetCause());
            gone += std::string(e.what()).find("gone") != std::string::npos;
        }
        clipboard.archive = payload;
        const int displays = view.GetFrameCount();
        EXPECT_FALSE(view.Paste(false));
        EXPECT_EQ(view.GetFrameCount(), displays);
    }
    EXPECT_EQ(causes, (std::set<int>{tvane::CArchiveException::badClass,
                                     tvane::CArchiveException::badIndex}));
    EXPECT_GE(gone, 1) << "the frame's font, released by the frame while it loads";
}

// A display's place and size are what they were after a store and a load,
// selected or not, whatever its inset; twice over.
TEST_F(GraphViewTest, ADisplaysGeometryIsTheSameAfterEachStoreAndLoad) {
    CTextFrame* text = Add();
    text->GetWindow()->MoveWindow({33, 44, 233, 144}, false);
    text->m_inset = 10;
    ASSERT_TRUE(text->IsSelected());
    Bytes bytes = Store([&](tvane::CArchive& ar) { view.Serialize(ar); });
    for (int cycle = 0; cycle < 2; ++cycle) {
        SCOPED_TRACE(cycle);
        FakeViewWindow otherWindow;
        CGraphView loaded(&otherWindow, &doc);
        Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
        ASSERT_TRUE(loaded.OnInitialUpdate(true));
        CGraphFrame* back = loaded.GetFrameList()->GetHead();
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetFrameRect(), (GRect{33, 44, 233, 144}));
        EXPECT_EQ(back->m_inset, 10);
        loaded.SelectFrame(back);
        const Bytes again = Store([&](tvane::CArchive& ar) { loaded.Serialize(ar); });
        EXPECT_EQ(again, bytes);
        bytes = again;
    }
}

// The page layout after the setup: at most as many graphics pages as the main
// window's tab row holds next to the setup page; a longer list is refused
// before its titles are read, and no page is made for it.
TEST_F(GraphViewTest, ThePageLayoutHoldsAtMostFiveGraphicsPages) {
    std::vector<std::unique_ptr<CGraphView>> made;
    const auto make = [&]() -> CGraphView& {
        made.push_back(std::make_unique<CGraphView>(nullptr, &doc));
        return *made.back();
    };
    std::vector<std::unique_ptr<FakeViewWindow>> windows;
    std::vector<std::unique_ptr<CGraphView>> pages;
    for (int i = 0; i < 5; ++i) {
        windows.push_back(std::make_unique<FakeViewWindow>());
        pages.push_back(std::make_unique<CGraphView>(windows.back().get(), &doc));
        pages.back()->OnInitialUpdate(false);
        ASSERT_TRUE(pages.back()->CreateDisplay(kText));
    }
    for (std::uint32_t count : {1u, 5u}) {
        SCOPED_TRACE(count);
        const Bytes bytes = Store([&](tvane::CArchive& ar) {
            pagelayout::WriteHeader(ar, count, 1);
            std::vector<CGraphView*> stored;
            for (std::uint32_t i = 0; i < count; ++i)
                stored.push_back(pages[i].get());
            pagelayout::WritePages(ar, stored);
        });
        made.clear();
        Load(bytes, [&](tvane::CArchive& ar) {
            std::uint32_t selected = 0;
            ASSERT_EQ(pagelayout::ReadHeader(ar, selected), count);
            EXPECT_EQ(selected, 1u);
            EXPECT_TRUE(pagelayout::ReadPages(ar, count, make));
        });
        ASSERT_EQ(made.size(), count);
        EXPECT_EQ(made.back()->GetFrameCount(), 1);
    }
    for (std::uint32_t count : {6u, 3000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(count);
        ByteWriter w;
        w.U32(count);
        try {
            Load(w.bytes, [](tvane::CArchive& ar) {
                std::uint32_t selected = 0;
                pagelayout::ReadHeader(ar, selected);
            });
            ADD_FAILURE() << "read";
        } catch (const tvane::CArchiveException& e) {
            EXPECT_EQ(e.GetCause(), tvane::CArchiveException::generic) << e.what();
        }
    }
    // A file from before the pages were stored ends after the page list; any
    // other mark is refused.
    made.clear();
    Load({}, [&](tvane::CArchive& ar) { EXPECT_FALSE(pagelayout::ReadPages(ar, 2, make)); });
    EXPECT_TRUE(made.empty());
    ByteWriter other;
    other.U32(0x12345678);
    EXPECT_THROW(
        Load(other.bytes, [&](tvane::CArchive& ar) { pagelayout::ReadPages(ar, 2, make); }),
        tvane::CArchiveException);
}

} // namespace
