// How the monitor turns raw values into the texts of its lists.
#pragma once

#include "MonitorData.h"

#include <string>

namespace monitor {

// A Motion value by the item's Type: 1 tenths ("%.1f" of the signed low 16
// bits), 2 a 16-bit offset-binary ±10 V input in mV, 3 a 12-bit ±10 V input
// in mV, otherwise the signed number (16 bits for one register).
std::string MotionText(int type, int datasize, std::int32_t raw);

// A Status row: rows 0..2 the value name of the raw value (the number when
// no name matches); from row 3 on "ON"/"OFF" of bit row - 3.
std::string StatusText(const ItemGroup& status, int row, const std::string& on,
                       const std::string& off);

// Pin `row` of a coil read: pins 0..7 are bits 0..7, the second coil byte
// (pins 8..15) lies at bits 16..23.
bool PinOn(std::int32_t raw, int row);

} // namespace monitor
