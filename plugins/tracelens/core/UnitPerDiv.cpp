#include "UnitPerDiv.h"

namespace tracelens {

namespace {
long long CeilDiv(long long value, long long by) {
    return value >= 0 ? (value + by - 1) / by : -(-value / by);
}
} // namespace

UnitPerDivChoices UnitPerDivFor(int maximum) {
    const long long fifth = CeilDiv(maximum, 5);
    const long long tenth = CeilDiv(maximum, 10);
    UnitPerDivChoices choices;
    choices.values.push_back(kUnitPerDivTable[0]);
    for (std::size_t i = 1; i < kUnitPerDivTable.size() && kUnitPerDivTable[i - 1] < fifth; ++i)
        choices.values.push_back(kUnitPerDivTable[i]);
    for (std::size_t i = 0; i < choices.values.size(); ++i) {
        if (choices.values[i] <= tenth)
            choices.preselected = static_cast<int>(i);
    }
    return choices;
}

} // namespace tracelens
