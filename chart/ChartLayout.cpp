// Layout, fonts, the cached background and the order of one full drawing.
#include "ChartPlot.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

namespace {

constexpr float kPlotLeftPerWidth = 0.125f;
constexpr float kPlotTopPerHeight = 0.07f;
constexpr float kBottomMarginPerTop = 4.1666665f;
constexpr float kFontPerPlotWidth = 0.12048192f; // tenths of a point per pixel
constexpr float kFontPerPlotHeight = 0.8333333f;
constexpr int kMinPlotSide = 10;

QFont MakeFont(const char* family, QFont::StyleHint hint, double points) {
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(hint);
    font.setFixedPitch(hint == QFont::TypeWriter);
    font.setPointSizeF(std::max(points, 0.1));
    return font;
}

} // namespace

void CChartPlot::Layout() {
    int width = wnd_.Width();
    int height = wnd_.Height();
    plotLeft_ = static_cast<int>(kPlotLeftPerWidth * static_cast<float>(width));
    plotTop_ = static_cast<int>(kPlotTopPerHeight * static_cast<float>(height));
    int right = width - plotLeft_;
    int bottom = height - static_cast<int>(kBottomMarginPerTop * static_cast<float>(plotTop_));
    // Whole pixels per division: both sides are cut to multiples of ten.
    plotRight_ = plotLeft_ + std::max(kMinPlotSide, (right - plotLeft_) / 10 * 10);
    plotBottom_ = plotTop_ + std::max(kMinPlotSide, (bottom - plotTop_) / 10 * 10);
    yBase = plotTop_ + PlotHeight() / 2;

    if (wnd_.Width() != laidOutWnd_.Width() || wnd_.Height() != laidOutWnd_.Height()) {
        backgroundDirty_ = true;
        curY_ = {plotTop_, plotBottom_};
    }
    laidOutWnd_ = wnd_;
}

void CChartPlot::UpdateFont(QPainter* /*dc*/, int tenthsOfPoint) {
    tenthsOfPoint = std::max(tenthsOfPoint, 1);
    if (tenthsOfPoint == fontSize_)
        return;
    fontSize_ = tenthsOfPoint;
    double points = tenthsOfPoint / 10.0;
    // "Arial" and "Courier New" become whatever fontconfig substitutes.
    fontArial_ = MakeFont("Arial", QFont::SansSerif, points);
    fontCourier_ = MakeFont("Courier New", QFont::TypeWriter, 0.9 * points);
    backgroundDirty_ = true;
}

void CChartPlot::RedrawBackground(QImage::Format format) {
    QSize size(wnd_.Width(), wnd_.Height());
    if (background_.size() != size || background_.format() != format)
        background_ = QImage(size, format);
    background_.fill(Qt::black);
    QPainter painter(&background_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawGrid(&painter);
    for (int ch = 0; ch < kChannels; ++ch) {
        if (yZoomed_)
            DrawRuler_V2(&painter, ch);
        else
            DrawRulerV(&painter, ch);
    }
    DrawRulerH(&painter);
    backgroundDirty_ = false;
    ++backgroundRedraws_;
}

void CChartPlot::PlotAll(QPainter* dc) {
    if (!dc || wnd_.Width() <= 0 || wnd_.Height() <= 0)
        return;
    Layout();
    UpdateFont(dc,
               std::min(static_cast<int>(kFontPerPlotWidth * static_cast<float>(PlotWidth())),
                        static_cast<int>(kFontPerPlotHeight * static_cast<float>(PlotHeight()))));
    if (rulersFromLabelsPending_) {
        rulersFromLabelsPending_ = false;
        yZoomed_ = false;
        backgroundDirty_ = true;
    }
    // The cached background has the target's pixel format, so copying it is a plain blit.
    QImage::Format format = QImage::Format_RGB32;
    if (dc->device() && dc->device()->devType() == QInternal::Image)
        format = static_cast<QImage*>(dc->device())->format();
    if (backgroundDirty_ || background_.format() != format ||
        background_.size() != QSize(wnd_.Width(), wnd_.Height()))
        RedrawBackground(format);

    dc->save();
    dc->translate(wnd_.left, wnd_.top);
    dc->setRenderHint(QPainter::Antialiasing, false);
    dc->setCompositionMode(QPainter::CompositionMode_Source);
    dc->drawImage(0, 0, background_);
    dc->setCompositionMode(QPainter::CompositionMode_SourceOver);
    DrawTraces(dc);
    DrawDropZoom(dc);
    DrawCursors(dc);
    DrawText_TimeBase(dc);
    DrawText_Tag(dc);
    dc->restore();
}
