// Drawing charts and feeding them, each against a baseline in the same run.
//   Render: 8 series of 1,000 and of 1,000,000 points into a 1000 x 600 image
//           through the chart renderer (one minimum and maximum per pixel
//           column), against the same chart drawn with every point: its frame
//           (background, grid, axes) through the renderer and each series
//           mapped to pixels and drawn as one full polyline with the
//           renderer's own pen, both inside the timed loop. The baseline also
//           counts the pixels in which its picture differs from the renderer's.
//   Update: 100 new points into a full series (dropping the 100 oldest and
//           telling the chart), for a series of 1,000 and of 1,000,000 points,
//           against moving the kept points down with memmove.
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "bench/BenchRatios.h"
#include "graphics/CXrtGraph.h"
#include "graphics/CXrtGraphData.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "platform/chartview/ChartQt.h"
#include "platform/chartview/ChartRenderer.h"
#include "platform/chartview/QtTextMetrics.h"

namespace {

using tvane::chart::Chart;
using tvane::chart::ChartData;
namespace prop = tvane::chart::prop;

constexpr int kSeries = 8;
constexpr int kWidth = 1000;
constexpr int kHeight = 600;

// The chart's settings: x from 0 to 1, one band of y per series.
void SetUp(Chart& chart) {
    chart.SetTextMetrics(&tvane::chart::QtTextMetrics::Instance());
    chart.SetWindowSize(kWidth, kHeight);
    chart.SetValues({{prop::kXAxisMin, 0.0},
                     {prop::kXAxisMax, 1.0},
                     {prop::kYAxisMin, 0.0},
                     {prop::kYAxisMax, double(kSeries)}});
}

// Eight noisy waves over x = 0 .. 1, one per band of the y axis.
struct Traces {
    explicit Traces(int points) : data(ChartData::Make(ChartData::kGeneral, kSeries, points)) {
        unsigned noise = 1;
        for (int s = 0; s < kSeries; ++s) {
            for (int i = 0; i < points; ++i) {
                noise = noise * 1103515245u + 12345u;
                const double x = static_cast<double>(i) / points;
                const double y =
                    s + 0.5 + 0.3 * std::sin(x * 40.0 + s) + 0.1 * ((noise >> 16) % 1000) / 1000.0;
                data->Append(s, x, y);
            }
        }
        SetUp(chart);
        chart.SetData(1, data.get());
    }
    std::unique_ptr<ChartData> data;
    Chart chart;
};

void Render(QImage& image, const Chart& chart, tvane::chart::ChartRenderer& renderer) {
    QPainter painter(&image);
    renderer.Draw(painter, chart, QRectF(0, 0, kWidth, kHeight));
}

void BM_RenderChart(benchmark::State& state) {
    Traces traces(static_cast<int>(state.range(0)));
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    tvane::chart::ChartRenderer renderer;
    for (auto _ : state)
        Render(image, traces.chart, renderer);
    state.SetItemsProcessed(state.iterations() * kSeries * state.range(0));
}
BENCHMARK(BM_RenderChart)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same chart with every point drawn: the frame of a chart without data,
// then each series mapped and drawn whole, clipped to the plot area as the
// renderer clips its lines.
void BM_FullPolylineBaseline(benchmark::State& state) {
    Traces traces(static_cast<int>(state.range(0)));
    Chart frame;
    SetUp(frame);
    const tvane::chart::ChartLayout& layout = traces.chart.Layout();
    if (!(frame.Layout().plot == layout.plot)) {
        state.SkipWithError("the frame is laid out apart from the chart");
        return;
    }
    const QRectF plot(QPointF(layout.plot.left, layout.plot.top),
                      QPointF(layout.plot.right + 1, layout.plot.bottom + 1));
    std::vector<QPen> pens;
    for (int s = 0; s < kSeries; ++s)
        pens.push_back(tvane::chart::LinePen(traces.chart.GetNthStyle(1, s)));
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    tvane::chart::ChartRenderer renderer;
    QPolygonF line;
    for (auto _ : state) {
        Render(image, frame, renderer);
        QPainter painter(&image);
        painter.setClipRect(plot);
        for (int s = 0; s < kSeries; ++s) {
            const int count = traces.data->Count(s);
            line.resize(count);
            for (int i = 0; i < count; ++i) {
                const auto p = layout.Map(traces.data->X(s, i), traces.data->Y(s, i));
                line[i] = QPointF(p.x, p.y);
            }
            painter.setPen(pens[static_cast<std::size_t>(s)]);
            painter.drawPolyline(line);
        }
    }
    state.SetItemsProcessed(state.iterations() * kSeries * state.range(0));
    QImage rendered(kWidth, kHeight, QImage::Format_RGB32);
    Render(rendered, traces.chart, renderer);
    int differing = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            differing += rendered.pixel(x, y) != image.pixel(x, y);
    state.counters["pixels_differing"] = differing;
}
BENCHMARK(BM_FullPolylineBaseline)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A full series; every iteration makes room for 100 points, writes them and
// tells the chart.
void BM_FastUpdate(benchmark::State& state) {
    const int capacity = static_cast<int>(state.range(0));
    CXrtGraphData set(ChartData::kGeneral, 1, capacity);
    ChartData& data = *set.GetData();
    for (int i = 0; i < capacity; ++i)
        data.Append(0, i, std::sin(i * 0.01));
    Chart chart;
    chart.SetData(1, &data);
    CXrtGraph graph;
    double t = capacity;
    for (auto _ : state) {
        graph.MakeRoom(&set, 100, 0);
        for (int i = 0; i < 100; ++i, t += 1.0)
            data.Append(0, t, std::sin(t * 0.01));
        chart.FastUpdate(1, 0, 100);
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_FastUpdate)->Arg(1000)->Arg(1000000);

void BM_MemmoveBaseline(benchmark::State& state) {
    const auto capacity = static_cast<std::size_t>(state.range(0));
    std::vector<double> x(capacity), y(capacity);
    double t = 0.0;
    for (auto _ : state) {
        std::memmove(x.data(), x.data() + 100, (capacity - 100) * sizeof(double));
        std::memmove(y.data(), y.data() + 100, (capacity - 100) * sizeof(double));
        for (std::size_t i = capacity - 100; i < capacity; ++i, t += 1.0) {
            x[i] = t;
            y[i] = std::sin(t * 0.01);
        }
        benchmark::DoNotOptimize(x.data());
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_MemmoveBaseline)->Arg(1000)->Arg(1000000);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return bench::RunWithRatios(
        argc, argv,
        {{"BM_RenderChart", "BM_FullPolylineBaseline"}, {"BM_FastUpdate", "BM_MemmoveBaseline"}});
}
