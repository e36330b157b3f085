#pragma once
#include <memory>

#include "graphics/DisplayFamily.h"
#include "graphics/IChartWindow.h"
#include "graphics/displays/strip/CXrtOverlayFrame.h"

namespace graphicstest {

// Child windows that remember where they were put.
struct FakeChild : IStripChildWindow, IChartWindow {
    void MoveWindow(const GRect& r, bool) override { rect = r; }
    void Redraw() override { ++redraws; }
    void SetFocus() override { ++focused; }
    GRect GetRectInFrame() const override { return rect; }
    GRect rect;
    int redraws = 0;
    int focused = 0;
};

class FakeStripWindows : public IStripChartWindows {
public:
    std::unique_ptr<IChartWindow> CreatePlotWindow(IGraphFrameWindow&, CXrtOverlayPlot&,
                                                   tvane::chart::Chart&, const GRect& r) override {
        auto w = std::make_unique<FakeChild>();
        w->rect = r;
        plot = w.get();
        return w;
    }
    std::unique_ptr<IStripChildWindow> CreatePanelWindow(IGraphFrameWindow&, COverlayCtrlPanel&,
                                                         const GRect& r) override {
        return Make(r, panel);
    }
    std::unique_ptr<IStripChildWindow> CreateLegendWindow(IGraphFrameWindow&, CLegendGrid&,
                                                          const GRect& r) override {
        return Make(r, legend);
    }
    std::unique_ptr<IStripChildWindow> CreateTextWindow(IGraphFrameWindow&, CTextDisplay&,
                                                        const GRect& r) override {
        return Make(r, text);
    }
    bool DrawChildren(IGraphDC&, CXrtOverlayFrame&) override { return ++draws > 0; }
    std::unique_ptr<IStripChildWindow> Make(const GRect& r, FakeChild*& keep) {
        auto w = std::make_unique<FakeChild>();
        w->rect = r;
        keep = w.get();
        return w;
    }
    FakeChild* plot = nullptr;
    FakeChild* panel = nullptr;
    FakeChild* legend = nullptr;
    FakeChild* text = nullptr;
    int draws = 0;
};

} // namespace graphicstest
