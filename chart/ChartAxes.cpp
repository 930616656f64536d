// Axis settings of the chart and the conversions between pixels and values.
#include "ChartPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr float kSmallStepPerSpan = 0.0049751243f; // 1/201 of the span per wheel notch
constexpr float kLargeStepPerSpan = 0.019607844f;  // 1/51 of the span for a fast wheel
constexpr int kMaxDecimals = 9;
constexpr int kMaxAxisLen = 1 << 22;
constexpr float kValueTolerance = 1e-3f;

// An axis that cannot map values to rows (NaN, infinite or empty span)
// becomes one unit per division around 0 rather than poisoning every row.
void KeepUsable(YaxisDatas& axis) {
    const bool usable = std::isfinite(axis.upper) && std::isfinite(axis.lower) &&
                        std::isfinite(axis.centre) && axis.upper > axis.lower &&
                        std::isfinite(axis.scale) && axis.scale > 0.0f;
    if (!usable)
        axis = YaxisDatas{1.0f, 5.0f, -5.0f, 0.0f, 0.1f, axis.decimals};
}

int ToInt(double value) {
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -2.0e9, 2.0e9));
}

} // namespace

void CChartPlot::SetXaxisLen(int length) {
    if (length <= 10)
        length = 11;
    // Eight buffers and four point arrays are allocated from this.
    length = std::min(length, kMaxAxisLen);
    axisLen_ = length;
    delay_ = length / 2;
    for (auto& set : bufs_)
        for (auto& buf : set)
            buf = std::make_unique<CCirBuf>(length);
    for (auto& points : points_)
        points.assign(static_cast<size_t>(length) * 2, QPoint());
    ApplyBufferFlags();
    SetDrawRangeX(0, length - 1);
    // A restore without a saved view returns to the whole axis.
    savedStart_ = 0;
    savedEnd_ = length - 1;
}

void CChartPlot::SetDrawRangeX(int start, int end) {
    if (end < start)
        std::swap(start, end);
    start = std::clamp(start, 0, axisLen_ - 1);
    end = std::clamp(end, 0, axisLen_ - 1);
    if (end == start) {
        if (end < axisLen_ - 1)
            ++end;
        else
            --start;
    }
    int oldStart = drawStart_;
    drawStart_ = start;
    drawEnd_ = end;
    rangeLen_ = end - start;
    xScale_ = 1.0f / static_cast<float>(rangeLen_);
    wheelStepSmall_ = std::max(1, static_cast<int>(rangeLen_ * kSmallStepPerSpan));
    wheelStepLarge_ = std::max(1, static_cast<int>(rangeLen_ * kLargeStepPerSpan));
    msPerDiv_ = rangeLen_ / kDivisions;
    // The X cursors stay on the same axis samples where they still can.
    for (int& cursor : curX_)
        cursor = std::clamp(cursor + oldStart - start, 0, rangeLen_);
    MakeTimeLabels();
    backgroundDirty_ = true;
}

void CChartPlot::ZoomX_Reset() {
    SetDrawRangeX(0, axisLen_ - 1);
}

void CChartPlot::SetTimeScaleX(int kind, float value) {
    if (kind != TimeMsPerScreen && kind != TimeMsPerSample) {
        kind = TimeOneMsPerSample;
        value = 0.0f;
    }
    timeKind_ = kind;
    timeValue_ = value;
    MakeTimeLabels();
    backgroundDirty_ = true;
}

void CChartPlot::SetDelay(int samples) {
    delay_ = samples;
}

float CChartPlot::MsPerSample() const {
    switch (timeKind_) {
    case TimeMsPerSample:
        return timeValue_;
    case TimeMsPerScreen:
        return timeValue_ / static_cast<float>(rangeLen_ + 1);
    default:
        return 1.0f;
    }
}

void CChartPlot::MakeTimeLabels() {
    for (int i = 0; i < static_cast<int>(timeLabels_.size()); ++i) {
        double seconds = i * 0.0001 * rangeLen_ + 0.001 * drawStart_;
        char text[64];
        if (timeKind_ == TimeOneMsPerSample)
            std::snprintf(text, sizeof text, "%0.3f", seconds);
        else
            std::snprintf(text, sizeof text, "%3.1f", seconds * MsPerSample() * 1000.0);
        timeLabels_[i] = QString::fromLatin1(text);
    }
}

void CChartPlot::InitYdat(YaxisDatas* axis) {
    if (axis)
        *axis = YaxisDatas{};
}

void CChartPlot::SetYbyUnitGrid(int ch, float unitPerDiv, float centre, int decimals,
                                const QString& caption) {
    ch = ClampChannel(ch);
    // A zero or negative division would leave the axis without a scale.
    float unit = std::fabs(unitPerDiv) > 0.0f ? std::fabs(unitPerDiv) : 1.0f;
    YaxisDatas& axis = yaxis_[ch];
    axis.unit = unit;
    axis.centre = centre;
    axis.upper = centre + 5.0f * unit;
    axis.lower = centre - 5.0f * unit;
    axis.scale = 1.0f / (axis.upper - axis.lower);
    KeepUsable(axis);
    SetRulerText(&ch, &decimals, &caption);
}

void CChartPlot::SetYbyUpLowBound(int ch, float upper, float lower, int decimals,
                                  const QString& caption) {
    ch = ClampChannel(ch);
    if (upper < lower)
        std::swap(upper, lower);
    if (upper == lower) {
        upper += 5.0f;
        lower -= 5.0f;
    }
    YaxisDatas& axis = yaxis_[ch];
    axis.upper = upper;
    axis.lower = lower;
    axis.unit = (upper - lower) / kDivisions;
    // The exact middle: traces then meet the ruler drawn from the bounds.
    axis.centre = lower + (upper - lower) / 2.0f;
    axis.scale = 1.0f / (upper - lower);
    KeepUsable(axis);
    SetRulerText(&ch, &decimals, &caption);
}

void CChartPlot::SetRulerText(const int* ch, const int* decimals, const QString* caption) {
    int c = ClampChannel(ch ? *ch : 0);
    int d = std::clamp(decimals ? *decimals : 0, 0, kMaxDecimals);
    YaxisDatas& axis = yaxis_[c];
    axis.decimals = d;
    if (caption)
        captions_[c] = *caption;

    char format[16];
    std::snprintf(format, sizeof format, "%s%df", "%0.", d);
    double halfLastDigit = 0.5 * std::pow(10.0, -d);
    for (int i = 0; i < static_cast<int>(rulerLabels_[c].size()); ++i) {
        double value = static_cast<double>(axis.upper) - i * static_cast<double>(axis.unit);
        if (std::fabs(value) < halfLastDigit)
            value = 0.0; // no "-0"
        char text[64];
        std::snprintf(text, sizeof text, format, value);
        rulerLabels_[c][i] = QString::fromLatin1(text);
    }
    tags_[c].unitPerDiv = ToInt(std::trunc(axis.unit));
    tags_[c].offset = ToInt(std::trunc(axis.centre));
    backgroundDirty_ = true;
}

long CChartPlot::CoordX_toGridX(const long* x, float xScale) const {
    long local = *x - wnd_.left;
    if (local < plotLeft_)
        return 0;
    if (local > plotRight_)
        return rangeLen_;
    float width = static_cast<float>(PlotWidth());
    if (width <= 0.0f || xScale <= 0.0f)
        return 0;
    // Moved by half a sample first, so a click picks the nearest sample.
    float halfSample = width * xScale / 2.0f;
    return static_cast<long>(static_cast<float>(rangeLen_) / width *
                             (static_cast<float>(local - plotLeft_) + halfSample));
}

int CChartPlot::GridX_toCoordX(int sample) const {
    return plotLeft_ + static_cast<int>(std::floor(
                           static_cast<double>(PlotWidth()) * sample / rangeLen_ + 1e-6));
}

int CChartPlot::CoordY_toRulerY(const long* y, const YaxisDatas* axis) const {
    float height = static_cast<float>(PlotHeight());
    float pixelsPerUnit = axis->scale * height;
    if (pixelsPerUnit == 0.0f)
        return ToInt(axis->centre);
    float row = static_cast<float>(*y);
    float value =
        (row - height * axis->centre * axis->scale - static_cast<float>(yBase)) / -pixelsPerUnit;
    // Rounded up, but a value a hair above a whole number is that number.
    return ToInt(std::ceil(value - kValueTolerance));
}

int CChartPlot::RulerY_toCoordY(const YaxisDatas* axis, const int* value) const {
    float height = static_cast<float>(PlotHeight());
    return ToInt(std::lround(static_cast<float>(yBase) -
                             height * axis->scale * (static_cast<float>(*value) - axis->centre)));
}
