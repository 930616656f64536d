// A serial device in memory: bytes fed in wait to be read, bytes written are
// kept (or answered by a responder), and it can "go away" like an unplugged
// adapter. Attached on construction; its handle works with every port call.
#pragma once

#include "SerialDevice.h"

#include <functional>
#include <vector>

namespace wirelay {

class MemoryPort final : public SerialDevice {
public:
    // Called with every write; may Feed() the reply.
    using Responder = std::function<void(const std::uint8_t* bytes, std::size_t count)>;

    MemoryPort();
    ~MemoryPort() override;
    MemoryPort(const MemoryPort&) = delete;
    MemoryPort& operator=(const MemoryPort&) = delete;

    HANDLE Handle() const { return handle_; }

    void Feed(const std::uint8_t* bytes, std::size_t count);
    void Feed(const std::vector<std::uint8_t>& bytes) { Feed(bytes.data(), bytes.size()); }
    void SetResponder(Responder responder) { responder_ = std::move(responder); }
    // Every byte written so far (when no responder takes them).
    const std::vector<std::uint8_t>& Written() const { return written_; }
    void ClearWritten() { written_.clear(); }
    // From now on every operation fails, as on an unplugged adapter.
    void GoAway() { gone_ = true; }

    long InQueue() override;
    long Read(std::uint8_t* buffer, std::size_t count) override;
    long Write(const std::uint8_t* buffer, std::size_t count) override;
    void Purge(bool receive, bool transmit) override;

private:
    HANDLE handle_;
    std::vector<std::uint8_t> input_;
    std::size_t head_ = 0;
    std::vector<std::uint8_t> written_;
    Responder responder_;
    bool gone_ = false;
};

} // namespace wirelay
