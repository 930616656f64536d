#include "ModbusCrc.h"

#include <array>

namespace wirelay {
namespace {

// The high and low table of the Modbus standard, derived from the polynomial at
// compile time instead of being typed out.
struct CrcTables {
    std::array<std::uint8_t, 256> hi{};
    std::array<std::uint8_t, 256> lo{};
};

constexpr CrcTables MakeTables() {
    CrcTables t;
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? (crc >> 1) ^ 0xA001u : crc >> 1;
        t.hi[i] = static_cast<std::uint8_t>(crc & 0xFF);
        t.lo[i] = static_cast<std::uint8_t>(crc >> 8);
    }
    return t;
}

constexpr CrcTables kTables = MakeTables();
static_assert(kTables.hi[1] == 0xC1 && kTables.lo[1] == 0xC0,
              "table layout of the Modbus standard");

} // namespace

std::uint16_t ModbusCrc16(const std::uint8_t* bytes, std::size_t length) {
    std::uint8_t hi = 0xFF;
    std::uint8_t lo = 0xFF;
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t index = hi ^ bytes[i];
        hi = lo ^ kTables.hi[index];
        lo = kTables.lo[index];
    }
    return static_cast<std::uint16_t>(hi << 8 | lo);
}

void AppendModbusCrc(std::uint8_t* frame, std::size_t total) {
    if (total < 2)
        return;
    const std::uint16_t crc = ModbusCrc16(frame, total - 2);
    frame[total - 2] = static_cast<std::uint8_t>(crc >> 8);
    frame[total - 1] = static_cast<std::uint8_t>(crc & 0xFF);
}

bool CheckModbusCrc(const std::uint8_t* frame, std::size_t total) {
    if (total < 2)
        return false;
    const std::uint16_t crc = ModbusCrc16(frame, total - 2);
    return frame[total - 2] == (crc >> 8) && frame[total - 1] == (crc & 0xFF);
}

} // namespace wirelay
