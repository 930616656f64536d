#include "GainRegisters.h"

#include <algorithm>

namespace gainwise {
namespace {

constexpr GainRegisterMap kT8Map{{32, 16, 17, 18, 20}, 129};
// Parameter numbers of the five on T5/W5, and their registers.
constexpr std::array<int, kGainParms> kT5Numbers{4, 100, 101, 102, 104};
constexpr unsigned short T5Register(int number) {
    return static_cast<unsigned short>(256 * (number / 100) + 2 * (number % 100));
}
constexpr GainRegisterMap kT5Map{
    {T5Register(4), T5Register(100), T5Register(101), T5Register(102), T5Register(104)}, 0x1081};

} // namespace

std::optional<GainRegisterMap> RegistersFor(int model) {
    switch (model) {
    case kModelT8:
        return kT8Map;
    case kModelT5:
    case kModelW5:
        return kT5Map;
    default:
        return std::nullopt;
    }
}

GainRanges RangesFor(int model, const ParmStore& parms) {
    GainRanges ranges = DefaultRanges();
    if (parms.iModel.load() != model || parms.records == nullptr || parms.recordIndex == nullptr)
        return ranges;
    const auto map = RegistersFor(model);
    if (!map)
        return ranges;
    for (int p = 0; p < kGainParms; ++p) {
        // T8 numbers equal their registers below 128; T5/W5 go by number.
        const int number = model == kModelT8 ? map->address[p] : kT5Numbers[p];
        const int at = parms.recordIndex[number];
        if (at < 0 || at >= static_cast<int>(parms.records->size()))
            continue;
        const ParmRecord& record = (*parms.records)[at];
        ranges[p].low = std::max(ranges[p].low, record.min);
        ranges[p].high = std::min(ranges[p].high, record.max);
    }
    return ranges;
}

} // namespace gainwise
