#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/displays/indicator/RecordingDC.h"
#include "graphics/displays/pushbutton/CPushButtonFrame.h"
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
constexpr unsigned kPushButtonCommand = 32883;

class PushButtonTest
    : public toggletest::ToggleTest<CPushButtonFrame, &CPushButtonFrame::GetButtonWnd,
                                    kPushButtonCommand> {
protected:
    // The one write a press asked for; its value, or -1 when it asked for none or more.
    double Written() {
        const std::vector<CReadingInfo> asked = Requests();
        if (asked.size() != 1 || asked[0].m_request != CReadingInfo::kRequestWrite)
            return -1.0;
        return asked[0].m_value;
    }
    static void Press(CPushButtonFrame* frame, std::size_t block, std::size_t button) {
        Click(frame, block, button);
    }
};

TEST_F(PushButtonTest, CentresAndSizesInAFixedWindow) {
    page.doc.channels = {Channel(105, 0x40, "A"), Channel(106, 0x40, "B"),
                         Channel(301, 0x800, "Port")};
    CPushButtonFrame* frame = Add();
    ASSERT_NE(frame, nullptr);
    const CChannelInfo b = Channel(106, 0x40, "B");
    frame->SetChannelAt(4, &b);
    CPushButtonWnd* wnd = frame->GetButtonWnd();
    // Two blocks of one button in 300 x 200: cells of 300 / 3 = 100, the cell
    // 100 x 150 made square and shrunk by 25 on every side, half a cell in.
    RecordingDC dc(7, 13);
    wnd->Draw(dc, {0, 0, 300, 200});
    const CIndicatorBlockArray& blocks = wnd->Blocks().Blocks();
    EXPECT_EQ(blocks.GetIndicator(0, 0)->GetRect(), (GRect{75, 50, 125, 100}));
    EXPECT_EQ(blocks.GetIndicator(4, 0)->GetRect(), (GRect{175, 50, 225, 100}));
    EXPECT_EQ(dynamic_cast<const CPushButton*>(blocks.GetIndicator(0, 0))->m_rect2,
              (GRect{72, 47, 128, 103}));
    // Each block's caption under its button; the current button is framed.
    EXPECT_TRUE(dc.FindText("A"));
    EXPECT_TRUE(dc.FindText("B"));
    EXPECT_TRUE(dc.Balanced());

    // A port of eight in 600 x 200: cells of 600 / (5 + 1) = 100, the buttons
    // 50 wide side by side, labelled 7 down to 0.
    frame->SetByteDisplay(true);
    RecordingDC bytes(7, 13);
    wnd->Draw(bytes, {0, 0, 600, 200});
    for (std::size_t i = 0; i < 8; ++i) {
        const GRect r = blocks.GetIndicator(0, i)->GetRect();
        EXPECT_EQ(r,
                  (GRect{75 + 50 * static_cast<int>(i), 50, 125 + 50 * static_cast<int>(i), 100}))
            << i;
        EXPECT_EQ(blocks.GetIndicator(0, i)->GetLabel(), std::to_string(7 - i));
    }
    EXPECT_EQ(bytes.FindText("7")->a.x, 100 - 7 / 2); // centred under the first button

    frame->RemoveChannelAt(0);
    RecordingDC empty;
    wnd->Draw(empty, {0, 0, 300, 200});
    EXPECT_EQ(empty.Texts(), (std::vector<std::string>{"No connection"}));
}

TEST_F(PushButtonTest, APressWritesTheWholeValueAndTheAnswerSetsTheButtons) {
    page.doc.channels = {Channel(301, 0x800, "Port")};
    CPushButtonFrame* frame = Add();
    frame->SetByteDisplay(true);
    EXPECT_EQ(frame->GetChannelFilter(), 0x800u);
    const std::vector<CReadingInfo> query = Requests();
    ASSERT_EQ(query.size(), 1u);
    EXPECT_EQ(query[0].m_request, CReadingInfo::kRequestQuery);
    EXPECT_EQ(query[0].m_channel, 301);
    Answer(301, 0);
    Paint(frame);

    // The button labelled "3" writes 8 and shows down at once; again, 0.
    Press(frame, 0, 4);
    EXPECT_EQ(Written(), 8.0);
    EXPECT_EQ(States(frame), (std::vector<int>{0, 0, 0, 0, 1, 0, 0, 0}));
    Press(frame, 0, 4);
    EXPECT_EQ(Written(), 0.0);
    // "7" and "0" together: each press writes the whole byte.
    Press(frame, 0, 0);
    EXPECT_EQ(Written(), 128.0);
    Press(frame, 0, 7);
    EXPECT_EQ(Written(), 129.0);
    // The instrument's answer is what the buttons show; scan readings change nothing.
    Answer(301, 0x81);
    EXPECT_EQ(States(frame), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 1}));
    Answer(301, 0x06);
    page.view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
    EXPECT_EQ(States(frame), (std::vector<int>{0, 0, 0, 0, 0, 1, 1, 0}));
    Answer(302, 0xFF);
    EXPECT_EQ(States(frame), (std::vector<int>{0, 0, 0, 0, 0, 1, 1, 0}));
}

TEST_F(PushButtonTest, ReleasingAMultiBitButtonClearsItsBits) {
    // A bit display button of two bits is down when either is set; releasing
    // it clears both (flipping them would set the clear one).
    page.doc.channels = {Channel(302, 8, "Pair", 0x3)};
    CPushButtonFrame* frame = Add();
    Requests();
    Answer(302, 0x5);
    EXPECT_EQ(States(frame), (std::vector<int>{1}));
    Paint(frame);
    Press(frame, 0, 0);
    EXPECT_EQ(Written(), 4.0);
    // A one-bit channel of kind 8 is labelled with its name, cut to 9 characters.
    EXPECT_EQ(frame->GetButtonWnd()->Blocks().Blocks().GetIndicator(0, 0)->GetLabel(), "Pair");
}

TEST_F(PushButtonTest, KeysWrapAcrossSlotsAndMoveOnlyWithButtons) {
    page.doc.channels = {Channel(105, 0x40, "A")};
    CPushButtonFrame* frame = Add();
    const CChannelInfo c = Channel(107, 0x40, "C");
    frame->SetChannelAt(6, &c);
    CPushButtonWnd* wnd = frame->GetButtonWnd();
    Requests();
    // Left on the first button of the first block: the last populated block.
    wnd->OnKey(togglerules::kKeyLeft, false);
    EXPECT_EQ(wnd->Blocks().CurrentBlock(), 6);
    wnd->OnKey(togglerules::kKeyTab, false);
    EXPECT_EQ(wnd->Blocks().CurrentBlock(), 0);
    wnd->OnKey(togglerules::kKeyUp, false);
    EXPECT_EQ(Written(), 1.0);
    wnd->OnKey(togglerules::kKeyUp, false); // already down
    EXPECT_TRUE(Requests().empty());
    wnd->OnKey(togglerules::kKeyDown, false);
    EXPECT_EQ(Written(), 0.0);
    wnd->OnKey(togglerules::kKeyDown, false); // already up
    EXPECT_TRUE(Requests().empty());

    frame->RemoveChannelAt(0);
    frame->RemoveChannelAt(6);
    EXPECT_FALSE(wnd->OnKey(togglerules::kKeyRight, false));
    EXPECT_TRUE(Requests().empty());
}

// Paints the display's window at the top left of its frame, then prints the
// frame with the window further in: the element's rectangle must stay.
void ExpectPrintingKeepsTheRects(gaugetest::GaugePage& page, CGraphFrame& frame,
                                 CToggleBankWnd& wnd) {
    gaugetest::FakeGaugeWindow* window = page.gauges.Of(&wnd);
    ASSERT_NE(window, nullptr);
    window->rect = {0, 0, 300, 100};
    RecordingDC painted;
    wnd.Paint(painted, window->GetClientRect());
    const GRect shown = wnd.Blocks().Blocks().GetIndicator(0, 2)->GetRect();
    window->rect = {5, 40, 305, 140};
    RecordingDC printed;
    EXPECT_TRUE(frame.DrawFrame(printed, nullptr));
    EXPECT_TRUE(printed.Balanced());
    EXPECT_EQ(wnd.Blocks().Blocks().GetIndicator(0, 2)->GetRect(), shown);
    // The picture shows the element at the window's place.
    const GRect placed = shown.Offset(5, 40);
    const auto fills = printed.Of(RecordingDC::Op::Fill);
    EXPECT_TRUE(std::any_of(fills.begin(), fills.end(),
                            [&](const RecordingDC::Call& c) { return c.rect == placed; }));
}

TEST_F(PushButtonTest, PrintingLeavesWhereTheElementsAreHit) {
    // A printed or copied picture is drawn at the window's place in the frame;
    // a click is still tested against the window's own rectangles.
    page.doc.channels = {Channel(301, 0x800, "Port")};
    CPushButtonFrame* buttons = Add();
    buttons->SetByteDisplay(true);
    ExpectPrintingKeepsTheRects(page, *buttons, *buttons->GetButtonWnd());
    auto* bank = page.Add<CSwitchFrame>(32851);
    ASSERT_NE(bank, nullptr);
    bank->SetByteDisplay(true);
    ExpectPrintingKeepsTheRects(page, *bank, *bank->GetSwitchWnd());
}

std::vector<std::uint8_t> StoreButtonPage(CGraphView& view) {
    tvane::MemoryStream stream;
    tvane::CArchive ar(stream, tvane::CArchive::store);
    view.Serialize(ar);
    return stream.TakeBytes();
}

TEST_F(PushButtonTest, TwoSurviveSaveAndOpenAndCopyAndPaste) {
    page.doc.channels = {Channel(105, 0x40, "Relay"), Channel(301, 0x800, "Port")};
    CPushButtonFrame* first = Add();
    CPushButtonFrame* second = Add();
    second->SetByteDisplay(true);
    const CChannelInfo relay = Channel(105, 0x40, "Relay");
    first->SetChannelAt(3, &relay);
    GRAPHITEMPROPS props;
    props.mask = GRAPHITEMPROPS::kColor;
    props.color = 0x00FF00;
    EXPECT_TRUE(first->SetAppearanceItem(CPushButtonWnd::kItemButtonDown, props, false));
    props.mask = GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor;
    EXPECT_TRUE(second->GetAppearanceItem(CPushButtonWnd::kItemButtonUp, props));
    EXPECT_EQ(props.itemName, "Button Up");
    EXPECT_EQ(props.color, 0xC0C0C0u);
    Answer(301, 0x3C);
    Answer(105, 1);
    Paint(first);
    Paint(second);
    Requests();

    const std::vector<std::uint8_t> saved = StoreButtonPage(page.view);
    gaugetest::GaugePage opened;
    {
        tvane::MemoryStream stream(saved);
        tvane::CArchive ar(stream, tvane::CArchive::load);
        opened.view.Serialize(ar);
    }
    ASSERT_TRUE(opened.view.OnInitialUpdate(true));
    EXPECT_EQ(StoreButtonPage(opened.view), saved);
    std::vector<std::vector<std::uint8_t>> before, after;
    for (CGraphFrame* f : *page.view.GetFrameList())
        before.push_back(displaytest::StoreObject(f));
    for (CGraphFrame* f : *opened.view.GetFrameList())
        after.push_back(displaytest::StoreObject(f));
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);
    // After loading every block asks for its channel's state.
    opened.Deliver();
    std::vector<std::int32_t> asked;
    for (const CReadingInfo& r : opened.doc.actions) {
        EXPECT_EQ(r.m_request, CReadingInfo::kRequestQuery);
        asked.push_back(r.m_channel);
    }
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<std::int32_t>{105, 105, 301}));

    ExpectPastedCopiesAlike({first, second});
}

TEST_F(PushButtonTest, BadCountsAndModesRejectTheArchive) {
    page.doc.channels = {Channel(301, 0x800, "Port")};
    CPushButtonFrame* frame = Add();
    frame->SetByteDisplay(true);
    const auto good = displaytest::StoreObject(frame);
    EXPECT_EQ(displaytest::StoreObject(displaytest::LoadObject<CPushButtonFrame>(good).get()),
              good);
    CPushButtonWnd* wnd = frame->GetButtonWnd();
    // A bit display whose block holds eight buttons; a display mode of 7.
    for (std::int32_t mode : {0, 7}) {
        wnd->SetDisplayMode(mode);
        EXPECT_THROW(displaytest::LoadObject<CPushButtonFrame>(displaytest::StoreObject(frame)),
                     tvane::CArchiveException)
            << mode;
    }
    wnd->SetDisplayMode(CPushButtonWnd::kByteDisplay);
    // A button in a state that picks no brush.
    wnd->Blocks().Blocks().GetIndicator(0, 2)->SetState(2);
    EXPECT_THROW(displaytest::LoadObject<CPushButtonFrame>(displaytest::StoreObject(frame)),
                 tvane::CArchiveException);
    CPushButtonFrame help;
    for (int p = 0; p <= 3; ++p)
        EXPECT_EQ(help.GetHelpId(p), 11009 + 100 * p);
    EXPECT_EQ(help.GetHelpId(4), 11009);
}

} // namespace
