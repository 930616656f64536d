// The drive's side of Modbus RTU: request framing and one reply per request,
// as a pure function of the drive state and the request bytes.
#pragma once

#include "DriveState.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace drivesim {

constexpr std::uint8_t kBroadcast = 0;

// Length of the request at the start of `bytes`, told by its function code:
// the length when known, 0 when more bytes are needed to tell, -1 for a
// function code whose request length is unknown (the frame then ends at the
// next silence on the line).
int RequestLength(const std::uint8_t* bytes, std::size_t size);

// The reply to one whole request frame, or nothing: a frame with a bad CRC,
// for another slave, or a broadcast (whose writes are still done) gets none.
std::optional<std::vector<std::uint8_t>> HandleRequest(DriveState& state, std::uint8_t slaveAddress,
                                                       const std::uint8_t* frame, std::size_t size);

// address, function | 0x80, code, CRC.
std::vector<std::uint8_t> ExceptionReply(std::uint8_t address, std::uint8_t function,
                                         std::uint8_t code);

// True for a CRC-valid frame addressed to `slaveAddress` whose register or
// coil range includes `address` (Report Slave ID touches none).
bool RequestTouches(const std::uint8_t* frame, std::size_t size, std::uint8_t slaveAddress,
                    std::uint16_t address);

} // namespace drivesim
