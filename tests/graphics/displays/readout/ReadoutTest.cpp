#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "graphics/displays/indicator/RecordingDC.h"
#include "graphics/displays/readout/CReadOutFrame.h"
#include "graphics/displays/readout/ReadoutPageModel.h"
#include "graphics/displays/readout/ReadoutText.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/displays/indicator/GaugeFakes.h"
#include "tests/support/CommaLocale.h"

namespace {

using gaugetest::Channel;
using Op = RecordingDC::Op;
constexpr unsigned kReadoutCommand = 701;

TEST(ReadoutText, ValuesAsTheReadoutShowsThem) {
    struct Case {
        const char* what;
        double value;
        std::int32_t format;
        CChannelInfo channel;
        const char* text;
        double kept;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"decimal", 12.5, 0, Channel(101, 1, "", 1, "VDC"), "12.50000  Vdc", 12.5},
        {"decimal temperature", -3.25, 0, Channel(101, 1, "", 1, "C"), "-3.250000 C", -3.25},
        {"hex", 10.7, 1, Channel(101, 0x400, "", 1, "VDC"), "000Ah VDC", 10.7},
        {"hex of a negative value", -1.0, 1, Channel(101, 0x400), "FFFFFFFFh ", -1.0},
        {"hex keeps the low 32 bits", 4294967301.0, 1, Channel(101, 2), "0005h ", 4294967301.0},
        {"hex beyond 64 bits", 1e30, 1, Channel(101, 2), "FFFFFFFFh ", 1e30},
        {"hex far below", -1e30, 1, Channel(101, 2), "0000h ", -1e30},
        {"hex of no number", nan, 1, Channel(101, 2), "0000h ", nan},
        {"overload", 9.9e37, 0, Channel(101, 1, "", 1, "OHM"), "OVLD Ohm", 9.9e37},
        {"negative overload in hex", -9.9e37, 1, Channel(101, 1, "", 1, "HZ"), "OVLD Hz", -9.9e37},
        {"bit set", 13.0, 0, Channel(302, 4, "Bit 3", 8), "1.000000 ", 1.0},
        {"bit clear", 7.9, 0, Channel(302, 4, "Bit 3", 8), "0.000000 ", 0.0},
    };
    const auto check = [&](const char* locale) {
        for (const Case& c : cases) {
            const auto shown = readouttext::Format(c.value, c.format, c.channel);
            ASSERT_TRUE(shown) << c.what << locale;
            EXPECT_EQ(shown->text, c.text) << c.what << locale;
            EXPECT_TRUE(shown->value == c.kept || (std::isnan(c.kept) && std::isnan(shown->value)))
                << c.what << locale;
        }
    };
    check("");
    {
        // The instrument's and the files' decimal point, whatever the user's locale.
        tvane::test::CommaLocale comma;
        EXPECT_TRUE(tvane::test::CommaLocale::Active());
        check(" in a locale with a decimal comma");
    }
    EXPECT_FALSE(readouttext::Format(readouttext::kNoValue, 0, Channel(101, 1)));
    // The text's field holds 79 characters.
    const auto longUnits =
        readouttext::Format(1.0, 1, Channel(101, 2, "", 1, std::string(100, 'u')));
    EXPECT_EQ(longUnits->text.size(), 79u);
}

class ReadoutTest : public ::testing::Test {
protected:
    CReadOutFrame* Add() { return page.Add<CReadOutFrame>(kReadoutCommand); }
    gaugetest::FakeGaugeWindow* WindowOf(CReadOutFrame* frame) {
        return page.gauges.Of(frame->GetReadout());
    }
    // What the readout shows in its window.
    RecordingDC Paint(CReadOutFrame* frame) {
        RecordingDC dc;
        frame->GetReadout()->Paint(dc, WindowOf(frame)->GetClientRect());
        return dc;
    }
    void NewReadings() { page.view.OnUpdate(nullptr, HINT_NEW_READINGS, {}); }

    gaugetest::GaugePage page;
};

TEST_F(ReadoutTest, ANewReadoutShowsNoReadingCentredOnBlack) {
    CReadOutFrame* frame = Add();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetTitle(), "Readout");
    // The whole data area below the title band.
    EXPECT_EQ(WindowOf(frame)->rect, frame->GetDataRect());
    const RecordingDC dc = Paint(frame);
    const GRect client = WindowOf(frame)->GetClientRect();
    EXPECT_EQ(dc.Of(Op::Fill).at(0).rect, client);
    EXPECT_EQ(dc.Of(Op::Fill).at(0).color, 0x000000u);
    const auto text = dc.FindText("No Reading");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->a.x, client.Width() / 2 - 35);
    EXPECT_EQ(text->a.y, (client.Height() - 13) / 2);
    // The no-alarm colour: the font's cyan is never drawn.
    EXPECT_EQ(text->color, 0x00FF00u);
    EXPECT_FALSE(dc.FindText("Read"));
}

TEST_F(ReadoutTest, AScannedChannelInItsAlarmColours) {
    page.doc.channels = {Channel(101, 1, "Oven", 1, "C")};
    CReadOutFrame* frame = Add();
    EXPECT_EQ(frame->GetTitle(), "Oven");
    struct Case {
        std::uint8_t alarm;
        std::uint32_t color;
    };
    // An alarm byte the lamps do not know keeps the colour it had.
    const Case cases[] = {
        {1, 0xFF0000}, {2, 0x0000FF}, {0, 0x00FF00}, {2, 0x0000FF}, {7, 0x0000FF}};
    double value = 20.0;
    for (const Case& c : cases) {
        page.doc.batch.clear();
        page.doc.Add(101, value += 1.0, c.alarm);
        NewReadings();
        const auto text = Paint(frame).FindText(frame->GetReadout()->GetText());
        ASSERT_TRUE(text);
        EXPECT_EQ(text->color, c.color) << int(c.alarm);
    }
    EXPECT_EQ(frame->GetReadout()->GetText(), "25.00000 C");
    // Scan start and end: "No Reading" again, the value kept.
    page.view.OnUpdate(nullptr, HINT_SCAN_STATE, {});
    EXPECT_EQ(frame->GetReadout()->GetText(), "No Reading");
    EXPECT_EQ(frame->GetReadout()->GetValue(), 25.0);
    EXPECT_EQ(frame->GetReadout()->GetAlarmState(), 0);
}

TEST_F(ReadoutTest, ANewTextRepaintsWhereTheLongerOfTheTwoLies) {
    page.doc.channels = {Channel(101, 1, "Oven", 1, "C")};
    CReadOutFrame* frame = Add();
    gaugetest::FakeGaugeWindow* window = WindowOf(frame);
    window->invalidated.clear();
    CReadout* readout = frame->GetReadout();
    ASSERT_TRUE(readout->SetText("A much longer text"));
    const GRect client = window->GetClientRect();
    const int width = 7 * 18;
    const GRect expected{(client.right - width) / 2 - 1, (client.bottom - 13) / 2 - 1,
                         (client.right - width) / 2 + width + 1, (client.bottom - 13) / 2 + 13 + 1};
    ASSERT_FALSE(window->invalidated.empty());
    EXPECT_EQ(window->invalidated.front(), expected);
    // A shorter text still clears the longer one.
    window->invalidated.clear();
    readout->SetText("x");
    EXPECT_EQ(window->invalidated.front(), expected);
    // Without a measure nothing changes.
    window->measurable = false;
    EXPECT_FALSE(readout->SetText("other"));
    EXPECT_EQ(readout->GetText(), "x");
}

TEST_F(ReadoutTest, EveryNScansWhileRunningAndStoredReadingsAtOnce) {
    page.doc.channels = {Channel(101, 1, "Oven", 1, "C")};
    CReadOutFrame* frame = Add();
    frame->SetUpdateRate(3);
    for (int call = 1; call <= 4; ++call) {
        page.doc.batch.clear();
        page.doc.Add(101, call);
        NewReadings();
        // Shown at the third scan; the fourth only counts.
        EXPECT_EQ(frame->GetReadout()->GetValue() == 3.0, call >= 3) << call;
    }
    // Stored readings: no counting; a channel without readings shows nothing.
    page.doc.stored = true;
    page.doc.batch.clear();
    page.doc.Add(101, 42.0);
    NewReadings();
    EXPECT_EQ(frame->GetReadout()->GetValue(), 42.0);
    page.doc.batch.clear();
    NewReadings();
    EXPECT_EQ(frame->GetReadout()->GetText(), "No Reading");
    // A channel chosen after the run shows its stored value at once.
    page.doc.Add(102, 7.0, 2, 55);
    const CChannelInfo other = Channel(102, 1, "Door", 1, "C");
    frame->SetChannelAt(0, &other);
    EXPECT_EQ(frame->GetReadout()->GetText(), "7.000000 C");
    EXPECT_EQ(frame->GetReadout()->GetAlarmState(), 2);
    EXPECT_EQ(frame->GetTitle(), "Door");
}

TEST_F(ReadoutTest, ImmediateModeReadsOnItsButtonOnly) {
    page.doc.channels = {Channel(301, 0x400, "Port", 1, "")};
    CReadOutFrame* frame = Add();
    frame->SetAcquisitionMode(CReadout::kImmediate);
    EXPECT_EQ(frame->GetChannelFilter(), 0x406u);
    EXPECT_EQ(frame->GetTitle(), "Port");
    page.Deliver();
    // Given the channel, it asks for its last known value.
    ASSERT_EQ(page.doc.actions.size(), 1u);
    EXPECT_EQ(page.doc.actions[0].m_request, CReadingInfo::kRequestQuery);
    EXPECT_EQ(page.doc.actions[0].m_channel, 301);
    // Scan readings change nothing.
    page.doc.Add(301, 5.0);
    NewReadings();
    EXPECT_EQ(frame->GetReadout()->GetText(), "No Reading");

    CReadout* readout = frame->GetReadout();
    gaugetest::FakeGaugeWindow* window = WindowOf(frame);
    const RecordingDC dc = Paint(frame);
    ASSERT_TRUE(dc.FindText("Read"));
    const GRect button = readout->GetReadButton()->GetRect();
    // The value is centred in what is left beside the button.
    const auto text = dc.FindText("No Reading");
    EXPECT_EQ(text->clip->left, button.right);
    const GPoint inside{button.left + 2, button.top + 2};
    using M = IGaugeWindowClient::Mouse;
    // Press, drag out of the display, back in, release: no read.
    readout->OnMouse(M::LeftDown, inside);
    EXPECT_TRUE(window->captured);
    EXPECT_EQ(readout->GetReadButton()->GetState(), 1);
    readout->OnMouse(M::Move, {inside.x, -window->rect.top - 5});
    EXPECT_FALSE(window->captured);
    readout->OnMouse(M::Move, inside);
    readout->OnMouse(M::LeftUp, inside);
    // Press and right click: no read.
    readout->OnMouse(M::LeftDown, inside);
    readout->OnMouse(M::RightDown, inside);
    readout->OnMouse(M::LeftUp, inside);
    page.Deliver();
    EXPECT_EQ(page.doc.actions.size(), 1u);
    // Press and release: one read.
    readout->OnMouse(M::LeftDouble, inside);
    readout->OnMouse(M::Move, {inside.x + 1, inside.y});
    readout->OnMouse(M::LeftUp, {0, 0});
    page.Deliver();
    ASSERT_EQ(page.doc.actions.size(), 2u);
    EXPECT_EQ(page.doc.actions[1].m_request, CReadingInfo::kRequestRead);
    EXPECT_EQ(page.doc.actions[1].m_channel, 301);
    EXPECT_TRUE(page.doc.asks[1]);

    // The answer shows; the alarm colour stays; another channel's does nothing.
    readout->SetAlarmState(1);
    CReadingInfo answer;
    answer.m_channel = 301;
    answer.m_value = 0x81;
    page.view.OnUpdate(nullptr, HINT_ACTION_RESULT, &answer);
    EXPECT_EQ(readout->GetValue(), 129.0);
    EXPECT_EQ(readout->GetAlarmState(), 1);
    answer.m_channel = 302;
    answer.m_value = 3;
    page.view.OnUpdate(nullptr, HINT_ACTION_RESULT, &answer);
    EXPECT_EQ(readout->GetValue(), 129.0);
    // Hexadecimal, and back; a bit channel takes decimal.
    frame->SetNumberFormat(readouttext::kHex);
    EXPECT_EQ(readout->GetText(), "0081h ");
}

TEST_F(ReadoutTest, WithoutAChannelNoButtonAndNoRequest) {
    CReadOutFrame* frame = Add();
    frame->SetAcquisitionMode(CReadout::kImmediate);
    CReadout* readout = frame->GetReadout();
    EXPECT_EQ(readout->GetChannel().Number, 2000);
    EXPECT_EQ(readout->GetText(), "No connection");
    EXPECT_EQ(frame->GetTitle(), "<None>");
    EXPECT_FALSE(Paint(frame).FindText("Read"));
    // Where a button would be, a click reads nothing.
    readout->OnMouse(IGaugeWindowClient::Mouse::LeftDown, {10, 15});
    readout->OnMouse(IGaugeWindowClient::Mouse::LeftUp, {10, 15});
    page.Deliver();
    EXPECT_TRUE(page.doc.actions.empty());
    // "No value": a format change shows nothing new.
    frame->SetNumberFormat(readouttext::kHex);
    EXPECT_EQ(readout->GetText(), "No connection");
}

TEST_F(ReadoutTest, ModeChangeTakesTheFirstChannelOfTheNewChoice) {
    page.doc.channels = {Channel(101, 1, "Oven", 1, "C"), Channel(301, 0x400, "Port")};
    CReadOutFrame* frame = Add();
    EXPECT_EQ(frame->GetFirstChannel()->Number, 101);
    page.doc.channels = {Channel(301, 0x400, "Port"), Channel(101, 1, "Oven", 1, "C")};
    frame->SetAcquisitionMode(CReadout::kImmediate);
    EXPECT_EQ(frame->GetFirstChannel()->Number, 301);
    EXPECT_EQ(frame->GetTitle(), "Port");
    // Every channel of those kinds is offered, scanned or not.
    EXPECT_FALSE(page.doc.askedActiveOnly);
    frame->RemoveChannelAt(0);
    EXPECT_EQ(frame->GetTitle(), "<None>");
    EXPECT_EQ(frame->GetReadout()->GetText(), "No connection");
}

TEST_F(ReadoutTest, AnswersBeforeTheWindowExistsAreIgnored) {
    CReadOutFrame frame;
    CReadingInfo answer;
    EXPECT_FALSE(frame.OnActionResult(&answer));
    EXPECT_FALSE(frame.OnNewReadings({}));
}

TEST_F(ReadoutTest, TheAdvancedPageOffersTheFormatsOfTheChannel) {
    page.doc.channels = {Channel(101, 1, "Oven", 1, "C"), Channel(301, 0x400, "Port"),
                         Channel(302, 4, "Bit 3", 8), Channel(401, 0x80, "Switch")};
    CReadOutFrame* frame = Add();
    ReadoutPageModel model(*frame);
    EXPECT_EQ(model.HelpId(), 11302);
    struct Case {
        std::size_t channel;
        bool decimal, hex;
        std::int32_t format;
    };
    // A port offers both; a measuring channel and a bit only Decimal, taken at
    // once; another kind leaves the buttons as they were.
    const Case cases[] = {{1, true, true, 1},
                          {0, true, false, 0},
                          {1, true, true, 0},
                          {2, true, false, 0},
                          {3, true, false, 0}};
    frame->SetNumberFormat(1);
    for (const Case& c : cases) {
        frame->SetChannelAt(0, &page.doc.channels[c.channel]);
        ReadoutPageModel::Controls controls;
        controls.hexEnabled = false;
        model.Update(controls);
        EXPECT_EQ(controls.decimalEnabled, c.decimal) << c.channel;
        EXPECT_EQ(controls.hexEnabled, c.hex) << c.channel;
        EXPECT_EQ(controls.format, c.format) << c.channel;
        EXPECT_EQ(frame->GetNumberFormat(), c.format) << c.channel;
    }
    frame->RemoveChannelAt(0);
    ReadoutPageModel::Controls none;
    model.Update(none);
    EXPECT_FALSE(none.decimalEnabled || none.hexEnabled);
    // Immediate mode: the update rate does not apply.
    model.SetMode(CReadout::kImmediate);
    model.Update(none);
    EXPECT_EQ(none.mode, CReadout::kImmediate);
    EXPECT_FALSE(none.rateEnabled);
    model.SetUpdateRate(12);
    EXPECT_EQ(frame->GetUpdateRate(), 12);
}

} // namespace
