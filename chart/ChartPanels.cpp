// Text below the plot: the time-base panel and one tag per shown channel.
#include "ChartPlot.h"

#include <QFontMetrics>
#include <QPainter>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kPanelChars = 31; // the time-base panel starts this many characters from the right
constexpr int kTagColumnChars = 17; // a tag column is this many characters wide, plus a gap
constexpr int kTagColumnGap = 5;
constexpr int kLinesBelowPlot = 3;
constexpr int kShortUnitText = 16; // from here "/div" shrinks to "/."
constexpr int kNoSuffixText = 18;  // and from here it is left out
constexpr double kFastCursorHz = 10000.0;
const QColor kPanelText(230, 230, 230);

template <typename... Args>
QString Format(const char* format, Args... args) {
    char text[128];
    std::snprintf(text, sizeof text, format, args...);
    return QString::fromUtf8(text);
}

} // namespace

QStringList CChartPlot::TimeBaseLines() const {
    QStringList lines;
    QString header = QStringLiteral("  Timebase   ");
    if (timeKind_ == TimeMsPerSample)
        header += Format("sp.=%1.1fms", static_cast<double>(timeValue_));
    lines << header;

    const int x1 = drawStart_ + curX_[0];
    const int x2 = drawStart_ + curX_[1];
    if (timeKind_ == TimeOneMsPerSample) {
        const int deltaMs = std::abs(x2 - x1);
        const double hz = 1000.0 / (deltaMs != 0 ? deltaMs : 1);
        lines << Format("  %6dms/div  delay:%6dms", rangeLen_ / kDivisions, delay_)
              << Format("  X1=%7dms   X2= %7dms", x1, x2)
              << Format(" \u0394Xt=%7dms  \u0394Xf=%8.3fHz", deltaMs, hz);
        return lines;
    }
    const double ms = MsPerSample();
    const double deltaMs = std::abs(x2 - x1) * ms;
    const double sampleMs = deltaMs > 0.0 ? deltaMs : ms;
    const double hz = sampleMs > 0.0 ? 1000.0 / sampleMs : 0.0;
    lines << Format("  %6.1fms/div  delay:%6.1fms", rangeLen_ * ms / kDivisions, delay_ * ms)
          << Format("  X1=%7.1fms   X2= %7.1fms", x1 * ms, x2 * ms)
          << Format(hz >= kFastCursorHz ? " \u0394Xt=%7.1fms  \u0394Xf=%8.2fHz"
                                        : " \u0394Xt=%7.1fms  \u0394Xf=%8.3fHz",
                    deltaMs, hz);
    return lines;
}

QStringList CChartPlot::TagLines(int ch) const {
    const ChannelTagDatas& tag = tags_[ClampChannel(ch)];
    const QByteArray unit = tag.unit.toUtf8();
    QString perDiv = Format("%d[%s]/div", tag.unitPerDiv, unit.constData());
    if (perDiv.size() >= kNoSuffixText)
        perDiv = Format("%d[%s]", tag.unitPerDiv, unit.constData());
    else if (perDiv.size() >= kShortUnitText)
        perDiv = Format("%d[%s]/.", tag.unitPerDiv, unit.constData());

    QStringList lines{tag.name, perDiv, Format(" ofs %5d", -tag.offset)};
    if (tag.cursorKind == CursorKindX || tag.cursorKind == CursorKindY) {
        const char* axis = tag.cursorKind == CursorKindX ? "X" : "Y";
        lines << Format(" %s1 %6d", axis, tag.value1) << Format(" %s2 %6d", axis, tag.value2)
              << Format(" \u0394Y %6d", tag.value2 - tag.value1);
    }
    return lines;
}

void CChartPlot::DrawText_TimeBase(QPainter* dc) {
    dc->setFont(fontCourier_);
    const QFontMetrics metrics = dc->fontMetrics();
    // Measured as a whole string: one character's advance is rounded.
    const int x = wnd_.Width() - metrics.horizontalAdvance(QString(kPanelChars, QLatin1Char('0')));
    int baseline = plotBottom_ + kLinesBelowPlot * metrics.height() + metrics.ascent();
    dc->setPen(kPanelText);
    for (const QString& line : TimeBaseLines()) {
        dc->drawText(QPoint(x, baseline), line);
        baseline += metrics.height();
    }
}

void CChartPlot::CustomLineTo(QPainter* dc, QPoint& from, const QPoint& to) {
    dc->drawLine(from, to);
    from = to;
}

// A frame lit from the top left: light edges there, dark ones bottom right.
void CChartPlot::Draw_Tag(QPainter* dc, const QRect& frame, const QColor& colour) {
    CPenQ pen(dc, CPenQ::Solid, 1, colour.lighter(130));
    QPoint at = frame.bottomLeft();
    CustomLineTo(dc, at, frame.topLeft());
    CustomLineTo(dc, at, frame.topRight());
    pen.ModifyPen(dc, CPenQ::Solid, 1, colour.darker(250));
    CustomLineTo(dc, at, frame.bottomRight());
    CustomLineTo(dc, at, frame.bottomLeft());
}

void CChartPlot::DrawText_Tag(QPainter* dc) {
    dc->setFont(fontCourier_);
    const QFontMetrics metrics = dc->fontMetrics();
    const int column =
        metrics.horizontalAdvance(QString(kTagColumnChars, QLatin1Char('0'))) + kTagColumnGap;
    const int lineHeight = metrics.height();
    const int top = plotBottom_ + kLinesBelowPlot * lineHeight;
    int x = plotLeft_ - column;
    for (int ch = 0; ch < kChannels; ++ch) {
        if (!show_[ch])
            continue;
        const ChannelTagDatas& tag = tags_[ch];
        const QStringList lines = TagLines(ch);
        const QRect nameField(x + 2, top, metrics.horizontalAdvance(lines[0]), lineHeight);
        dc->fillRect(nameField, tag.colour);
        dc->setPen(Qt::black);
        dc->drawText(nameField.left(), top + metrics.ascent(), lines[0]);
        dc->setPen(tag.colour);
        for (int i = 1; i < lines.size(); ++i)
            dc->drawText(x + 2, top + i * lineHeight + metrics.ascent(), lines[i]);
        Draw_Tag(dc, QRect(x, top - 2, column - kTagColumnGap, lines.size() * lineHeight + 3),
                 tag.colour);
        x += column;
    }
}
