// Drop-zoom: drag a band (time or value axis) or a rectangle (both) with the
// mouse, and return to the saved view afterwards.
#include "ChartPlot.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kZoomStep = 5;       // a wide X zoom is cut to whole multiples of this
constexpr int kMinZoomSpan = 10;   // the narrowest X zoom in samples
constexpr float kMinYSpan = 10.0f; // the narrowest Y zoom in units

void DrawBox(QPainter* dc, int left, int top, int right, int bottom) {
    CPenQ pen(dc, CPenQ::Solid, 1, Qt::white);
    dc->drawLine(left, top, right, top);
    dc->drawLine(right, top, right, bottom);
    dc->drawLine(right, bottom, left, bottom);
    dc->drawLine(left, bottom, left, top);
}

} // namespace

void CChartPlot::ZoomDropStart() {
    const QPoint at = MouseInWindow();
    long mouseX = mouse_.x();
    const int sample = drawStart_ + static_cast<int>(CoordX_toGridX(&mouseX, xScale_));
    if (!dropZoomActive) {
        zoomAnchor_ = at;
        zoomAnchorSample_ = sample;
        dropZoomActive = 1;
    }
    zoomCorner_ = at;
}

unsigned long CChartPlot::ZoomDropEnd() {
    if (!dropZoomActive)
        return 0;
    dropZoomActive = 0;
    const QPoint end = MouseInWindow();
    const bool horizontal = std::abs(end.x() - zoomAnchor_.x()) > 1;
    const bool vertical = std::abs(end.y() - zoomAnchor_.y()) > 1;

    if (dropZoomX && horizontal) {
        long mouseX = mouse_.x();
        const int endSample = drawStart_ + static_cast<int>(CoordX_toGridX(&mouseX, xScale_));
        int lo = std::min(zoomAnchorSample_, endSample);
        int hi = std::max(zoomAnchorSample_, endSample);
        if (hi - lo >= kMinZoomSpan) {
            SetDrawRangeX(lo, lo + kZoomStep * ((hi - lo) / kZoomStep));
        } else {
            const int half = kMinZoomSpan / 2;
            int middle = std::min(std::max((lo + hi) / 2, half), axisLen_ - 1 - half);
            SetDrawRangeX(middle - half, middle + half);
        }
    }

    if (dropZoomY && vertical) {
        const long row1 = std::clamp(zoomAnchor_.y(), plotTop_, plotBottom_);
        const long row2 = std::clamp(end.y(), plotTop_, plotBottom_);
        if (std::abs(row1 - row2) != PlotHeight()) {
            yZoomed_ = true;
            rulersFromLabelsPending_ = false;
            curY_ = {plotTop_, plotBottom_};
            for (int ch = 0; ch < kChannels; ++ch) {
                const float value1 = static_cast<float>(CoordY_toRulerY(&row1, &yaxis_[ch]));
                const float value2 = static_cast<float>(CoordY_toRulerY(&row2, &yaxis_[ch]));
                float upper = std::max(value1, value2);
                float lower = std::min(value1, value2);
                if (upper - lower < kMinYSpan) {
                    const float middle = (upper + lower) / 2.0f;
                    upper = middle + kMinYSpan / 2.0f;
                    lower = middle - kMinYSpan / 2.0f;
                }
                SetYbyUpLowBound(ch, upper, lower, yaxis_[ch].decimals, captions_[ch]);
            }
        }
    }
    return (horizontal ? 1UL : 0UL) | (vertical ? 2UL : 0UL);
}

unsigned long CChartPlot::ZoomDropEnd(int* start, int* end) {
    if (!dropZoomActive)
        return 0;
    const unsigned long moved = ZoomDropEnd();
    if (start)
        *start = drawStart_;
    if (end)
        *end = drawEnd_;
    return moved;
}

void CChartPlot::ZoomSave() {
    savedYaxis_ = yaxis_;
    savedStart_ = drawStart_;
    savedEnd_ = drawEnd_;
}

void CChartPlot::ZoomRestore() {
    rulersFromLabelsPending_ = true;
    SetDrawRangeX(savedStart_, savedEnd_);
    for (int ch = 0; ch < kChannels; ++ch) {
        const YaxisDatas& saved = savedYaxis_[ch];
        SetYbyUnitGrid(ch, saved.unit, saved.centre, saved.decimals, captions_[ch]);
    }
}

void CChartPlot::DrawDropXZoomIn(QPainter* dc, QPoint anchor, QPoint corner) {
    DrawBox(dc, anchor.x(), plotTop_, corner.x(), plotBottom_);
}

void CChartPlot::DrawDropYZoomIn(QPainter* dc, QPoint anchor, QPoint corner) {
    DrawBox(dc, plotLeft_, anchor.y(), plotRight_, corner.y());
}

void CChartPlot::DrawDropXY_ZoomIn(QPainter* dc, QPoint anchor, QPoint corner) {
    DrawBox(dc, anchor.x(), anchor.y(), corner.x(), corner.y());
}

void CChartPlot::DrawDropZoom(QPainter* dc) {
    if (!dropZoomActive)
        return;
    if (dropZoomX && dropZoomY)
        DrawDropXY_ZoomIn(dc, zoomAnchor_, zoomCorner_);
    else if (dropZoomX)
        DrawDropXZoomIn(dc, zoomAnchor_, zoomCorner_);
    else if (dropZoomY)
        DrawDropYZoomIn(dc, zoomAnchor_, zoomCorner_);
}
