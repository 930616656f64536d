// Sits between the Modbus master and the port and keeps the bytes received
// since the latest request, so that a failed exchange can be explained
// ("no reply", "bad CRC", "exception 2") to the technician.
#pragma once

#include "SerialDevice.h"

#include <string>
#include <vector>

namespace velmora::cli {

class ReplyTap final : public wirelay::SerialDevice {
public:
    explicit ReplyTap(HANDLE port);
    ~ReplyTap() override;
    ReplyTap(const ReplyTap&) = delete;
    ReplyTap& operator=(const ReplyTap&) = delete;

    HANDLE Handle() const { return handle_; }
    const std::vector<std::uint8_t>& Received() const { return received_; }

    long InQueue() override;
    long Read(std::uint8_t* buffer, std::size_t count) override;
    long Write(const std::uint8_t* buffer, std::size_t count) override;
    void Purge(bool receive, bool transmit) override;

private:
    HANDLE port_;
    HANDLE handle_;
    std::vector<std::uint8_t> received_;
};

// Why the reply bytes of one request (`function` to `address`) were refused.
std::string DescribeFailedReply(const std::vector<std::uint8_t>& received, unsigned address,
                                unsigned function);

} // namespace velmora::cli
