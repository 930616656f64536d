// The manual gain estimation: the stiffness tables, the preset a stiffness
// level gives, the checks of the entered values in their order, the integer
// interpolation of the five gain parameters, and the range checks before a
// transfer. No drive traffic and no widgets.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace gainwise {

constexpr int kLevels = 16;
constexpr int kMaxBandwidth = 320;       // Hz
constexpr int kMaxReactionTime = 100000; // 0.01 ms

// The five gain parameters, in transfer order.
enum GainParm : int { kPr004 = 0, kPr100, kPr101, kPr102, kPr104, kGainParms };
using GainValues = std::array<int, kGainParms>;

// Message ids of the language table.
enum GainMessage : int {
    kMsgNone = 0,
    kMsgReactionTimeRange = 263,
    kMsgBandwidthRange = 264,
    kMsgStiffnessTooLow = 265,
    kMsgParmOutOfRange = 266,
};

struct StiffnessRow {
    int positionGain, bandwidth, velocityTime, torqueFilter;
};
StiffnessRow Stiffness(int level);

// What picking a stiffness level fills in: the bandwidth, the position
// reaction time (0.01 ms) and the bandwidth range the hint shows.
struct StiffnessPreset {
    int bandwidth, reactionTime, lowestBandwidth, highestBandwidth;
};
// nullopt for a level outside 0..15 (which changes nothing).
std::optional<StiffnessPreset> PresetFor(int level);

struct GainInput {
    int inertiaRatio = 0;
    int level = 0;
    int bandwidth = 0;    // Hz
    int reactionTime = 0; // 0.01 ms
};

// The outcome of "estimate": a message (kMsgNone when the gains were
// computed), the input as corrected for the fields, and the gains.
struct GainOutcome {
    int message = kMsgNone;
    GainInput corrected;
    GainValues gains{};
};
GainOutcome EstimateGains(const GainInput& input);

// The lowest and highest value of each parameter a transfer takes.
struct GainRange {
    int low, high;
};
using GainRanges = std::array<GainRange, kGainParms>;
const GainRanges& DefaultRanges();
const char* ParmLabel(int parm); // "Pr.004"
// "Pr.104: 25~2500"
std::string RangeText(int parm, const GainRange& range);

// The first parameter outside its range, in transfer order, or nullopt.
std::optional<int> FirstOutOfRange(const GainValues& values, const GainRanges& ranges);

} // namespace gainwise
