// The slider display over fake windows: its channel and requests, the value
// box, keys and the mouse through the slider, the orientation layouts, and
// what it stores.
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/CGraphView.h"
#include "graphics/GraphFactory.h"
#include "graphics/displays/slider/CSliderFrame.h"
#include "graphics/displays/slider/SliderRules.h"
#include "scan/CChannelArray.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/GraphFakes.h"
#include "tests/graphics/GraphicsTestSupport.h"
#include "tests/graphics/displays/indicator/GaugeFakes.h"
#include "tests/graphics/displays/slider/SliderFakes.h"
#include "tests/graphics/displays/text/TextFakes.h"

namespace {

using namespace graphicstest;
using slidertest::FakeSliderWindow;
using slidertest::FakeSliderWindows;

constexpr unsigned kSliderCommand = 32884;

class SliderFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        page.doc.channels = {gaugetest::Channel(204, 0x20, "Pump"), gaugetest::Channel(205, 0x20)};
    }
    CSliderFrame* Add() {
        auto* made = page.Add<CSliderFrame>(kSliderCommand);
        page.Deliver();
        return made;
    }
    // The writes the document was asked for.
    std::vector<double> Writes() const {
        std::vector<double> out;
        for (const CReadingInfo& r : page.doc.actions)
            if (r.m_request == CReadingInfo::kRequestWrite)
                out.push_back(r.m_value);
        return out;
    }
    void Answer(std::int32_t channel, double value) {
        CReadingInfo answer;
        answer.m_channel = channel;
        answer.m_value = value;
        page.view.OnUpdate(nullptr, HINT_ACTION_RESULT, HintObject(&answer));
    }
    void Type(CSliderFrame& slider, const std::string& text, int key = '\r') {
        text_.textBox->text = text;
        EXPECT_TRUE(slider.OnBoxKey(key));
        page.Deliver();
    }

    FakeTextWindows text_;
    FakeSliderWindows sliders;
    gaugetest::GaugePage page;
};

TEST_F(SliderFrameTest, ANewSliderTakesTheFirstAnalogOutputAndAsksItsState) {
    EXPECT_EQ(graphfactory::FrameClassOf(kSliderCommand), "CSliderFrame");
    CSliderFrame* slider = Add();
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(page.doc.askedMask, 0x20u);
    EXPECT_EQ(slider->GetTitle(), "Pump");
    EXPECT_EQ(slider->GetOrientation(), SliderModel::kVertical);
    EXPECT_EQ(slider->GetWindow()->GetWindowRect().Width(), 62);
    EXPECT_EQ(slider->GetWindow()->GetWindowRect().Height(), 170);
    double lower = 0, upper = 0;
    slider->GetLimits(lower, upper);
    EXPECT_EQ(lower, -12.0);
    EXPECT_EQ(upper, 12.0);
    EXPECT_EQ(slider->GetResolution(), 0.001);
    EXPECT_EQ(text_.textBox->text, "5.000");
    EXPECT_TRUE(text_.textBox->shown);
    ASSERT_EQ(page.doc.actions.size(), 1u);
    EXPECT_EQ(page.doc.actions[0].m_request, CReadingInfo::kRequestQuery);
    EXPECT_EQ(page.doc.actions[0].m_channel, 204);
    for (int p : {0, 1, 2, 3, 4})
        EXPECT_EQ(slider->GetHelpId(p), p <= 3 ? 11010 + 100 * p : 11010) << p;

    // The answer for another channel is not the slider's.
    Answer(205, 7.0);
    EXPECT_EQ(slider->GetValue(), 5.0);
    Answer(204, 0.0);
    EXPECT_EQ(slider->GetValue(), 0.0);
    EXPECT_EQ(text_.textBox->text, "0.000");
}

TEST_F(SliderFrameTest, WithoutAChannelItShowsNoConnectionAndAsksNothing) {
    page.doc.channels.clear();
    CSliderFrame* slider = Add();
    ASSERT_NE(slider, nullptr);
    EXPECT_FALSE(text_.textBox->shown);
    EXPECT_TRUE(page.doc.actions.empty());
    RecordingDC dc;
    slider->GetSlider()->Paint(dc, {0, 0, 60, 140});
    EXPECT_NE(std::find(dc.ops.begin(), dc.ops.end(), "text:No connection"), dc.ops.end());
    EXPECT_EQ(std::count_if(dc.ops.begin(), dc.ops.end(),
                            [](const std::string& op) { return op.rfind("text:", 0) == 0; }),
              1);
    Type(*slider, "3");
    EXPECT_TRUE(Writes().empty());
}

TEST_F(SliderFrameTest, TheValueBoxWritesANewValueInRangeAndRefusesTheRest) {
    CSliderFrame* slider = Add();
    ASSERT_NE(slider, nullptr);
    struct Case {
        const char* text;
        std::vector<double> writes; // all writes so far
        const char* message;        // the box's message, if any
    };
    const Case cases[] = {
        {" \t3.5  ", {3.5}, nullptr},
        {"3.5", {3.5}, nullptr}, // unchanged: nothing more
        {"abc", {3.5}, "Please enter a digit"},
        {"3.5 V", {3.5}, "Please enter a digit"},
        {"20", {3.5}, "Please enter digit within range -12.000 - 12.000"},
        {"-12", {3.5, -12.0}, nullptr},
    };
    for (const Case& c : cases) {
        const std::size_t told = page.prompter.asked.size();
        const int selected = text_.textBox->selectedAll;
        Type(*slider, c.text);
        EXPECT_EQ(Writes(), c.writes) << c.text;
        if (c.message) {
            ASSERT_EQ(page.prompter.asked.size(), told + 1) << c.text;
            EXPECT_EQ(page.prompter.Texts().back(), c.message);
            EXPECT_EQ(text_.textBox->selectedAll, selected + 1) << c.text;
        } else {
            EXPECT_EQ(page.prompter.asked.size(), told) << c.text;
        }
    }
    // Each write carries its own record: the frame's later changes do not
    // reach one already posted.
    EXPECT_EQ(page.doc.actions.back().m_request, CReadingInfo::kRequestWrite);
    EXPECT_EQ(page.doc.actions.back().m_channel, 204);

    // Tab takes the box too, and moves on to the slider.
    const int focused = sliders.last->focused;
    Type(*slider, "1", '\t');
    EXPECT_EQ(Writes().back(), 1.0);
    EXPECT_EQ(sliders.last->focused, focused + 1);
}

TEST_F(SliderFrameTest, TheNextWriteComparesWithTheLastValueSentNotTheAnswer) {
    CSliderFrame* slider = Add();
    ASSERT_NE(slider, nullptr);
    Type(*slider, "3.5");
    Answer(204, 1.0); // the instrument's own value
    EXPECT_EQ(slider->GetValue(), 1.0);
    EXPECT_EQ(text_.textBox->text, "1.000");
    Type(*slider, "3.5");
    EXPECT_EQ(Writes(), (std::vector<double>{3.5}));
    Type(*slider, "1");
    EXPECT_EQ(Writes(), (std::vector<double>{3.5, 1.0}));
    // OK in the sheet writes the same way: the value is the last one sent.
    slider->Write();
    EXPECT_EQ(Writes().size(), 2u);
}

TEST_F(SliderFrameTest, KeysStepAndWriteOnlyWhenReleased) {
    CSliderFrame* slider = Add();
    ASSERT_NE(slider, nullptr);
    Answer(204, 5.0);
    CSliderWnd& wnd = *slider->GetSlider();
    using Key = SliderModel::Key;
    // Held: three presses, one release, one write.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(wnd.OnKeyDown(Key::Up));
    page.Deliver();
    EXPECT_TRUE(Writes().empty());
    wnd.OnKeyUp();
    page.Deliver();
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_NEAR(Writes()[0], 5.003, 1e-9);
    struct Case {
        Key key;
        double value;
    };
    const Case cases[] = {{Key::Home, 12.0}, {Key::End, -12.0}, {Key::PageUp, -9.6}};
    for (const Case& c : cases) {
        wnd.OnKeyDown(c.key);
        wnd.OnKeyUp();
        page.Deliver();
        EXPECT_NEAR(Writes().back(), c.value, 1e-9);
    }
    // Tab goes on to the box; Enter writes what is there (already written).
    const std::size_t writes = Writes().size();
    const int focused = text_.textBox->focused;
    EXPECT_TRUE(wnd.OnKeyDown(Key::Tab));
    EXPECT_EQ(text_.textBox->focused, focused + 1);
    wnd.OnEnterKey();
    page.Deliver();
    EXPECT_EQ(Writes().size(), writes);
}

TEST_F(SliderFrameTest, AHeldClickStepsTowardTheCursorAndADragWritesAtTheRelease) {
    CSliderFrame* slider = Add();
    ASSERT_NE(slider, nullptr);
    Answer(204, 0.0);
    CSliderWnd& wnd = *slider->GetSlider();
    FakeSliderWindow& w = *sliders.last;
    const GRect thumb = wnd.Model().Thumb();
    const GRect track = wnd.Model().Track();
    ASSERT_GT(track.Height(), 20);
    // Below the thumb of a vertical slider: one step down at once, then one
    // per tick of the 100 ms repeat while the cursor stays below.
    const GPoint below{(thumb.left + thumb.right) / 2, thumb.bottom + 10};
    wnd.OnMouse(ISliderWindowClient::Mouse::LeftDown, below);
    EXPECT_EQ(w.timer, SliderModel::kRepeatTimerId);
    EXPECT_EQ(w.period, 100);
    EXPECT_TRUE(w.captured);
    EXPECT_NEAR(wnd.GetValue(), -0.001, 1e-12);
    w.cursor = below;
    wnd.OnTimer(SliderModel::kRepeatTimerId);
    EXPECT_NEAR(wnd.GetValue(), -0.002, 1e-12);
    // Over the thumb: no step; a move while repeating does not drag.
    w.cursor = {below.x, wnd.Model().Thumb().top + 1};
    wnd.OnTimer(SliderModel::kRepeatTimerId);
    EXPECT_NEAR(wnd.GetValue(), -0.002, 1e-12);
    wnd.OnMouse(ISliderWindowClient::Mouse::Move, {below.x, track.top});
    EXPECT_NEAR(wnd.GetValue(), -0.002, 1e-12);
    page.Deliver();
    EXPECT_TRUE(Writes().empty());
    wnd.OnMouse(ISliderWindowClient::Mouse::LeftUp, below);
    page.Deliver();
    EXPECT_EQ(w.timer, 0);
    EXPECT_FALSE(w.captured);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_NEAR(Writes()[0], -0.002, 1e-12);

    // Dragged past the top: the upper limit, written once at the release.
    const GRect now = wnd.Model().Thumb();
    const GPoint on{(now.left + now.right) / 2, (now.top + now.bottom) / 2};
    wnd.OnMouse(ISliderWindowClient::Mouse::LeftDown, on);
    wnd.OnMouse(ISliderWindowClient::Mouse::Move, {on.x, track.top - 50});
    EXPECT_EQ(wnd.GetValue(), 12.0);
    page.Deliver();
    EXPECT_EQ(Writes().size(), 1u);
    wnd.OnMouse(ISliderWindowClient::Mouse::LeftUp, {on.x, track.top - 50});
    page.Deliver();
    EXPECT_EQ(Writes(), (std::vector<double>{Writes()[0], 12.0}));
    // A press and release on the thumb that moves nothing writes nothing.
    const GRect top = wnd.Model().Thumb();
    wnd.OnMouse(ISliderWindowClient::Mouse::LeftDown, {on.x, (top.top + top.bottom) / 2});
    wnd.OnMouse(ISliderWindowClient::Mouse::LeftUp, {on.x, (top.top + top.bottom) / 2});
    page.Deliver();
    EXPECT_EQ(Writes().size(), 2u);
}

TEST_F(SliderFrameTest, EachOrientationHasItsLayoutAndSize) {
    CSliderFrame* slider = Add();
    ASSERT_NE(slider, nullptr);
    struct Case {
        std::int32_t orientation;
        int width, height;
    };
    for (const Case& c :
         {Case{SliderModel::kHorizontal, 225, 65}, Case{SliderModel::kVertical, 62, 170}}) {
        slider->SetOrientation(c.orientation);
        const GRect frame = slider->GetWindow()->GetWindowRect();
        EXPECT_EQ(frame.Width(), c.width) << c.orientation;
        EXPECT_EQ(frame.Height(), c.height) << c.orientation;
        EXPECT_EQ(slider->m_minWidth, c.width);
        const sliderrules::Layout& layout = sliderrules::LayoutFor(c.orientation);
        const GRect data = slider->GetDataRect();
        EXPECT_EQ(sliders.last->rect,
                  graphgeo::RegionToRect(data, layout.slider[0], layout.slider[1], layout.slider[2],
                                         layout.slider[3]));
        EXPECT_EQ(text_.textBox->rect, graphgeo::RegionToRect(data, layout.box[0], layout.box[1],
                                                              layout.box[2], layout.box[3]));
    }
}

TEST_F(SliderFrameTest, TwoSlidersStoreAndLoadTheirSettingsAndBadOnesAreRefused) {
    CSliderFrame* upright = Add();
    CSliderFrame* across = Add();
    ASSERT_NE(upright, nullptr);
    ASSERT_NE(across, nullptr);
    across->SetOrientation(SliderModel::kHorizontal);
    across->SetLimits(-5.0, 8.0);
    across->SetResolution(0.5);
    across->SetValue(2.5);
    for (CSliderFrame* s : {upright, across}) {
        const auto bytes = CGraphView::StoreFrame(*s);
        auto loaded = CGraphView::LoadFrame(bytes);
        ASSERT_NE(loaded, nullptr);
        auto* back = dynamic_cast<CSliderFrame*>(loaded.get());
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetOrientation(), s->GetOrientation());
        EXPECT_EQ(back->GetValue(), s->GetValue());
        EXPECT_EQ(back->GetResolution(), s->GetResolution());
        EXPECT_EQ(CGraphView::StoreFrame(*back), bytes);
    }

    // Limits and resolutions a slider cannot work with reject the archive.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Bad {
        double lower, upper, resolution;
    };
    for (const Bad& b : {Bad{5, 5, 1}, Bad{8, -5, 1}, Bad{0, 10, 0}, Bad{0, 10, -1},
                         Bad{0, 10, nan}, Bad{0, 10, 20}, Bad{nan, 10, 1}}) {
        across->SetLimits(b.lower, b.upper);
        across->SetResolution(b.resolution);
        EXPECT_EQ(CGraphView::LoadFrame(CGraphView::StoreFrame(*across)), nullptr)
            << b.lower << " " << b.upper << " " << b.resolution;
    }
    across->SetLimits(-5.0, 8.0);
    across->SetResolution(0.5);
    across->SetOrientation(2);
    EXPECT_EQ(CGraphView::LoadFrame(CGraphView::StoreFrame(*across)), nullptr);
}

} // namespace
