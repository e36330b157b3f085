#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "shared/DocumentHints.h"
#include "graphics/CGraphView.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/DisplayFamily.h"
#include "graphics/GraphFactory.h"
#include "graphics/displays/histogram/CHistogramFrame.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "scan/CRunRecord.h"
#include "tests/graphics/GraphicsTestSupport.h"
#include "tests/graphics/displays/ReadingsDocument.h"

namespace histogramtest {

using namespace graphicstest;
using displaytest::ReadingsDocument;

struct FakeHistogramChild : IHistogramPanelWindow, IChartWindow {
    void MoveWindow(const GRect& r, bool) override { rect = r; }
    void Redraw() override { ++redraws; }
    GRect GetRectInFrame() const override { return rect; }
    int Height() const override { return 40; }
    GRect rect;
    int redraws = 0;
};

class FakeHistogramWindows : public IHistogramWindows {
public:
    std::unique_ptr<IChartWindow> CreatePlotWindow(IGraphFrameWindow&, CHistogramPlot&,
                                                   tvane::chart::Chart&, const GRect& r) override {
        auto w = std::make_unique<FakeHistogramChild>();
        w->rect = r;
        plot = w.get();
        return w;
    }
    std::unique_ptr<IHistogramPanelWindow>
    CreatePanelWindow(IGraphFrameWindow&, CHistogramCtrlPanel&, const GRect& r) override {
        if (!canMakePanel)
            return nullptr;
        auto w = std::make_unique<FakeHistogramChild>();
        w->rect = r;
        panel = w.get();
        return w;
    }
    bool DrawChildren(IGraphDC&, CHistogramFrame&) override { return ++draws > 0; }

    FakeHistogramChild* plot = nullptr;
    FakeHistogramChild* panel = nullptr;
    bool canMakePanel = true;
    int draws = 0;
};

class HistogramFixture : public ::testing::Test {
protected:
    HistogramFixture() {
        doc.channels = {ReadingsDocument::Channel(101, 0.0, 100.0),
                        ReadingsDocument::Channel(102, -10.0, 10.0)};
        window.client = {0, 0, 800, 600};
    }
    CHistogramFrame* NewHistogram() {
        EXPECT_TRUE(view.CreateDisplay(703));
        return dynamic_cast<CHistogramFrame*>(view.GetSelected());
    }
    void Poll(const std::vector<double>& values, std::int32_t channel = 101) {
        doc.Poll(channel, values);
        view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
    }
    static double Shown(const CHistogramFrame& f, int bin) {
        return f.GetPlot()->GetPlotData()->GetData()->Y(0, bin);
    }

    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    FakeHistogramWindows windows;
    displays::Windows<IHistogramWindows>::Scoped install{&windows};
    FakeViewWindow window;
    ReadingsDocument doc;
    CGraphView view{&window, &doc};
};

} // namespace histogramtest
