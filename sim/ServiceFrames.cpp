#include "ServiceFrames.h"

#include <algorithm>
#include <cstring>

namespace drivesim {
namespace {

constexpr std::uint8_t kStart = 0x05, kAccept = 0x06, kRefuse = 0x15;
constexpr std::size_t kHeader = 4; // 05 00 command length
constexpr char kInfo[] = "VELMORA-SIM SERVICE 1.0";
constexpr std::size_t kInfoSize = 27;

std::uint8_t Check(const std::vector<std::uint8_t>& bytes) {
    unsigned sum = 0;
    for (std::size_t i = 1; i < bytes.size(); ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>(sum);
}

std::vector<std::uint8_t> Reply(std::uint8_t status, std::uint8_t command,
                                const std::vector<std::uint8_t>& data = {}) {
    std::vector<std::uint8_t> reply(3 + data.size() + 1, 0);
    reply[0] = status;
    reply[2] = command;
    std::copy(data.begin(), data.end(), reply.begin() + 3);
    reply.back() = Check({reply.begin(), reply.end() - 1});
    return reply;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::int32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> shift));
}

} // namespace

ServiceFrames::ServiceFrames() {
    for (std::size_t n = 0; n < positions_.size(); ++n)
        positions_[n] = static_cast<std::int32_t>(1000 * n);
}

std::vector<std::vector<std::uint8_t>> ServiceFrames::Add(const std::uint8_t* bytes,
                                                          std::size_t size) {
    pending_.insert(pending_.end(), bytes, bytes + size);
    std::vector<std::vector<std::uint8_t>> replies;
    while (!pending_.empty()) {
        if (pending_[0] != kStart || (pending_.size() > 1 && pending_[1] != 0x00)) {
            pending_.erase(pending_.begin());
            continue;
        }
        if (pending_.size() < kHeader)
            break;
        const std::size_t total = kHeader + pending_[3] + 1;
        if (pending_.size() < total)
            break;
        const std::vector<std::uint8_t> frame(pending_.begin(), pending_.begin() + total);
        if (Check({frame.begin(), frame.end() - 1}) != frame.back()) {
            pending_.erase(pending_.begin()); // not a frame start after all
            continue;
        }
        pending_.erase(pending_.begin(), pending_.begin() + total);
        replies.push_back(Answer(frame));
    }
    return replies;
}

std::vector<std::uint8_t> ServiceFrames::Answer(const std::vector<std::uint8_t>& frame) {
    const std::uint8_t command = frame[2], length = frame[3];
    const std::uint8_t* data = frame.data() + kHeader;
    std::vector<std::uint8_t> out;
    switch (command) {
    case 0x03: // read a parameter
        if (length != 1)
            break;
        PutBigEndian(out, parameters_[data[0]]);
        return Reply(kAccept, command, out);
    case 0x15: // save a parameter
        if (length != 5)
            break;
        parameters_[data[0]] =
            static_cast<std::int32_t>(std::uint32_t(data[1]) << 24 | std::uint32_t(data[2]) << 16 |
                                      std::uint32_t(data[3]) << 8 | data[4]);
        return Reply(kAccept, command);
    case 0x06: // set all DIO flags
        if (length != 16)
            break;
        return Reply(kAccept, command);
    case 0x08: // save the serial data
        if (length != serial_.size())
            break;
        std::copy_n(data, serial_.size(), serial_.begin());
        return Reply(kAccept, command);
    case 0x09: // read the serial data
        if (length != 0)
            break;
        return Reply(kAccept, command, {serial_.begin(), serial_.end()});
    case 0x0A: { // read the information block
        if (length != 0)
            break;
        std::vector<std::uint8_t> info(kInfoSize, 0);
        std::memcpy(info.data(), kInfo, sizeof kInfo - 1);
        return Reply(kAccept, command, info);
    }
    case 0x05: { // read a batch of positions: first, count
        if (length != 2 || data[0] + data[1] > static_cast<int>(positions_.size()))
            break;
        for (int i = 0; i < data[1]; ++i)
            PutBigEndian(out, positions_[data[0] + i]);
        out.push_back(data[1]);
        return Reply(kAccept, command, out);
    }
    default:
        break;
    }
    return Reply(kRefuse, command);
}

} // namespace drivesim
