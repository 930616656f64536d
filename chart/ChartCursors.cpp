// The two X (time) and two Y (value) measurement cursors: moved by mouse and
// wheel, drawn over the traces, their values written into the channel tags.
#include "ChartPlot.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kWheelNotch = 120;
constexpr int kMaxNotches = 1000; // far beyond any range; keeps the products small
constexpr float kSmallStepPerHeight = 0.0049751243f;
constexpr float kLargeStepPerHeight = 0.019607844f;

int ClampToInt(long value) {
    return static_cast<int>(std::clamp<long>(value, -2147483647L, 2147483647L));
}

} // namespace

void CChartPlot::Cursor_H(int n) {
    const int i = CursorIndex(n);
    long mouseX = mouse_.x();
    int position = followMouse ? static_cast<int>(CoordX_toGridX(&mouseX, xScale_)) : curX_[i];

    const int notches = std::clamp(wheelDelta_ / kWheelNotch, -kMaxNotches, kMaxNotches);
    wheelDelta_ = 0;
    int move = -notches * (std::abs(notches) < 2 ? wheelStepSmall_ : wheelStepLarge_);
    if (fineStep)
        move = std::clamp(move, -1, 1);
    position = std::clamp(position + move, 0, rangeLen_);

    if (curLockX && i == 0) {
        // Both cursors stay inside the range at the same distance.
        const int distance = curX_[1] - curX_[0];
        position =
            std::clamp(position, std::max(0, -distance), std::min(rangeLen_, rangeLen_ - distance));
        curX_[1] = std::clamp(position + distance, 0, rangeLen_);
    }
    curX_[i] = position;
    curXDataPos_ = std::clamp(drawStart_ + position, 0, axisLen_ - 1);
    StoreCursorValuesX();
}

void CChartPlot::StoreCursorValuesX() {
    for (int ch = 0; ch < kChannels; ++ch) {
        const CCirBuf& buf = ShownBuf(ch);
        tags_[ch].value1 = ClampToInt(buf.SatGet(drawStart_ + curX_[0]));
        tags_[ch].value2 = ClampToInt(buf.SatGet(drawStart_ + curX_[1]));
    }
}

void CChartPlot::Cursor_V(int n) {
    const int i = CursorIndex(n);
    int row = followMouse ? mouse_.y() - wnd_.top : curY_[i];

    const int notches = std::clamp(wheelDelta_ / kWheelNotch, -kMaxNotches, kMaxNotches);
    wheelDelta_ = 0;
    const float height = static_cast<float>(PlotHeight());
    const int step = std::abs(notches) < 2
                         ? std::max(1, static_cast<int>(height * kSmallStepPerHeight))
                         : std::max(1, static_cast<int>(height * kLargeStepPerHeight));
    int move = -notches * step;
    if (fineStep)
        move = std::clamp(move, -1, 1);
    curY_[i] = std::clamp(row + move, plotTop_, plotBottom_);
    StoreCursorValuesY();
}

void CChartPlot::StoreCursorValuesY() {
    const long row1 = curY_[0];
    const long row2 = curY_[1];
    for (int ch = 0; ch < kChannels; ++ch) {
        tags_[ch].value1 = CoordY_toRulerY(&row1, &yaxis_[ch]);
        tags_[ch].value2 = CoordY_toRulerY(&row2, &yaxis_[ch]);
    }
}

void CChartPlot::DrawCur_H(QPainter* dc, int n, int position, float xScale, CPenQ::Style style,
                           const QColor& colour, int width, int coincide) {
    // A hair added before truncating: float scales like 1/1000 fall just short.
    const int x =
        plotLeft_ +
        static_cast<int>(std::floor(static_cast<double>(PlotWidth()) * xScale * position + 1e-4));
    CPenQ pen(dc, style, width, colour);
    dc->drawLine(x, plotTop_, x, plotBottom_);
    // Coinciding cursors keep both names readable, one below the other.
    dc->setFont(fontCourier_);
    const QFontMetrics metrics = dc->fontMetrics();
    const int row = plotTop_ + 2 + (coincide ? metrics.height() : 0) + metrics.ascent();
    dc->drawText(x + 3, row, QStringLiteral("X%1").arg(CursorIndex(n) + 1));
}

void CChartPlot::DrawCur_V(QPainter* dc, int n, int row, CPenQ::Style style, const QColor& colour,
                           int width, int coincide) {
    CPenQ pen(dc, style, width, colour);
    dc->drawLine(plotLeft_, row, plotRight_, row);
    dc->setFont(fontCourier_);
    const QFontMetrics metrics = dc->fontMetrics();
    const int x = plotLeft_ + 3 + (coincide ? 3 * metrics.horizontalAdvance(QLatin1Char('0')) : 0);
    dc->drawText(x, row - metrics.descent() - 1, QStringLiteral("Y%1").arg(CursorIndex(n) + 1));
}

void CChartPlot::DrawCursors(QPainter* dc) {
    const int kind = curSelX ? CursorKindX : (curSelY ? CursorKindY : CursorKindNone);
    for (ChannelTagDatas& tag : tags_)
        tag.cursorKind = kind;
    const QColor white(Qt::white);
    if (kind == CursorKindX) {
        Cursor_H(curSelX);
        DrawCur_H(dc, 2, curX_[1], xScale_, CPenQ::Solid, white, 1, 0);
        DrawCur_H(dc, 1, curX_[0], xScale_, CPenQ::Solid, white, 1, curX_[0] == curX_[1]);
    } else if (kind == CursorKindY) {
        Cursor_V(curSelY);
        DrawCur_V(dc, 2, curY_[1], CPenQ::DashDot, white, 1, 0);
        DrawCur_V(dc, 1, curY_[0], CPenQ::Solid, white, 1, curY_[0] == curY_[1]);
    }
}
