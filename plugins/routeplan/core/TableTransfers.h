// The transfers of the internal-position table: read all (35 steps), transfer
// all (36 steps), and get or set one point. Each stops at the first failed
// request; values already read stay, values not yet read keep their contents.
#pragma once

#include "MotionLink.h"
#include "RouteplanValues.h"

#include <atomic>

namespace routeplan {

constexpr int kReadSteps = 35;
constexpr int kTransferSteps = 36;

struct GearRatio {
    int numerator = 0;   // register 75
    int denominator = 0; // register 70
};

// Registers 70 and 75.
bool ReadGear(MotionLink& link, GearRatio& gear);
// Everything but the identity: gear ratio, 939, the table and its companions.
bool ReadTable(MotionLink& link, RouteplanValues& values, GearRatio& gear,
               std::atomic<int>& progress);
// Writes the table and its companions and finally 129 = 2 (take them over).
bool TransferTable(MotionLink& link, const RouteplanValues& values, std::atomic<int>& progress);

bool ReadPoint(MotionLink& link, int point, std::int32_t& position, std::int32_t& speed);
// Position, speed, then 129 = 1.
bool WritePoint(MotionLink& link, int point, std::int32_t position, std::int32_t speed);

// 32-bit values travel low word first.
std::int32_t JoinWords(unsigned short low, unsigned short high);
bool WriteLong(MotionLink& link, std::uint16_t low, std::int32_t value);
bool ReadLong(MotionLink& link, std::uint16_t low, std::int32_t& value);
bool WriteWord(MotionLink& link, std::uint16_t address, std::int32_t value);
bool ReadWord(MotionLink& link, std::uint16_t address, std::int32_t& value);

} // namespace routeplan
