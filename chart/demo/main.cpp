// plotkit-demo: draws a chart with four synthetic traces twice into one PNG,
// above with the X (time) cursors and below with the Y (value) cursors and a
// zoom rectangle being dragged, for a look at the picture without a drive.
//
//   plotkit-demo [output.png] [width] [height]
#include "ChartPlot.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

constexpr int kSamples = 3001;

void FeedSyntheticTraces(CChartPlot& chart) {
    std::mt19937 noise(7);
    std::normal_distribution<double> jitter(0.0, 40.0);
    for (int i = 0; i < kSamples; ++i) {
        const double t = i / 1000.0; // seconds
        const long values[] = {
            static_cast<long>(2500.0 * std::sin(2.0 * M_PI * 2.0 * t)),
            static_cast<long>(8000.0 * t - 12000.0),
            static_cast<long>((std::fmod(t, 0.5) < 0.25 ? 1500.0 : -1500.0) + jitter(noise)),
            static_cast<long>(300.0 * std::sin(2.0 * M_PI * 25.0 * t) * std::exp(-t) +
                              jitter(noise) / 4.0),
        };
        for (int ch = 0; ch < CChartPlot::kChannels; ++ch)
            chart.ShownBuf(ch).SatAdd(&values[ch]);
    }
}

void PlaceCursor(CChartPlot& chart, const ChartRect& wnd, int n, int sample, int row) {
    const QPoint at(wnd.left + chart.GridX_toCoordX(sample), wnd.top + row);
    chart.followMouse = 1;
    chart.UpdateMouse(&at, 0);
    chart.Cursor_H(n);
    chart.Cursor_V(n);
    chart.followMouse = 0;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const char* output = argc > 1 ? argv[1] : "plotkit-demo.png";
    const int width = argc > 2 ? std::atoi(argv[2]) : 1280;
    const int height = argc > 3 ? std::atoi(argv[3]) : 800;
    if (width < 100 || height < 100) {
        std::fprintf(stderr, "plotkit-demo: the picture needs at least 100 x 100 pixels\n");
        return 2;
    }

    CChartPlot chart;
    chart.SetXaxisLen(kSamples);
    chart.SetTimeScaleX(TimeOneMsPerSample, 1.0f);
    chart.SetYbyUnitGrid(0, 1000.0f, 0.0f, 0, QStringLiteral("Motor speed (rpm)"));
    chart.SetYbyUnitGrid(1, 4000.0f, 0.0f, 0, QStringLiteral("Position error (p)"));
    chart.SetYbyUnitGrid(2, 500.0f, 0.0f, 0, QStringLiteral("Speed command (rpm)"));
    chart.SetYbyUnitGrid(3, 100.0f, 50.0f, 0, QStringLiteral("Torque monitor (mV)"));
    FeedSyntheticTraces(chart);

    QImage image(width, 2 * height, QImage::Format_RGB32);
    image.fill(Qt::darkGray);
    QPainter painter(&image);

    const ChartRect upper{0, 0, width, height};
    chart.SetWndSize(&upper);
    const QRect plot = chart.PlotRect();
    PlaceCursor(chart, upper, 1, 700, plot.top());
    PlaceCursor(chart, upper, 2, 1250, plot.bottom());
    chart.curSelX = 1;
    chart.PlotAll(&painter);

    const ChartRect lower{0, height, width, 2 * height};
    chart.SetWndSize(&lower);
    PlaceCursor(chart, lower, 1, 0, plot.top() + plot.height() / 4);
    PlaceCursor(chart, lower, 2, 0, plot.top() + plot.height() * 2 / 3);
    chart.curSelX = 0;
    chart.curSelY = 2;
    chart.dropZoomX = chart.dropZoomY = 1;
    const QPoint anchor(lower.left + chart.GridX_toCoordX(1800), lower.top + plot.top() + 60);
    const QPoint corner(lower.left + chart.GridX_toCoordX(2400), lower.top + plot.top() + 200);
    chart.UpdateMouse(&anchor, 0);
    chart.ZoomDropStart();
    chart.UpdateMouse(&corner, 0);
    chart.ZoomDropStart();
    chart.PlotAll(&painter);
    painter.end();

    if (!image.save(QString::fromLocal8Bit(output))) {
        std::fprintf(stderr, "plotkit-demo: cannot write %s\n", output);
        return 1;
    }
    std::printf("%s\n", output);
    return 0;
}
