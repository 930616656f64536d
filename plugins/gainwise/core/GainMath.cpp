#include "GainMath.h"

namespace gainwise {
namespace {

constexpr std::array<StiffnessRow, kLevels> kTable = {{
    {12, 9, 62, 253},
    {20, 15, 50, 126},
    {31, 19, 38, 103},
    {40, 25, 31, 84},
    {47, 36, 28, 65},
    {59, 43, 26, 57},
    {63, 50, 24, 45},
    {70, 59, 22, 38},
    {75, 65, 21, 30},
    {82, 72, 19, 25},
    {95, 85, 18, 25},
    {115, 104, 17, 25},
    {132, 126, 16, 25},
    {164, 155, 15, 25},
    {195, 185, 15, 25},
    {255, 240, 9, 25},
}};

constexpr GainRanges kDefaultRanges = {{{0, 10000}, {1, 2000}, {1, 3500}, {1, 1000}, {25, 2500}}};
constexpr const char* kLabels[kGainParms] = {"Pr.004", "Pr.100", "Pr.101", "Pr.102", "Pr.104"};

// X[from] − (X[from] − X[to]) × (B[from] − b) / (B[from] − B[to]), truncating.
int Interpolate(int from, int to, int b, int StiffnessRow::*column) {
    const int xf = kTable[from].*column, xt = kTable[to].*column;
    const int bf = kTable[from].bandwidth, bt = kTable[to].bandwidth;
    return xf - (xf - xt) * (bf - b) / (bf - bt);
}

} // namespace

StiffnessRow Stiffness(int level) {
    return kTable.at(static_cast<std::size_t>(level));
}

std::optional<StiffnessPreset> PresetFor(int level) {
    if (level < 0 || level >= kLevels)
        return std::nullopt;
    const StiffnessRow& row = kTable[level];
    return StiffnessPreset{row.bandwidth, kMaxReactionTime / row.positionGain,
                           level == 0 ? 1 : kTable[level - 1].bandwidth + 1,
                           level == kLevels - 1 ? kMaxBandwidth : kTable[level + 1].bandwidth - 1};
}

GainOutcome EstimateGains(const GainInput& input) {
    GainOutcome out;
    out.corrected = input;
    GainInput& in = out.corrected;
    if (in.level < 0 || in.level >= kLevels) {
        out.message = kMsgStiffnessTooLow;
        return out;
    }
    if (in.reactionTime > kMaxReactionTime) {
        in.reactionTime = kMaxReactionTime;
        out.message = kMsgReactionTimeRange;
        return out;
    }
    // A bandwidth of 0 or less has no minimum reaction time (it would divide
    // by zero): its correction below comes first.
    if (in.bandwidth > 0) {
        const int minimum = static_cast<int>(100000 / (in.bandwidth * 3.14159));
        if (in.reactionTime < minimum) {
            in.reactionTime = minimum;
            out.message = kMsgReactionTimeRange;
            return out;
        }
    }
    if (in.bandwidth > kMaxBandwidth) {
        out.message = kMsgBandwidthRange;
        return out;
    }
    if (in.bandwidth <= 0) {
        in.bandwidth = 1;
        out.message = kMsgBandwidthRange;
        return out;
    }
    const int s = in.level, b = in.bandwidth;
    if ((s < kLevels - 1 && b >= kTable[s + 1].bandwidth) ||
        (s > 0 && b <= kTable[s - 1].bandwidth)) {
        out.message = kMsgStiffnessTooLow;
        return out;
    }
    const bool below = (b < kTable[s].bandwidth && s > 0) || s == kLevels - 1;
    const int from = below ? s - 1 : s, to = below ? s : s + 1;
    out.gains[kPr004] = in.inertiaRatio;
    out.gains[kPr100] = kMaxReactionTime / in.reactionTime;
    out.gains[kPr101] = b;
    out.gains[kPr102] = Interpolate(from, to, b, &StiffnessRow::velocityTime);
    out.gains[kPr104] = Interpolate(from, to, b, &StiffnessRow::torqueFilter);
    return out;
}

const GainRanges& DefaultRanges() {
    return kDefaultRanges;
}

const char* ParmLabel(int parm) {
    return kLabels[parm];
}

std::string RangeText(int parm, const GainRange& range) {
    return std::string(kLabels[parm]) + ": " + std::to_string(range.low) + "~" +
           std::to_string(range.high);
}

std::optional<int> FirstOutOfRange(const GainValues& values, const GainRanges& ranges) {
    for (int p = 0; p < kGainParms; ++p)
        if (values[p] < ranges[p].low || values[p] > ranges[p].high)
            return p;
    return std::nullopt;
}

} // namespace gainwise
