// Traces: the samples of a buffer's window reduced to a polyline that keeps
// every pixel column's extremes.
#include "ChartPlot.h"

#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

enum TraceMode { EverySample = 0, FirstPerColumn = 1, ColumnExtremes = 2 };

// Maps sample j of the range to a pixel; rows far outside the plot are
// pulled in, so that the painter never sees coordinates it cannot hold.
struct TraceMapping {
    int left;
    float xOffset;
    float xStep;
    float yBase;
    float yFactor;
    float centre;
    float rowMin;
    float rowMax;

    // Columns are truncated, with a hair added so that a sample on a division
    // line lands on it; rows are rounded to the nearest pixel.
    int X(int j) const {
        return left + static_cast<int>(xOffset + xStep * static_cast<float>(j) + 1e-3f);
    }
    int Y(long value) const {
        float row = yBase - yFactor * (static_cast<float>(value) - centre);
        return static_cast<int>(std::lround(std::clamp(row, rowMin, rowMax)));
    }
};

// Each column adds its highest and lowest row in the order they occurred
// (one point when they are equal), so at most two points per column.
int ColumnExtremePoints(const CCirBuf& buf, int first, int count, const TraceMapping& map,
                        QPoint* out) {
    int points = 0;
    int column = INT_MIN;
    int minRow = 0, maxRow = 0, minAt = 0, maxAt = 0;
    auto flush = [&] {
        if (column == INT_MIN)
            return;
        if (minRow == maxRow) {
            out[points++] = QPoint(column, minRow);
        } else if (minAt < maxAt) {
            out[points++] = QPoint(column, minRow);
            out[points++] = QPoint(column, maxRow);
        } else {
            out[points++] = QPoint(column, maxRow);
            out[points++] = QPoint(column, minRow);
        }
    };
    for (int j = 0; j < count; ++j) {
        int x = map.X(j);
        int y = map.Y(buf.SatGet(first + j));
        if (x != column) {
            flush();
            column = x;
            minRow = maxRow = y;
            minAt = maxAt = j;
        } else if (y < minRow) {
            minRow = y;
            minAt = j;
        } else if (y > maxRow) {
            maxRow = y;
            maxAt = j;
        }
    }
    flush();
    return points;
}

int SamplePoints(const CCirBuf& buf, int first, int count, const TraceMapping& map,
                 bool firstPerColumn, QPoint* out) {
    int points = 0;
    int column = INT_MIN;
    for (int j = 0; j < count; ++j) {
        int x = map.X(j);
        if (firstPerColumn && x == column)
            continue;
        column = x;
        out[points++] = QPoint(x, map.Y(buf.SatGet(first + j)));
    }
    return points;
}

void DrawPoints(QPainter* dc, const QPoint* points, int count, const QColor& colour) {
    CPenQ pen(dc, CPenQ::Solid, 1, colour);
    if (count == 1)
        dc->drawPoint(points[0]);
    else if (count > 1)
        dc->drawPolyline(points, count);
}

} // namespace

void CChartPlot::PlotTrendPoly2(QPainter* dc, QPoint* points, CCirBuf* buf, float xScale,
                                float yScale, float xOffset, float centre, const QColor& colour,
                                int mode) {
    const int last = std::min(drawEnd_, buf->GetSatValidLen() - 1);
    const int count = last - drawStart_ + 1;
    if (count <= 0) {
        buf->plotPoints = 0;
        return;
    }
    const float height = static_cast<float>(PlotHeight());
    const TraceMapping map{plotLeft_,
                           xOffset,
                           static_cast<float>(PlotWidth()) * xScale,
                           static_cast<float>(yBase),
                           height * yScale,
                           centre,
                           static_cast<float>(plotTop_) - height,
                           static_cast<float>(plotBottom_) + height};
    int drawn = 0;
    switch (mode) {
    case EverySample:
        drawn = SamplePoints(*buf, drawStart_, count, map, false, points);
        break;
    case FirstPerColumn:
        drawn = SamplePoints(*buf, drawStart_, count, map, true, points);
        break;
    default:
        drawn = ColumnExtremePoints(*buf, drawStart_, count, map, points);
        break;
    }
    DrawPoints(dc, points, drawn, colour);
    buf->plotPoints = drawn;
}

// The older trace: the ring's stored values from its oldest sample, one
// segment per new column; the offset moves the trace by that many pixels.
void CChartPlot::PlotTrend(QPainter* dc, const CCirBuf* buf, float xScale, float yScale,
                           float xOffset, float offset, const QColor& colour) {
    const int count = buf->GetValidLen();
    const float height = static_cast<float>(PlotHeight());
    const TraceMapping map{plotLeft_,
                           xOffset,
                           static_cast<float>(PlotWidth()) * xScale,
                           static_cast<float>(yBase) - offset,
                           height * yScale,
                           0.0f,
                           static_cast<float>(plotTop_) - height,
                           static_cast<float>(plotBottom_) + height};
    std::vector<QPoint> points;
    int column = INT_MIN;
    for (int j = 0; j < count; ++j) {
        int x = map.X(j);
        if (x == column)
            continue;
        column = x;
        points.emplace_back(x, map.Y(buf->GetStored(j)));
    }
    DrawPoints(dc, points.data(), static_cast<int>(points.size()), colour);
}

void CChartPlot::DrawTraces(QPainter* dc) {
    for (auto& set : bufs_)
        for (auto& buf : set)
            buf->plotPoints = 0;
    if (!showAll_)
        return;
    dc->save();
    dc->setClipRect(PlotRect());
    // Slot 0 is drawn last, on top of the others.
    for (int slot = static_cast<int>(drawOrder_.size()) - 1; slot >= 0; --slot) {
        int ch = drawOrder_[slot];
        if (ch == kEmptySlot)
            continue;
        PlotTrendPoly2(dc, points_[ch].data(), &ShownBuf(ch), xScale_, yaxis_[ch].scale, 0.0f,
                       yaxis_[ch].centre, tags_[ch].colour, ColumnExtremes);
    }
    dc->restore();
}
