#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "graphics/displays/indicator/RecordingDC.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/displays/indicator/GaugeFakes.h"

namespace toggletest {

// A page of the gauge fakes with one kind of two-state display (switch bank,
// push buttons) and what a test does to it: paint, read the states, click an
// element, answer or collect the document's readings and writes.
template <class Frame, auto GetWnd, unsigned Command> class ToggleTest : public ::testing::Test {
protected:
    using Mouse = IGaugeWindowClient::Mouse;

    static auto* Wnd(Frame* frame) { return (frame->*GetWnd)(); }
    Frame* Add() { return page.template Add<Frame>(Command); }
    // Draws the window as it is shown.
    RecordingDC Paint(Frame* frame) {
        RecordingDC dc;
        Wnd(frame)->Paint(dc, page.gauges.Of(Wnd(frame))->GetClientRect());
        return dc;
    }
    // The elements' states in slot and element order.
    static std::vector<int> States(Frame* frame) {
        std::vector<int> states;
        const CIndicatorBlockArray& blocks = Wnd(frame)->Blocks().Blocks();
        for (std::size_t b = 0; b < blocks.GetSize(); ++b)
            for (std::size_t e = 0; blocks.GetAt(b) && e < blocks.GetAt(b)->GetSize(); ++e)
                states.push_back(blocks.GetIndicator(b, e)->GetState());
        return states;
    }
    void Answer(std::int32_t channel, double value) {
        CReadingInfo answer;
        answer.m_channel = channel;
        answer.m_value = value;
        page.view.OnUpdate(nullptr, HINT_ACTION_RESULT, &answer);
    }
    std::vector<CReadingInfo> Requests() {
        page.Deliver();
        std::vector<CReadingInfo> r = page.doc.actions;
        page.doc.actions.clear();
        return r;
    }
    // A press in the middle of an element.
    static void Click(Frame* frame, std::size_t block, std::size_t element) {
        const GRect r = Wnd(frame)->Blocks().Blocks().GetIndicator(block, element)->GetRect();
        Wnd(frame)->OnMouse(Mouse::LeftDown, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }

    // Each display copied, pasted and the paste copied again: the same bytes.
    void ExpectPastedCopiesAlike(const std::vector<CGraphFrame*>& frames) {
        for (CGraphFrame* frame : frames) {
            page.view.SelectFrame(frame);
            ASSERT_TRUE(page.view.OnEditCopy());
            const std::vector<std::uint8_t> copied = *page.clipboard.archive;
            ASSERT_TRUE(page.view.Paste(false));
            ASSERT_TRUE(page.view.OnEditCopy());
            EXPECT_EQ(*page.clipboard.archive, copied);
        }
    }

    gaugetest::GaugePage page;
};

} // namespace toggletest
