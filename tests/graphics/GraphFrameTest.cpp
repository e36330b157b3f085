#include <gtest/gtest.h>

#include "GraphFakes.h"
#include "GraphicsTestSupport.h"
#include "graphics/CGraphFrame.h"
#include "graphics/CGraphView.h"
#include "graphics/GraphMessages.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "scan/CRunRecord.h"
#include "shared/CGraphException.h"
#include "shared/DocumentHints.h"

namespace {

using namespace graphicstest;

// A display that records which handlers the dispatcher reached.
class RecordingFrame : public CGraphFrame {
public:
    bool OnEventHint(const HintObject&) override { return Note("event"); }
    bool OnNewReadings(const HintObject&) override { return Note("readings"); }
    bool OnEventsChanged(const HintObject&) override { return Note("events"); }
    bool OnDatasetUpdate(const HintObject&) override { return Note("update"); }
    bool OnReading(const HintObject&) override { return Note("reading"); }
    bool OnActionResult(const CReadingInfo*) override { return Note("action"); }
    void OnScanState() override { Note("scan"); }
    void OnRetainHint() override {
        Note("retain");
        CGraphFrame::OnRetainHint();
    }
    void OnViewFlagsHint() override {
        Note("flags");
        CGraphFrame::OnViewFlagsHint();
    }
    bool OnChannelChanged(int slot, const CChannelInfo*) override {
        return Note("changed" + std::to_string(slot));
    }
    bool Note(const std::string& what) {
        seen.push_back(what);
        return true;
    }
    std::vector<std::string> seen;
};

class GraphFrameTest : public ::testing::Test {
protected:
    GraphFrameTest() {
        CChannelInfo a;
        a.Number = 101;
        a.Label = "<101>";
        CChannelInfo b;
        b.Number = 102;
        b.Label = "<102>";
        b.Scanned = 0;
        doc.channels = {a, b};
    }
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    FakeViewWindow window;
    FakeGraphDocument doc;
    CGraphView view{&window, &doc};
};

TEST_F(GraphFrameTest, TheDispatcherRoutesEachHintAndIgnoresTheRest) {
    RecordingFrame frame;
    ASSERT_TRUE(frame.CreateFrame(&view));
    CRunRecord run;
    run.m_kind = 3;
    run.m_time = 1.0;
    run.m_time2 = 2.0;
    run.m_time3 = 3.0;
    CReadingInfo answer;
    for (long hint : {3347L, 3348L, 3354L, 3355L, 9999L})
        EXPECT_EQ(frame.OnViewHint(hint, {}), 0);
    EXPECT_EQ(frame.OnViewHint(HINT_READING, {}), 0); // no object: no display
    frame.OnViewHint(HINT_READING, HintObject(&answer));
    frame.OnViewHint(HINT_NEW_READINGS, {});
    frame.OnViewHint(HINT_EVENT, HintObject(&run));
    frame.OnViewHint(HINT_DATASET_LOADED, {});
    frame.OnViewHint(HINT_ACTION_RESULT, HintObject(&answer));
    frame.OnViewHint(HINT_DATASET_UPDATE, {});
    frame.OnViewHint(HINT_SCAN_STATE, {});
    frame.OnViewHint(HINT_EVENTS_CHANGED, {});
    EXPECT_EQ(frame.seen,
              (std::vector<std::string>{"reading", "readings", "event", "retain", "flags", "event",
                                        "action", "update", "scan", "events"}));
    EXPECT_EQ(frame.m_timeValues[2], 3.0);
    EXPECT_EQ(doc.calls, (std::vector<std::string>{"retain1", "flags0"}));

    // While the frame takes no hints, none reaches a handler.
    frame.seen.clear();
    frame.m_receivesHints = 0;
    EXPECT_EQ(frame.OnViewHint(HINT_NEW_READINGS, {}), 0);
    EXPECT_TRUE(frame.seen.empty());
}

TEST_F(GraphFrameTest, ChannelEditsAndSetupChangesReachTheSlots) {
    RecordingFrame frame;
    frame.m_channelCapacity = 3;
    ASSERT_TRUE(frame.CreateFrame(&view));
    frame.SetChannelAt(0, &doc.channels[0]);
    frame.SetChannelAt(2, &doc.channels[1]);
    CChannelArray edited;
    CChannelInfo renamed = doc.channels[1];
    renamed.Name = "Flow";
    edited.Add(&renamed);
    frame.OnViewHint(HINT_CHANNEL_EDIT, HintObject(&edited));
    edited.RemoveAll();
    EXPECT_EQ(frame.GetChannelArray()->GetAt(2)->Name, "Flow");
    EXPECT_EQ(frame.seen, (std::vector<std::string>{"changed2"}));

    // Channel 102 is not scanned: with show-all off it leaves the display.
    doc.preferences[10006] = false;
    frame.OnViewHint(HINT_SETUP_CHANGED, {});
    EXPECT_TRUE(doc.askedActiveOnly);
    EXPECT_EQ(doc.askedMask, 0x403u);
    EXPECT_NE(frame.GetChannelArray()->GetAt(0), nullptr);
    EXPECT_EQ(frame.GetChannelArray()->GetAt(2), nullptr);

    CChannelInfo first;
    EXPECT_TRUE(frame.GetDefaultChannel(first));
    EXPECT_EQ(first.Number, 101);
    frame.RemoveChannelAt(1); // an empty slot is fine
}

TEST_F(GraphFrameTest, AppearanceItemsOfTheBase) {
    CGraphFrame frame;
    frame.SetTitleText("Tank");
    GRAPHITEMPROPS caption;
    caption.mask = GRAPHITEMPROPS::kLabelName | GRAPHITEMPROPS::kLabelText;
    EXPECT_TRUE(frame.GetAppearanceItem(7, caption));
    EXPECT_EQ(caption.labelName, "Caption");
    EXPECT_EQ(caption.labelText, "Tank");
    caption.mask |= GRAPHITEMPROPS::kColor;
    EXPECT_FALSE(frame.GetAppearanceItem(7, caption));

    GRAPHITEMPROPS color;
    color.mask = GRAPHITEMPROPS::kColor;
    color.color = 0x123456;
    color.channelIndex = 9;
    EXPECT_FALSE(frame.SetAppearanceItem(1, color, false)); // the display's answer decides
    EXPECT_EQ(frame.GetColorSlot(1), 0x123456u);

    GRAPHITEMPROPS title;
    title.mask = GRAPHITEMPROPS::kLabelText;
    title.labelText = "Boiler";
    EXPECT_TRUE(frame.SetAppearanceItem(7, title, true));
    EXPECT_EQ(frame.GetTitle(), "Boiler");
    EXPECT_EQ(frame.GetHelpId(4), frame.GetHelpId(0));
}

TEST_F(GraphFrameTest, TheArchiveStoresThePendingScansOnlyWithReadings) {
    CGraphFrame frame;
    ASSERT_TRUE(frame.CreateFrame(&view));
    frame.m_pendingScans = 7;
    frame.SetTitleText("Tank");
    doc.readings = 0;
    const Bytes without = Store([&](tvane::CArchive& ar) { frame.Serialize(ar); });
    doc.readings = 5;
    const Bytes with = Store([&](tvane::CArchive& ar) { frame.Serialize(ar); });
    ASSERT_EQ(with.size(), without.size() + 2);
    // The no-readings flag sits before the 16-bit count at the end.
    EXPECT_EQ(with[with.size() - 2], 7);

    CGraphFrame loaded;
    Load(without, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded.m_noReadings, 1);
    EXPECT_EQ(loaded.m_pendingScans, 0);
    EXPECT_EQ(loaded.GetTitle(), "Tank");
    EXPECT_EQ(loaded.m_rect, frame.GetFrameRect());
    EXPECT_EQ(loaded.m_textStyle->m_face, "Arial");
    EXPECT_EQ(loaded.m_timeStampFormat, "fmt0");
    CGraphFrame loadedWith;
    Load(with, [&](tvane::CArchive& ar) { loadedWith.Serialize(ar); });
    EXPECT_EQ(loadedWith.m_noReadings, 0);
    EXPECT_EQ(loadedWith.m_pendingScans, 7);
    // The bytes come back unchanged.
    EXPECT_EQ(Store([&](tvane::CArchive& ar) { loadedWith.Serialize(ar); }), without);
}

TEST_F(GraphFrameTest, AWindowThatCannotBeMadeThrowsCreateFailed) {
    CGraphFrame frame;
    window.failCreate = true;
    try {
        frame.CreateFrame(&view);
        FAIL();
    } catch (const CGraphException& e) {
        EXPECT_EQ(e.SourceFile(), "Graphfrm");
        EXPECT_EQ(e.Cause(), "Create Failed");
    }
}

TEST_F(GraphFrameTest, SelectionPostsFromTheMouseButNotFromAnAlreadySelectedFrame) {
    CGraphFrame* frame = new CGraphFrame;
    ASSERT_TRUE(frame->CreateFrame(&view));
    view.GetFrameList()->AddTail(frame);
    frame->OnLButtonDown();
    EXPECT_EQ(tvane::MessageBus::PendingCount(), 1u);
    tvane::MessageBus::DeliverPosted();
    EXPECT_EQ(view.GetSelected(), frame);
    EXPECT_TRUE(static_cast<FakeFrameWindow*>(frame->GetWindow())->selectedLook);
    frame->OnLButtonDown();
    EXPECT_EQ(tvane::MessageBus::PendingCount(), 1u);
    tvane::MessageBus::DeliverPosted();
    EXPECT_EQ(tvane::MessageBus::Send(*frame, {graphmsg::ObjectSelect(), 0, 0, {}, frame}), 1);
    EXPECT_EQ(tvane::MessageBus::PendingCount(), 0u);
}

TEST_F(GraphFrameTest, ARegionWithoutWindowIsSkippedAndTheOthersFollowTheSize) {
    CGraphFrame frame;
    ASSERT_TRUE(frame.CreateFrame(&view));
    struct : IRegionWindow {
        void MoveWindow(const GRect& r, bool) override { rect = r; }
        GRect rect;
    } child;
    CRegion placed(&child, 0.0, 0.0, 1.0, 0.5);
    CRegion loose;
    EXPECT_TRUE(frame.AddRegion(&loose));
    EXPECT_TRUE(frame.AddRegion(&placed));
    frame.GetWindow()->MoveWindow({0, 0, 104, 84}, true);
    frame.OnSize();
    EXPECT_EQ(child.rect, (GRect{0, 16, 50, 80})); // client 100 x 80, below the title band
    EXPECT_TRUE(CGraphView::IsLayoutChanged());
}

} // namespace
