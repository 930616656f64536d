// The grid, the four channel rulers and the time ruler: the cached background.
#include "ChartPlot.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace {

const QColor kGridGrey(101, 101, 101);
const QColor kTimeCaptionColour(227, 166, 151);
constexpr int kRulerTick = 3;
constexpr int kLabelGap = 2;
constexpr int kMinorTicks = 50;

} // namespace

void CChartPlot::DrawGrid(QPainter* dc) {
    const int left = plotLeft_, top = plotTop_, right = plotRight_, bottom = plotBottom_;
    const int width = PlotWidth(), height = PlotHeight();
    const int centreX = left + width / 2;
    yBase = top + height / 2;

    CPenQ pen(dc, CPenQ::Alternate, 1, kGridGrey);
    for (int i = 1; i < kDivisions; ++i) {
        if (i == kDivisions / 2)
            continue;
        int x = left + i * width / kDivisions;
        int y = top + i * height / kDivisions;
        dc->drawLine(x, top, x, bottom);
        dc->drawLine(left, y, right, y);
    }

    pen.ModifyPen(dc, CPenQ::Solid, 1, kGridGrey);
    dc->drawLine(left, top, right, top);
    dc->drawLine(left, bottom, right, bottom);
    dc->drawLine(left, top, left, bottom);
    dc->drawLine(right, top, right, bottom);
    dc->drawLine(centreX, top, centreX, bottom);
    dc->drawLine(left, yBase, right, yBase);

    // Ticks along the centre lines: minor ones at 1/50, longer ones at each division.
    const int tickX = width >= 400 ? 2 : 1;
    const int tickY = height >= 300 ? 2 : 1;
    for (int k = 1; k < kMinorTicks; ++k) {
        int along = k % (kMinorTicks / kDivisions) == 0 ? 2 : 1;
        int x = left + k * width / kMinorTicks;
        int y = top + k * height / kMinorTicks;
        dc->drawLine(x, yBase - along * tickX, x, yBase + along * tickX);
        dc->drawLine(centreX - along * tickY, y, centreX + along * tickY, y);
    }
}

int CChartPlot::RulerX(int ch) const {
    const float left = static_cast<float>(plotLeft_);
    switch (ClampChannel(ch)) {
    case 0:
        return static_cast<int>(0.4f * left - 1.5f);
    case 1:
        return static_cast<int>(0.87f * left - 0.5f);
    case 2:
        return plotRight_ + static_cast<int>(0.13f * left + 0.5f);
    default:
        return plotRight_ + static_cast<int>(0.6f * left + 1.5f);
    }
}

// Labels lie on the outer side of the ruler line, the caption (turned to read
// downwards) on its inner side.
void CChartPlot::DrawRulerWith(QPainter* dc, int ch, const std::array<QString, 11>& labels) {
    const QColor& colour = tags_[ch].colour;
    const bool leftSide = ch < 2;
    const int x = RulerX(ch);
    const int outward = leftSide ? -1 : 1;

    CPenQ pen(dc, CPenQ::Solid, 1, colour);
    dc->drawLine(x, plotTop_, x, plotBottom_);
    dc->setFont(fontArial_);
    const QFontMetrics metrics = dc->fontMetrics();
    const int textHeight = metrics.height();
    const int labelEdge = x + outward * (kRulerTick + kLabelGap);
    for (int i = 0; i < static_cast<int>(labels.size()); ++i) {
        int row = plotTop_ + i * PlotHeight() / kDivisions;
        dc->drawLine(x, row, x + outward * kRulerTick, row);
        QRect box =
            leftSide ? QRect(0, row - textHeight / 2, labelEdge, textHeight)
                     : QRect(labelEdge, row - textHeight / 2, wnd_.Width() - labelEdge, textHeight);
        dc->drawText(box, Qt::AlignVCenter | (leftSide ? Qt::AlignRight : Qt::AlignLeft),
                     labels[i]);
    }

    const QString caption = metrics.elidedText(captions_[ch], Qt::ElideRight, PlotHeight());
    const int captionCentre = x - outward * (kLabelGap + textHeight / 2);
    dc->save();
    dc->translate(captionCentre, yBase);
    dc->rotate(90.0);
    dc->drawText(QRect(-PlotHeight() / 2, -textHeight / 2, PlotHeight(), textHeight),
                 Qt::AlignCenter, caption);
    dc->restore();
}

void CChartPlot::DrawRulerV(QPainter* dc, int ch) {
    ch = ClampChannel(ch);
    DrawRulerWith(dc, ch, rulerLabels_[ch]);
}

// After a drag zoom the bounds rarely fall on whole units: label them with
// as many decimals as one division needs.
void CChartPlot::DrawRuler_V2(QPainter* dc, int ch) {
    ch = ClampChannel(ch);
    const YaxisDatas& axis = yaxis_[ch];
    int decimals = axis.decimals;
    while (decimals < axis.decimals + 2) {
        double scaled = axis.unit * std::pow(10.0, decimals);
        if (std::fabs(scaled - std::round(scaled)) < 1e-3)
            break;
        ++decimals;
    }
    std::array<QString, 11> labels;
    for (int i = 0; i < static_cast<int>(labels.size()); ++i) {
        double value = axis.upper - i * (static_cast<double>(axis.upper) - axis.lower) / kDivisions;
        if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals))
            value = 0.0;
        labels[i] = QString::number(value, 'f', decimals);
    }
    DrawRulerWith(dc, ch, labels);
}

void CChartPlot::DrawRulerH(QPainter* dc) {
    dc->setFont(fontArial_);
    const QFontMetrics metrics = dc->fontMetrics();
    const int row = plotBottom_ + static_cast<int>(0.12f * static_cast<float>(plotTop_));
    const int cell = PlotWidth() / kDivisions;
    dc->setPen(Qt::white);
    for (int i = 0; i < static_cast<int>(timeLabels_.size()); ++i) {
        int x = plotLeft_ + i * PlotWidth() / kDivisions;
        dc->drawText(QRect(x - cell / 2, row, cell, metrics.height()), Qt::AlignHCenter,
                     timeLabels_[i]);
    }
    const bool milliseconds = timeKind_ != TimeOneMsPerSample;
    dc->setPen(milliseconds ? kTimeCaptionColour : QColor(Qt::white));
    int captionX = plotRight_ + metrics.horizontalAdvance(timeLabels_.back()) / 2;
    dc->drawText(QPoint(captionX, row + metrics.ascent()),
                 QString::fromLatin1(milliseconds ? " [ms]" : " [s]"));
}
