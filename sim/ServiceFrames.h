// The drive's side of the service frames (05 00, command, data length, data,
// check byte) that velmora-drive-sim answers beside Modbus with --service.
//
// Bytes the Modbus framing could not use arrive here, in pieces as the line's
// silences cut them (a master may send one byte at a time). Whole frames with
// a good check byte are answered; bytes that start no such frame are dropped.
// Replies: 06 00, the command, the data, a check byte over all but the first
// byte; an unknown command or a wrong data length gets 15 00, the command,
// check. Position n of a batch read holds 1000 × n.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace drivesim {

class ServiceFrames {
public:
    ServiceFrames();

    // Takes the next bytes; returns the replies to the frames they complete.
    std::vector<std::vector<std::uint8_t>> Add(const std::uint8_t* bytes, std::size_t size);

private:
    std::vector<std::uint8_t> Answer(const std::vector<std::uint8_t>& frame);

    std::vector<std::uint8_t> pending_;
    std::array<std::int32_t, 256> parameters_{};
    std::array<std::int32_t, 256> positions_{};
    std::array<std::uint8_t, 32> serial_{};
};

} // namespace drivesim
