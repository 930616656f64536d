#include "LineTransmitter.h"

#include "LineTiming.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace drivesim {

void LineTransmitter::Queue(const std::vector<std::uint8_t>& bytes, Kind kind,
                            Clock::time_point start) {
    const auto perByte = WireTime(1, format_);
    auto at = std::max(start, lineFreeAt_);
    if (kind == Kind::SampleFrame) {
        const auto due = at + perByte * static_cast<long>(bytes.size());
        units_.push_back({bytes, kind, at, due, false});
        lineFreeAt_ = due;
        return;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        units_.push_back({{bytes[i]}, kind, at, at + perByte, i + 1 == bytes.size()});
        at += perByte;
    }
    lineFreeAt_ = at;
}

void LineTransmitter::DropWaitingFrames(Clock::time_point now) {
    std::deque<Unit> kept;
    for (Unit& unit : units_)
        if (unit.kind != Kind::SampleFrame || unit.start <= now)
            kept.push_back(std::move(unit));
    units_ = std::move(kept);
    // The line frees when what stays has gone; later replies keep their times.
    lineFreeAt_ = std::min(lineFreeAt_, units_.empty() ? now : units_.back().due);
}

void LineTransmitter::Clear() {
    units_.clear();
    lineFreeAt_ = {};
}

int LineTransmitter::Flush(int fd, Clock::time_point now) {
    int replies = 0;
    while (!units_.empty() && units_.front().due <= now) {
        const Unit& unit = units_.front();
        ssize_t n;
        do
            n = ::write(fd, unit.bytes.data(), unit.bytes.size());
        while (n < 0 && errno == EINTR);
        replies += n > 0 && unit.endsReply;
        units_.pop_front();
    }
    return replies;
}

std::optional<Clock::time_point> LineTransmitter::NextDue() const {
    if (units_.empty())
        return std::nullopt;
    return units_.front().due;
}

} // namespace drivesim
