#pragma once
#include <memory>
#include <optional>
#include <string>

#include "graphics/DisplayFamily.h"
#include "graphics/displays/slider/ISliderWindow.h"

namespace slidertest {

// A slider window that records what its slider asks of it; text is 6
// pixels a character wide and 10 high.
class FakeSliderWindow : public ISliderWindow {
public:
    void MoveWindow(const GRect& r, bool) override {
        rect = r;
        if (client)
            client->OnSize();
    }
    GRect GetClientRect() const override { return {0, 0, rect.Width(), rect.Height()}; }
    GRect GetRectInFrame() const override { return rect; }
    void Invalidate(const GRect*) override { ++invalidated; }
    void Update() override {}
    void SetCapture() override { captured = true; }
    void ReleaseCapture() override { captured = false; }
    void SetFocus() override { ++focused; }
    bool HasFocus() const override { return false; }
    void Show(bool) override {}
    void StartTimer(int id, int ms) override {
        timer = id;
        period = ms;
    }
    void StopTimer(int id) override {
        if (id == timer)
            timer = 0;
    }
    GPoint CursorPos() const override { return cursor; }
    std::optional<GPoint> MeasureText(const LOGFONT&, const std::string& text) const override {
        return GPoint{6 * static_cast<int>(text.size()), 10};
    }

    ISliderWindowClient* client = nullptr;
    GRect rect;
    GPoint cursor;
    int invalidated = 0;
    int focused = 0;
    int timer = 0;
    int period = 0;
    bool captured = false;
};

// The slider windows of the test's displays while it lives, the newest in last.
class FakeSliderWindows : public ISliderWindows {
public:
    std::unique_ptr<ISliderWindow> CreateSliderWindow(IGraphFrameWindow&, ISliderWindowClient& c,
                                                      const GRect& r) override {
        auto w = std::make_unique<FakeSliderWindow>();
        w->client = &c;
        w->rect = r;
        last = w.get();
        return w;
    }
    FakeSliderWindow* last = nullptr;

private:
    displays::Windows<ISliderWindows>::Scoped m_scope{this};
};

} // namespace slidertest
