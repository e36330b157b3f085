#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "shared/DocumentHints.h"
#include "graphics/CGraphView.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/DisplayFamily.h"
#include "graphics/GraphFactory.h"
#include "graphics/displays/bar/CBarFrame.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "scan/CRunRecord.h"
#include "tests/graphics/GraphicsTestSupport.h"
#include "tests/graphics/displays/ReadingsDocument.h"

namespace bartest {

using namespace graphicstest;
using displaytest::ReadingsDocument;

struct FakeBarPlotWindow : IBarPlotWindow, IChartWindow {
    void MoveWindow(const GRect& r, bool) override { rect = r; }
    void Redraw() override { ++redraws; }
    GRect rect;
    int redraws = 0;
};

class FakeBarWindows : public IBarWindows {
public:
    std::unique_ptr<IChartWindow> CreatePlotWindow(IGraphFrameWindow&, CBarPlot&,
                                                   tvane::chart::Chart&, const GRect& r) override {
        auto w = std::make_unique<FakeBarPlotWindow>();
        w->rect = r;
        plot = w.get();
        return w;
    }
    bool DrawPlot(IGraphDC&, CBarFrame&) override { return ++draws > 0; }
    FakeBarPlotWindow* plot = nullptr;
    int draws = 0;
};

class BarFixture : public ::testing::Test {
protected:
    BarFixture() {
        CChannelInfo first = ReadingsDocument::Channel(101, 0.0, 10.0);
        first.AlarmTest = 3;
        first.LowLimit = 2.0;
        first.HighLimit = 8.0;
        doc.channels = {first, ReadingsDocument::Channel(102, -5.0, 5.0)};
    }
    CBarFrame* NewBar() {
        EXPECT_TRUE(view.CreateDisplay(32874));
        return dynamic_cast<CBarFrame*>(view.GetSelected());
    }
    void Poll(const std::vector<double>& values, std::int32_t channel = 101) {
        doc.Poll(channel, values);
        view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
    }

    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    FakeBarWindows windows;
    displays::Windows<IBarWindows>::Scoped install{&windows};
    FakeViewWindow window;
    ReadingsDocument doc;
    CGraphView view{&window, &doc};
};

} // namespace bartest
