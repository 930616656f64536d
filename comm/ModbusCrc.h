// The Modbus RTU frame check shared by the master and the drive simulator.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wirelay {

// CRC-16 of `length` bytes (reflected polynomial 0xA001, start 0xFFFF), by the
// two 256-entry tables of the Modbus standard. The byte sent first is in
// the high half: for 01 03 00 00 00 01 the wire carries 84 0A and the result
// is 0x840A.
std::uint16_t ModbusCrc16(const std::uint8_t* bytes, std::size_t length);

// Stores the CRC of the first total-2 bytes in the last two bytes of `frame`.
void AppendModbusCrc(std::uint8_t* frame, std::size_t total);

// True when the last two bytes of `frame` hold the CRC of the rest.
bool CheckModbusCrc(const std::uint8_t* frame, std::size_t total);

} // namespace wirelay
