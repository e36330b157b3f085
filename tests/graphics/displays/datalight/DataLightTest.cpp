#include <gtest/gtest.h>

#include "graphics/displays/datalight/CDataLEDFrame.h"
#include "graphics/displays/indicator/RecordingDC.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/displays/indicator/ArchiveBytes.h"
#include "tests/graphics/displays/indicator/GaugeFakes.h"

namespace {

using gaugetest::Channel;
using Op = RecordingDC::Op;
using M = IGaugeWindowClient::Mouse;
constexpr unsigned kDataLightCommand = 32885;
constexpr std::uint32_t kOn = 0x0000FF, kOff = 0x000040;

class DataLightTest : public ::testing::Test {
protected:
    CDataLEDFrame* Add() { return page.Add<CDataLEDFrame>(kDataLightCommand); }
    RecordingDC Paint(CDataLEDFrame* frame) {
        RecordingDC dc;
        frame->GetLEDWnd()->Paint(dc, page.gauges.Of(frame->GetLEDWnd())->GetClientRect());
        return dc;
    }
    std::vector<std::uint32_t> Lamps(CDataLEDFrame* frame) {
        std::vector<std::uint32_t> colors;
        for (const auto& e : Paint(frame).Of(Op::Ellipse))
            colors.push_back(e.color);
        return colors;
    }
    void Answer(std::int32_t channel, double value) {
        CReadingInfo answer;
        answer.m_channel = channel;
        answer.m_value = value;
        page.view.OnUpdate(nullptr, HINT_ACTION_RESULT, &answer);
    }
    void NewReadings() { page.view.OnUpdate(nullptr, HINT_NEW_READINGS, {}); }
    std::vector<CReadingInfo> Requests() {
        page.Deliver();
        std::vector<CReadingInfo> r = page.doc.actions;
        page.doc.actions.clear();
        page.doc.asks.clear();
        return r;
    }

    gaugetest::GaugePage page;
};

TEST_F(DataLightTest, APortByteLightsTheLampsOfItsSetBits) {
    page.doc.channels = {Channel(301, 0x400, "Port")};
    CDataLEDFrame* frame = Add();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsDigitalReadDisplay());
    frame->SetByteDisplay(true);
    EXPECT_TRUE(frame->IsByteDisplay());
    EXPECT_EQ(frame->GetChannelFilter(), 0x400u);
    const std::vector<CReadingInfo> asked = Requests();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().m_request, CReadingInfo::kRequestQuery);
    EXPECT_EQ(asked.back().m_channel, 301);
    Answer(301, 0x81);
    EXPECT_EQ(Lamps(frame),
              (std::vector<std::uint32_t>{kOn, kOff, kOff, kOff, kOff, kOff, kOff, kOn}));
    const RecordingDC dc = Paint(frame);
    for (const char* label : {"7", "6", "0", "Port"})
        EXPECT_TRUE(dc.FindText(label)) << label;
    // Lamps of a block touch; the first cell is left empty.
    const auto lamps = dc.Of(Op::Ellipse);
    EXPECT_EQ(lamps[1].rect.left, lamps[0].rect.right);
    EXPECT_EQ(lamps[0].outline, 0x808000u);
    // Only the lamps that changed are repainted.
    gaugetest::FakeGaugeWindow* window = page.gauges.Of(frame->GetLEDWnd());
    window->invalidated.clear();
    window->erased.clear();
    Answer(301, 0x83);
    ASSERT_EQ(window->invalidated.size(), 1u);
    EXPECT_EQ(window->invalidated[0], lamps[6].rect);
    EXPECT_FALSE(window->erased[0]);
}

TEST_F(DataLightTest, ABitChannelLampFollowsItsBit) {
    page.doc.channels = {Channel(302, 4, "Bit 3", 8)};
    CDataLEDFrame* frame = Add();
    EXPECT_FALSE(frame->IsByteDisplay());
    EXPECT_EQ(frame->GetChannelFilter(), 4u);
    const CIndicatorArray* block = frame->GetLEDWnd()->Blocks().Blocks().GetAt(0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->GetAt(0)->GetLabel(), "Bit 3");
    EXPECT_EQ(block->m_caption, "<302>");
    for (const auto& [value, on] :
         std::vector<std::pair<double, bool>>{{8, true}, {7, false}, {255, true}, {-9, false}}) {
        Answer(302, value);
        EXPECT_EQ(Lamps(frame), std::vector<std::uint32_t>{on ? kOn : kOff}) << value;
    }
    // An answer for a channel no block shows changes no lamp but is kept.
    Answer(303, 8);
    EXPECT_EQ(Lamps(frame), std::vector<std::uint32_t>{kOff});
    EXPECT_EQ(frame->GetLEDWnd()->GetRequest().m_channel, 303);
}

TEST_F(DataLightTest, TheReadButtonAsksForEveryBlockAtOnce) {
    page.doc.channels = {Channel(302, 4, "Bit 3", 8), Channel(303, 4, "Bit 4", 16)};
    CDataLEDFrame* frame = Add();
    const CChannelInfo second = Channel(303, 4, "Bit 4", 16);
    frame->SetChannelAt(2, &second);
    Requests();
    CDataLEDWnd* wnd = frame->GetLEDWnd();
    ASSERT_TRUE(Paint(frame).FindText("Read"));
    const GRect button = wnd->GetReadButton().GetRect();
    const GPoint inside{button.left + 1, button.top + 1};
    // Press, drag out of the data area, release: nothing.
    wnd->OnMouse(M::LeftDown, inside);
    wnd->OnMouse(M::Move, {inside.x, -40});
    wnd->OnMouse(M::LeftUp, inside);
    EXPECT_TRUE(Requests().empty());
    // Press, release beside the button: one batch of reads, in block order.
    wnd->OnMouse(M::LeftDown, inside);
    wnd->OnMouse(M::LeftUp, {button.right + 20, inside.y});
    page.Deliver();
    EXPECT_EQ(page.doc.asks, (std::vector<bool>{true, false}));
    const std::vector<CReadingInfo> reads = Requests();
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[0].m_channel, 302);
    EXPECT_EQ(reads[1].m_channel, 303);
    EXPECT_EQ(reads[0].m_request, CReadingInfo::kRequestRead);
    // A switch channel (which the channel page offers too) is never read: a
    // read would close or open it.
    const CChannelInfo relay = Channel(401, 0x80, "Relay");
    frame->SetChannelAt(3, &relay);
    Requests();
    wnd->OnMouse(M::LeftDown, inside);
    wnd->OnMouse(M::LeftUp, inside);
    const std::vector<CReadingInfo> mixed = Requests();
    ASSERT_EQ(mixed.size(), 3u);
    EXPECT_EQ(mixed[2].m_channel, 401);
    EXPECT_EQ(mixed[2].m_request, CReadingInfo::kRequestQuery);
    EXPECT_EQ(mixed[1].m_request, CReadingInfo::kRequestRead);
}

TEST_F(DataLightTest, ScanModeFollowsTheReadingsEveryNScans) {
    page.doc.channels = {Channel(301, 0x400, "Port")};
    CDataLEDFrame* frame = Add();
    frame->SetByteDisplay(true);
    CDataLEDWnd* wnd = frame->GetLEDWnd();
    Paint(frame);
    const GRect button = wnd->GetReadButton().GetRect();
    frame->SetAcquisitionMode(CDataLEDWnd::kScan);
    Requests();
    EXPECT_FALSE(Paint(frame).FindText("Read"));
    // Where the button was, a click does nothing.
    wnd->OnMouse(M::LeftDown, {button.left + 1, button.top + 1});
    wnd->OnMouse(M::LeftUp, {button.left + 1, button.top + 1});
    EXPECT_TRUE(Requests().empty());
    frame->SetUpdateRate(2);
    page.doc.Add(301, 0xF0);
    NewReadings();
    EXPECT_EQ(Lamps(frame)[0], kOff);
    NewReadings();
    EXPECT_EQ(Lamps(frame),
              (std::vector<std::uint32_t>{kOn, kOn, kOn, kOn, kOff, kOff, kOff, kOff}));
    // Scan start and end: every lamp off.
    page.view.OnUpdate(nullptr, HINT_SCAN_STATE, {});
    EXPECT_EQ(Lamps(frame), std::vector<std::uint32_t>(8, kOff));
}

TEST_F(DataLightTest, ModeChangesStartAgainWithTheFirstChannel) {
    page.doc.channels = {Channel(302, 4, "Bit 3", 8), Channel(303, 4, "Bit 4", 16)};
    CDataLEDFrame* frame = Add();
    const CChannelInfo second = Channel(303, 4, "Bit 4", 16);
    frame->SetChannelAt(5, &second);
    EXPECT_EQ(frame->GetLEDWnd()->Blocks().BlockCount(), 2);
    frame->SetAcquisitionMode(CDataLEDWnd::kScan);
    EXPECT_EQ(frame->GetLEDWnd()->Blocks().BlockCount(), 1);
    EXPECT_EQ(frame->GetLEDWnd()->Blocks().Blocks().GetAt(0)->m_channel, 302);
    EXPECT_EQ(frame->GetChannelArray()->GetAt(5), nullptr);
    // No channel: "No connection" and no button.
    page.doc.channels.clear();
    frame->SetAcquisitionMode(CDataLEDWnd::kImmediate);
    const RecordingDC dc = Paint(frame);
    EXPECT_EQ(dc.Texts(), (std::vector<std::string>{"No connection"}));
}

TEST_F(DataLightTest, LoadedModesAndBlocksAreChecked) {
    page.doc.channels = {Channel(302, 4, "Bit 3", 8)};
    CDataLEDFrame* frame = Add();
    const auto good = displaytest::StoreObject(frame);
    EXPECT_EQ(displaytest::StoreObject(displaytest::LoadObject<CDataLEDFrame>(good).get()), good);
    // A block of one lamp in a byte display.
    frame->GetLEDWnd()->SetDisplayMode(CDataLEDWnd::kByteDisplay);
    EXPECT_THROW(displaytest::LoadObject<CDataLEDFrame>(displaytest::StoreObject(frame)),
                 tvane::CArchiveException);
    frame->GetLEDWnd()->SetDisplayMode(CDataLEDWnd::kBitDisplay);
    frame->GetLEDWnd()->SetAcquisitionMode(3);
    EXPECT_THROW(displaytest::LoadObject<CDataLEDFrame>(displaytest::StoreObject(frame)),
                 tvane::CArchiveException);
}

} // namespace
