#include "MemoryPort.h"

#include <algorithm>
#include <cstring>

namespace wirelay {

MemoryPort::MemoryPort() : handle_(AttachSerialDevice(this)) {}

MemoryPort::~MemoryPort() {
    DetachSerialDevice(handle_);
}

void MemoryPort::Feed(const std::uint8_t* bytes, std::size_t count) {
    // Drop what was read already before the buffer grows.
    if (head_ > 0 && head_ >= input_.size() / 2) {
        input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(head_));
        head_ = 0;
    }
    input_.insert(input_.end(), bytes, bytes + count);
}

long MemoryPort::InQueue() {
    return gone_ ? -1 : static_cast<long>(input_.size() - head_);
}

long MemoryPort::Read(std::uint8_t* buffer, std::size_t count) {
    if (gone_)
        return -1;
    const std::size_t n = std::min(count, input_.size() - head_);
    std::memcpy(buffer, input_.data() + head_, n);
    head_ += n;
    return static_cast<long>(n);
}

long MemoryPort::Write(const std::uint8_t* buffer, std::size_t count) {
    if (gone_)
        return -1;
    if (responder_)
        responder_(buffer, count);
    else
        written_.insert(written_.end(), buffer, buffer + count);
    return static_cast<long>(count);
}

void MemoryPort::Purge(bool receive, bool /*transmit*/) {
    if (receive) {
        input_.clear();
        head_ = 0;
    }
}

} // namespace wirelay
