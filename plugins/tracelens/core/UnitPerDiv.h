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

} // namespace tracelens
