// Cuts the bytes arriving from the master into request frames: by the length
// the function code gives, resynchronising past bytes that do not start a
// frame with a valid CRC, and at a silence on the line for requests of
// unknown length.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace drivesim {

using Clock = std::chrono::steady_clock;

struct RequestFrame {
    std::vector<std::uint8_t> bytes;
    Clock::time_point arrival; // when its first byte was read
};

class FrameAssembler {
public:
    void Add(const std::uint8_t* bytes, std::size_t size, Clock::time_point now);
    // The next whole frame, if any; `silence` is the gap that ends a frame.
    std::optional<RequestFrame> Take(Clock::time_point now, Clock::duration silence);
    // When a silence would end the bytes held now (nullopt: nothing held).
    std::optional<Clock::time_point> SilenceDeadline(Clock::duration silence) const;
    void Clear() { buffer_.clear(); }

private:
    // Offset of the first CRC-valid request at or after `from`; 0 when none.
    std::size_t FindWholeFrame(std::size_t from) const;

    std::vector<std::uint8_t> buffer_;
    Clock::time_point firstAt_{}, lastAt_{};
};

// Frames longer than this cannot be Modbus RTU; the bytes are dropped.
constexpr std::size_t kMaxFrameBytes = 256;

} // namespace drivesim
