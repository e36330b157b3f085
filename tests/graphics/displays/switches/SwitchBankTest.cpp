#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/displays/indicator/RecordingDC.h"
#include "graphics/displays/switches/CSwitchFrame.h"
#include "graphics/displays/switches/ToggleRules.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/displays/indicator/ArchiveBytes.h"
#include "tests/graphics/displays/indicator/GaugeFakes.h"
#include "tests/graphics/displays/switches/ToggleFixture.h"

namespace {

using gaugetest::Channel;
using M = IGaugeWindowClient::Mouse;
constexpr unsigned kSwitchBankCommand = 32851;

using SwitchBankTest =
    toggletest::ToggleTest<CSwitchFrame, &CSwitchFrame::GetSwitchWnd, kSwitchBankCommand>;

TEST_F(SwitchBankTest, AByteAnswerSetsTheSwitchesLeftToRightAndAClickWritesTheWholeValue) {
    page.doc.channels = {Channel(105, 0x40, "Relay"), Channel(301, 0x800, "Port")};
    CSwitchFrame* frame = Add();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetChannelFilter(), 0x1D8u);
    frame->SetByteDisplay(true);
    ASSERT_TRUE(frame->IsByteDisplay());
    Requests();
    Answer(301, 0xA5);
    EXPECT_EQ(States(frame), (std::vector<int>{1, 0, 1, 0, 0, 1, 0, 1}));
    // Readings of a scan change nothing.
    page.view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
    EXPECT_EQ(States(frame), (std::vector<int>{1, 0, 1, 0, 0, 1, 0, 1}));

    Paint(frame);
    Click(frame, 0, 1); // bit 6 on
    std::vector<CReadingInfo> asked = Requests();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].m_request, CReadingInfo::kRequestWrite);
    EXPECT_EQ(asked[0].m_channel, 301);
    EXPECT_EQ(asked[0].m_value, 0xE5);
    Click(frame, 0, 0); // bit 7 off
    asked = Requests();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].m_value, 0x65);
    // The instrument's own answer is what the switches show.
    Answer(301, 0x0F);
    EXPECT_EQ(States(frame), (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 1}));
}

TEST_F(SwitchBankTest, SwitchingOffAMultiBitMaskClearsItsBits) {
    // A bit display switch of two bits is on when either is set; turning it
    // off clears both (flipping them would set the clear one and keep it on).
    page.doc.channels = {Channel(302, 8, "Pair", 0x3)};
    CSwitchFrame* frame = Add();
    Requests();
    Answer(302, 0x5);
    EXPECT_EQ(States(frame), (std::vector<int>{1}));
    Paint(frame);
    Click(frame, 0, 0);
    const std::vector<CReadingInfo> asked = Requests();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].m_value, 0x4);
    EXPECT_EQ(togglerules::ValueAfterToggle(0x5, 0x1, false), 0x4u);
    EXPECT_EQ(togglerules::ValueAfterToggle(0x4, 0x3, true), 0x7u);
}

TEST_F(SwitchBankTest, KeysWrapAcrossSlotsAndUpOnAnOnSwitchWritesNothing) {
    page.doc.channels = {Channel(105, 0x40, "A"), Channel(106, 0x40, "B"), Channel(107, 0x40, "C")};
    CSwitchFrame* frame = Add();
    const CChannelInfo b = Channel(106, 0x40, "B"), c = Channel(107, 0x40, "C");
    frame->SetChannelAt(3, &b);
    frame->SetChannelAt(7, &c);
    CSwitchWnd* wnd = frame->GetSwitchWnd();
    Requests();
    EXPECT_EQ(wnd->Blocks().CurrentBlock(), 0);
    struct Step {
        int key;
        bool shift;
        int block;
    } steps[] = {
        {togglerules::kKeyLeft, false, 7},    {togglerules::kKeyRight, false, 0},
        {togglerules::kKeyTab, false, 3},     {togglerules::kKeyTab, true, 0},
        {togglerules::kKeyBacktab, false, 7},
    };
    for (const Step& s : steps) {
        wnd->OnKey(s.key, s.shift);
        EXPECT_EQ(wnd->Blocks().CurrentBlock(), s.block) << s.key;
    }
    EXPECT_TRUE(Requests().empty());
    wnd->OnKey(togglerules::kKeyDown, false); // already off
    EXPECT_TRUE(Requests().empty());
    wnd->OnKey(togglerules::kKeyUp, false);
    std::vector<CReadingInfo> asked = Requests();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].m_channel, 107);
    EXPECT_EQ(asked[0].m_value, 1.0);
    wnd->OnKey(togglerules::kKeyUp, false); // already on
    EXPECT_TRUE(Requests().empty());
    wnd->OnKey(togglerules::kKeyDown, false);
    asked = Requests();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].m_value, 0.0);
}

TEST_F(SwitchBankTest, ChangingTheDisplayDropsTheChannelsAndTakesTheDefaultOne) {
    page.doc.channels = {Channel(105, 0x40, "Relay"), Channel(301, 0x800, "Port"),
                         Channel(302, 0x800, "Port 2")};
    CSwitchFrame* frame = Add();
    const CChannelInfo relay = Channel(105, 0x40, "Relay");
    frame->SetChannelAt(4, &relay);
    frame->SetByteDisplay(true);
    EXPECT_EQ(frame->GetChannelFilter(), 0x800u);
    EXPECT_EQ(frame->GetSwitchWnd()->Blocks().BlockCount(), 1);
    const CIndicatorArray* block = frame->GetSwitchWnd()->Blocks().Blocks().GetAt(0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->m_channel, 301);
    EXPECT_EQ(block->GetSize(), 8u);
    frame->SetByteDisplay(false);
    EXPECT_EQ(frame->GetChannelFilter(), 0x1D8u);
    EXPECT_EQ(frame->GetSwitchWnd()->Blocks().BlockCount(), 1);
    EXPECT_EQ(frame->GetSwitchWnd()->Blocks().Blocks().GetAt(0)->m_channel, 105);
    EXPECT_EQ(frame->GetSwitchWnd()->Blocks().Blocks().GetAt(4), nullptr);
    // An answer before the display is made changes nothing.
    CSwitchFrame unmade;
    CReadingInfo answer;
    EXPECT_FALSE(unmade.OnActionResult(&answer));
}

TEST_F(SwitchBankTest, GeometryOfTheSwitches) {
    page.doc.channels = {Channel(105, 0x40, "A"), Channel(106, 0x40, "B")};
    CSwitchFrame* frame = Add();
    const CChannelInfo b = Channel(106, 0x40, "B");
    frame->SetChannelAt(1, &b);
    RecordingDC dc(7, 13);
    frame->GetSwitchWnd()->Draw(dc, {0, 0, 300, 200});
    // Two blocks of one switch: columns of 300 / 3; the column 100 x 150
    // made square (100) and shrunk by 25; the legend in the first column.
    const CIndicatorBlockArray& blocks = frame->GetSwitchWnd()->Blocks().Blocks();
    EXPECT_EQ(blocks.GetIndicator(0, 0)->GetRect(), (GRect{125, 50, 175, 100}));
    EXPECT_EQ(blocks.GetIndicator(1, 0)->GetRect(), (GRect{225, 50, 275, 100}));
    const auto* sw = dynamic_cast<const CSwitch*>(blocks.GetIndicator(0, 0));
    // The lever's slot: centre (150, 75), 0.2 w = 10 across, 0.4 h = 20 down.
    EXPECT_EQ(sw->m_rects[1], (GRect{140, 55, 160, 95}));
    EXPECT_EQ(sw->m_rects[0], (GRect{122, 47, 178, 103}));
    const auto on = dc.FindText("On");
    ASSERT_TRUE(on);
    EXPECT_EQ(on->a, (GPoint{43, 44})); // centred on x 50, 13 / 2 above the body
    EXPECT_TRUE(dc.FindText("Off"));
    EXPECT_TRUE(dc.FindText("A"));
    EXPECT_TRUE(dc.Balanced());

    frame->RemoveChannelAt(0);
    frame->RemoveChannelAt(1);
    RecordingDC empty;
    frame->GetSwitchWnd()->Draw(empty, {0, 0, 300, 200});
    EXPECT_EQ(empty.Texts(), (std::vector<std::string>{"No connection"}));
}

// The archive of a page with one display per command.
std::vector<std::uint8_t> StoreSwitchPage(CGraphView& view) {
    tvane::MemoryStream stream;
    tvane::CArchive ar(stream, tvane::CArchive::store);
    view.Serialize(ar);
    return stream.TakeBytes();
}

TEST_F(SwitchBankTest, TwoBanksSurviveSaveAndOpenAndCopyAndPaste) {
    page.doc.channels = {Channel(105, 0x40, "Relay"), Channel(301, 0x800, "Port")};
    CSwitchFrame* first = Add();
    CSwitchFrame* second = Add();
    second->SetByteDisplay(true);
    const CChannelInfo relay = Channel(105, 0x40, "Relay");
    first->SetChannelAt(2, &relay);
    GRAPHITEMPROPS props;
    props.mask = GRAPHITEMPROPS::kColor | GRAPHITEMPROPS::kLabelText;
    props.color = 0x00FF00;
    props.labelText = "Closed";
    EXPECT_TRUE(first->SetAppearanceItem(CSwitchWnd::kItemOn, props, false));
    Answer(301, 0x3C);
    Paint(first);
    Paint(second);

    const std::vector<std::uint8_t> saved = StoreSwitchPage(page.view);
    gaugetest::GaugePage opened;
    {
        tvane::MemoryStream stream(saved);
        tvane::CArchive ar(stream, tvane::CArchive::load);
        opened.view.Serialize(ar);
    }
    ASSERT_TRUE(opened.view.OnInitialUpdate(true));
    EXPECT_EQ(opened.view.GetFrameCount(), 2);
    EXPECT_EQ(StoreSwitchPage(opened.view).size(), saved.size());
    std::vector<std::vector<std::uint8_t>> before, after;
    for (CGraphFrame* f : *page.view.GetFrameList())
        before.push_back(displaytest::StoreObject(f));
    for (CGraphFrame* f : *opened.view.GetFrameList())
        after.push_back(displaytest::StoreObject(f));
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);
    // After loading each block asks for its channel's state.
    opened.Deliver();
    std::vector<std::int32_t> asked;
    for (const CReadingInfo& r : opened.doc.actions)
        asked.push_back(r.m_channel);
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<std::int32_t>{105, 105, 301}));

    ExpectPastedCopiesAlike({first, second});
}

TEST_F(SwitchBankTest, BadCountsRejectTheArchive) {
    page.doc.channels = {Channel(301, 0x800, "Port")};
    CSwitchFrame* frame = Add();
    frame->SetByteDisplay(true);
    const auto good = displaytest::StoreObject(frame);
    EXPECT_EQ(displaytest::StoreObject(displaytest::LoadObject<CSwitchFrame>(good).get()), good);
    // The display mode says bit display while the block holds eight switches.
    frame->GetSwitchWnd()->SetDisplayMode(CSwitchWnd::kBitDisplay);
    EXPECT_THROW(displaytest::LoadObject<CSwitchFrame>(displaytest::StoreObject(frame)),
                 tvane::CArchiveException);
    frame->GetSwitchWnd()->SetDisplayMode(7);
    EXPECT_THROW(displaytest::LoadObject<CSwitchFrame>(displaytest::StoreObject(frame)),
                 tvane::CArchiveException);
    frame->GetSwitchWnd()->SetDisplayMode(CSwitchWnd::kByteDisplay);
    CSwitchFrame help;
    for (int p = 0; p <= 3; ++p)
        EXPECT_EQ(help.GetHelpId(p), 11008 + 100 * p);
    EXPECT_EQ(help.GetHelpId(4), 11008);
}

} // namespace
