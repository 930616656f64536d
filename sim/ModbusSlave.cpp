#include "ModbusSlave.h"

#include "ModbusCrc.h"

namespace drivesim {
namespace {

enum Function : std::uint8_t {
    kReadCoils = 0x01,
    kReadHoldingRegisters = 0x03,
    kWriteMultipleCoils = 0x0F,
    kWriteMultipleRegisters = 0x10,
    kReportSlaveId = 0x11,
};

std::uint16_t Word(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t w) {
    out.push_back(static_cast<std::uint8_t>(w >> 8));
    out.push_back(static_cast<std::uint8_t>(w));
}

std::vector<std::uint8_t> Finish(std::vector<std::uint8_t> reply) {
    reply.resize(reply.size() + 2);
    wirelay::AppendModbusCrc(reply.data(), reply.size());
    return reply;
}

std::vector<std::uint8_t> PackBits(const std::vector<bool>& bits) {
    std::vector<std::uint8_t> bytes((bits.size() + 7) / 8, 0);
    for (std::size_t i = 0; i < bits.size(); ++i)
        if (bits[i])
            bytes[i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
    return bytes;
}

// The reply body for a request addressed to this drive, or an exception code.
std::optional<std::vector<std::uint8_t>> Serve(DriveState& state, const std::uint8_t* f,
                                               std::size_t n, std::uint8_t& exception) {
    const std::uint8_t function = f[1];
    std::vector<std::uint8_t> reply{f[0], function};
    const std::uint16_t start = n >= 6 ? Word(f + 2) : 0;
    const std::uint16_t count = n >= 6 ? Word(f + 4) : 0;
    switch (function) {
    case kReadCoils: {
        std::vector<bool> bits;
        if (n != 8 || count < 1 || count > 2000)
            exception = kIllegalValue;
        else
            exception = state.ReadCoils(start, count, bits);
        if (exception)
            return std::nullopt;
        const auto bytes = PackBits(bits);
        reply.push_back(static_cast<std::uint8_t>(bytes.size()));
        reply.insert(reply.end(), bytes.begin(), bytes.end());
        return reply;
    }
    case kReadHoldingRegisters: {
        std::vector<std::uint16_t> words;
        if (n != 8 || count < 1 || count > 125)
            exception = kIllegalValue;
        else
            exception = state.ReadRegisters(start, count, words);
        if (exception)
            return std::nullopt;
        reply.push_back(static_cast<std::uint8_t>(2 * count));
        for (std::uint16_t w : words)
            PutWord(reply, w);
        return reply;
    }
    case kWriteMultipleCoils:
    case kWriteMultipleRegisters: {
        const bool coils = function == kWriteMultipleCoils;
        const std::size_t byteCount = n >= 7 ? f[6] : 0;
        const bool countOk = coils ? count >= 1 && count <= 1968 && byteCount == (count + 7u) / 8
                                   : count >= 1 && count <= 123 && byteCount == 2u * count;
        if (!countOk || n != 9 + byteCount) {
            exception = kIllegalValue;
            return std::nullopt;
        }
        if (coils) {
            std::vector<bool> bits(count);
            for (std::size_t i = 0; i < count; ++i)
                bits[i] = (f[7 + i / 8] >> (i % 8)) & 1;
            exception = state.WriteCoils(start, bits);
        } else {
            std::vector<std::uint16_t> words(count);
            for (std::size_t i = 0; i < count; ++i)
                words[i] = Word(f + 7 + 2 * i);
            exception = state.WriteRegisters(start, words);
        }
        if (exception)
            return std::nullopt;
        reply.insert(reply.end(), f + 2, f + 6);
        return reply;
    }
    case kReportSlaveId: {
        if (n != 4) {
            exception = kIllegalValue;
            return std::nullopt;
        }
        const auto data = state.SlaveId();
        reply.push_back(static_cast<std::uint8_t>(data.size()));
        reply.insert(reply.end(), data.begin(), data.end());
        return reply;
    }
    default:
        exception = kIllegalFunction;
        return std::nullopt;
    }
}

} // namespace

int RequestLength(const std::uint8_t* bytes, std::size_t size) {
    if (size < 2)
        return 0;
    switch (bytes[1]) {
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x06:
        return 8;
    case 0x07:
    case 0x0B:
    case 0x0C:
    case 0x11:
        return 4;
    case 0x0F:
    case 0x10:
        return size < 7 ? 0 : 9 + bytes[6];
    case 0x16:
        return 10;
    case 0x17:
        return size < 11 ? 0 : 13 + bytes[10];
    default:
        return -1;
    }
}

std::vector<std::uint8_t> ExceptionReply(std::uint8_t address, std::uint8_t function,
                                         std::uint8_t code) {
    return Finish({address, static_cast<std::uint8_t>(function | 0x80), code});
}

std::optional<std::vector<std::uint8_t>> HandleRequest(DriveState& state, std::uint8_t slaveAddress,
                                                       const std::uint8_t* frame,
                                                       std::size_t size) {
    if (size < 4 || !wirelay::CheckModbusCrc(frame, size))
        return std::nullopt;
    if (frame[0] != slaveAddress && frame[0] != kBroadcast)
        return std::nullopt;
    std::uint8_t exception = kNoException;
    auto reply = Serve(state, frame, size, exception);
    if (frame[0] == kBroadcast)
        return std::nullopt;
    if (!reply)
        return ExceptionReply(frame[0], frame[1], exception);
    return Finish(std::move(*reply));
}

bool RequestTouches(const std::uint8_t* frame, std::size_t size, std::uint8_t slaveAddress,
                    std::uint16_t address) {
    if (size < 8 || frame[0] != slaveAddress || !wirelay::CheckModbusCrc(frame, size))
        return false;
    const std::uint8_t f = frame[1];
    if (f != kReadCoils && f != kReadHoldingRegisters && f != kWriteMultipleCoils &&
        f != kWriteMultipleRegisters)
        return false;
    const std::uint32_t start = Word(frame + 2), count = Word(frame + 4);
    return address >= start && address < start + count;
}

} // namespace drivesim
