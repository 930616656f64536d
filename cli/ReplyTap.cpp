#include "ReplyTap.h"

#include "CommApi.h"
#include "ModbusCrc.h"

#include <string>

namespace velmora::cli {

ReplyTap::ReplyTap(HANDLE port) : port_(port), handle_(wirelay::AttachSerialDevice(this)) {}

ReplyTap::~ReplyTap() {
    wirelay::DetachSerialDevice(handle_);
}

long ReplyTap::InQueue() {
    COMSTAT status{};
    return ClearCommError(port_, nullptr, &status) ? static_cast<long>(status.cbInQue) : -1;
}

long ReplyTap::Read(std::uint8_t* buffer, std::size_t count) {
    DWORD done = 0;
    if (!ReadFile(port_, buffer, static_cast<DWORD>(count), &done, nullptr))
        return -1;
    received_.insert(received_.end(), buffer, buffer + done);
    return static_cast<long>(done);
}

long ReplyTap::Write(const std::uint8_t* buffer, std::size_t count) {
    received_.clear(); // a new request: what came before was drained
    DWORD done = 0;
    return WriteFile(port_, buffer, static_cast<DWORD>(count), &done, nullptr)
               ? static_cast<long>(done)
               : -1;
}

void ReplyTap::Purge(bool receive, bool transmit) {
    PurgeComm(port_, (receive ? PURGE_RXCLEAR : 0) | (transmit ? PURGE_TXCLEAR : 0));
}

std::string DescribeFailedReply(const std::vector<std::uint8_t>& received, unsigned address,
                                unsigned function) {
    const std::string slave = "slave " + std::to_string(address);
    if (received.empty())
        return "no reply from " + slave;
    if (received.size() >= 5 && received[1] == (function | 0x80) &&
        wirelay::CheckModbusCrc(received.data(), 5))
        return slave + " refused the request with exception code " + std::to_string(received[2]);
    if (received.size() >= 4 && !wirelay::CheckModbusCrc(received.data(), received.size()))
        return "reply from " + slave + " has a bad CRC";
    if (received.size() >= 4 && received[0] != address)
        return "reply came from slave " + std::to_string(received[0]) + ", not from " + slave;
    return "invalid reply from " + slave + " (" + std::to_string(received.size()) +
           " bytes of unexpected length or content)";
}

} // namespace velmora::cli
