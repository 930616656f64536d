// The drive's transmitter: bytes queued for the line leave no earlier than
// their last bit would have crossed the wire at the format's speed, one
// after the other, so a reader sees the timing of a real line. Replies leave
// byte by byte, sample frames whole.
#pragma once

#include "FrameAssembler.h" // Clock
#include "SerialFormat.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace drivesim {

class LineTransmitter {
public:
    explicit LineTransmitter(const wirelay::SerialFormat& format) : format_(format) {}

    enum class Kind { Reply, SampleFrame };

    // Queues bytes to start on the wire at `start` or when the line is free,
    // whichever is later.
    void Queue(const std::vector<std::uint8_t>& bytes, Kind kind, Clock::time_point start);
    // Forgets the sample frames that have not started on the wire by `now`.
    void DropWaitingFrames(Clock::time_point now);
    void Clear();

    // Writes to `fd` everything whose time has come; returns the number of
    // whole replies written. Bytes the other side has no room for are lost,
    // as on a line nobody listens to.
    int Flush(int fd, Clock::time_point now);

    // When the next bytes are due (nullopt: nothing queued).
    std::optional<Clock::time_point> NextDue() const;
    // When the last queued byte will have crossed the wire.
    Clock::time_point LineFreeAt() const { return lineFreeAt_; }

private:
    struct Unit {
        std::vector<std::uint8_t> bytes;
        Kind kind;
        Clock::time_point start, due; // on the wire from start; written at due
        bool endsReply;
    };

    wirelay::SerialFormat format_;
    std::deque<Unit> units_;
    Clock::time_point lineFreeAt_{};
};

} // namespace drivesim
