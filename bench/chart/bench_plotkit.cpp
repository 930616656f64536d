// Frame costs of the chart as the scope draws it: four traces of 3001
// samples into a 1280 x 800 image, with the background cached or redrawn.
#include "ChartPlot.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <random>

namespace {

constexpr int kSamples = 3001;
constexpr int kWidth = 1280;
constexpr int kHeight = 800;

// Noisy signals put three samples into most pixel columns: the worst case for
// the column reduction.
void Feed(CChartPlot& chart) {
    std::mt19937 random(5);
    std::normal_distribution<double> noise(0.0, 300.0);
    for (int i = 0; i < kSamples; ++i) {
        const double t = i / 1000.0;
        const long values[] = {
            static_cast<long>(2500.0 * std::sin(2.0 * M_PI * 2.0 * t) + noise(random)),
            static_cast<long>(8000.0 * t - 12000.0),
            static_cast<long>(1500.0 * std::sin(2.0 * M_PI * 40.0 * t) + noise(random)),
            static_cast<long>(noise(random)),
        };
        for (int ch = 0; ch < CChartPlot::kChannels; ++ch)
            chart.ShownBuf(ch).SatAdd(&values[ch]);
    }
}

struct Scene {
    Scene() : image(kWidth, kHeight, QImage::Format_RGB32) {
        chart.SetXaxisLen(kSamples);
        for (int ch = 0; ch < CChartPlot::kChannels; ++ch)
            chart.SetYbyUnitGrid(ch, 1000.0f, 0.0f, 0, QStringLiteral("Signal (rpm)"));
        const ChartRect wnd{0, 0, kWidth, kHeight};
        chart.SetWndSize(&wnd);
        chart.curSelX = 1;
        Feed(chart);
    }
    CChartPlot chart;
    QImage image;
};

void PlotAllCachedBackground(benchmark::State& state) {
    Scene scene;
    QPainter painter(&scene.image);
    scene.chart.PlotAll(&painter); // fills the cache
    for (auto _ : state)
        scene.chart.PlotAll(&painter);
    int points = 0;
    for (int ch = 0; ch < CChartPlot::kChannels; ++ch)
        points += scene.chart.ShownBuf(ch).plotPoints;
    state.counters["points_per_trace"] = points / CChartPlot::kChannels;
    state.counters["plot_columns"] = scene.chart.PlotWidth() + 1;
    state.counters["background_redraws"] = scene.chart.BackgroundRedraws();
}
BENCHMARK(PlotAllCachedBackground)->Unit(benchmark::kMillisecond);

// A setting changes every frame, so the grid and rulers are drawn again each time.
void PlotAllRedrawBackground(benchmark::State& state) {
    Scene scene;
    QPainter painter(&scene.image);
    float unit = 1000.0f;
    for (auto _ : state) {
        unit = unit == 1000.0f ? 2000.0f : 1000.0f;
        scene.chart.SetYbyUnitGrid(0, unit, 0.0f, 0, QStringLiteral("Signal (rpm)"));
        scene.chart.PlotAll(&painter);
    }
    state.counters["background_redraws"] = scene.chart.BackgroundRedraws();
}
BENCHMARK(PlotAllRedrawBackground)->Unit(benchmark::kMillisecond);

void CirBufSatAddAndGet(benchmark::State& state) {
    CCirBuf buf(kSamples);
    buf.SatReSize(kSamples - 1);
    long value = 0;
    long sum = 0;
    for (auto _ : state) {
        buf.SatAdd(&value);
        sum += buf.SatGet(static_cast<int>(value % 3000));
        ++value;
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(CirBufSatAddAndGet);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
