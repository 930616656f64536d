#include "FrameAssembler.h"

#include "ModbusCrc.h"
#include "ModbusSlave.h"

namespace drivesim {

void FrameAssembler::Add(const std::uint8_t* bytes, std::size_t size, Clock::time_point now) {
    if (size == 0)
        return;
    if (buffer_.empty())
        firstAt_ = now;
    buffer_.insert(buffer_.end(), bytes, bytes + size);
    lastAt_ = now;
}

std::optional<RequestFrame> FrameAssembler::Take(Clock::time_point now, Clock::duration silence) {
    while (!buffer_.empty()) {
        const int length = RequestLength(buffer_.data(), buffer_.size());
        if (length > 0 && static_cast<std::size_t>(length) <= buffer_.size()) {
            if (wirelay::CheckModbusCrc(buffer_.data(), length)) {
                RequestFrame frame{{buffer_.begin(), buffer_.begin() + length}, firstAt_};
                buffer_.erase(buffer_.begin(), buffer_.begin() + length);
                firstAt_ = lastAt_;
                return frame;
            }
            buffer_.erase(buffer_.begin()); // not a frame start: slide by one byte
            continue;
        }
        // The head cannot be taken yet; a whole request further on means the
        // head was noise.
        if (const std::size_t at = FindWholeFrame(1); at != 0) {
            buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(at));
            continue;
        }
        if (buffer_.size() > kMaxFrameBytes) {
            buffer_.erase(buffer_.begin());
            continue;
        }
        if (now - lastAt_ < silence)
            return std::nullopt; // the rest may still come
        // The line fell silent: whatever is held is one frame, good or not.
        RequestFrame frame{std::move(buffer_), firstAt_};
        buffer_.clear();
        return frame;
    }
    return std::nullopt;
}

std::size_t FrameAssembler::FindWholeFrame(std::size_t from) const {
    for (std::size_t at = from; at + 4 <= buffer_.size(); ++at) {
        const int length = RequestLength(buffer_.data() + at, buffer_.size() - at);
        if (length > 0 && at + length <= buffer_.size() &&
            wirelay::CheckModbusCrc(buffer_.data() + at, static_cast<std::size_t>(length)))
            return at;
    }
    return 0;
}

std::optional<Clock::time_point> FrameAssembler::SilenceDeadline(Clock::duration silence) const {
    if (buffer_.empty())
        return std::nullopt;
    return lastAt_ + silence;
}

} // namespace drivesim
