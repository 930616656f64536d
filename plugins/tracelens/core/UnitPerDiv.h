// The "Unit /Div." choices of a channel: a fixed table of 45 scales, of
// which a signal offers those up to about a fifth of its maximum.
#pragma once

#include <array>
#include <vector>

namespace tracelens {

inline constexpr std::array<int, 45> kUnitPerDivTable{
    10,    20,     30,     40,     50,      60,      70,      80,       90,      100,  120,   140,
    160,   180,    200,    300,    400,     500,     600,     700,      800,     900,  1000,  1100,
    1200,  1300,   1400,   1500,   1600,    1700,    1800,    1900,     2000,    5000, 10000, 20000,
    50000, 100000, 200000, 500000, 1000000, 2000000, 5000000, 10000000, 20000000};

struct UnitPerDivChoices {
    std::vector<int> values; // the first entries of the table
    int preselected = 0;     // index into values
};

// The choices for a signal of this maximum: entries are taken while the one
// before is below maximum / 5 (rounded up); the preselected one is the last
// not above maximum / 10 (rounded up), else the first.
UnitPerDivChoices UnitPerDivFor(int maximum);

} // namespace tracelens
