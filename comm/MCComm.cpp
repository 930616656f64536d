// The service frames of CMCComm.
#include "MCComm.h"

#include "CommApi.h"
#include "CommHooks.h"

#include <algorithm>

namespace {

constexpr unsigned char kReadParm = 0x03;
constexpr unsigned char kReadPositionBatch = 0x05;
constexpr unsigned char kSetAllDioFlags = 0x06;
constexpr unsigned char kSaveSerialData = 0x08;
constexpr unsigned char kReadSerialData = 0x09;
constexpr unsigned char kReadInfoData = 0x0A;
constexpr unsigned char kSaveParm = 0x15;

// The drive needs this long to answer a service frame.
constexpr unsigned kReplyWaitMs = 100;
// Further looks for an acceptance that comes late, and the pause between them.
constexpr int kAcceptanceLooks = 10;
constexpr unsigned kAcceptancePauseMs = 50;
// Reply layout: three header bytes, then the data.
constexpr unsigned kReplyData = 3;

std::vector<unsigned char> Frame(unsigned char command, const std::vector<unsigned char>& data) {
    // Header, data, and room for the check byte.
    std::vector<unsigned char> frame(4 + data.size() + 1, 0);
    frame[0] = CMCComm::kFrameStart;
    frame[2] = command;
    frame[3] = static_cast<unsigned char>(data.size());
    std::copy(data.begin(), data.end(), frame.begin() + 4);
    return frame;
}

void PutBigEndian(std::vector<unsigned char>& bytes, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<unsigned char>(value >> shift));
}

std::int32_t BigEndian(const unsigned char* bytes) {
    return static_cast<std::int32_t>(std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 |
                                     std::uint32_t(bytes[2]) << 8 | bytes[3]);
}

} // namespace

void CMCComm::AppendCheckSum(unsigned char* frame, unsigned length) {
    if (length == 0)
        return;
    unsigned sum = 0;
    for (unsigned i = 1; i + 1 < length; ++i)
        sum += frame[i];
    frame[length - 1] = length <= 2 ? 0 : static_cast<unsigned char>(sum);
}

void CMCComm::Send(const std::vector<unsigned char>& frame) {
    std::vector<unsigned char> bytes = frame;
    if (byteWaitTime <= 0) {
        UWrite(bytes.data(), static_cast<unsigned>(bytes.size()));
        return;
    }
    // Slow drive firmware takes one byte at a time.
    for (unsigned char& byte : bytes) {
        UWrite(&byte, 1);
        wirelay::SleepMs(static_cast<unsigned>(byteWaitTime));
    }
}

bool CMCComm::ReadWaiting(std::vector<unsigned char>& reply) {
    DWORD errors = 0;
    if (!ClearCommError(hPort, &errors, &comStat))
        return false;
    const unsigned long waiting = comStat.cbInQue;
    reply.resize(waiting);
    return waiting == 0 || URead(reply.data(), static_cast<unsigned>(waiting));
}

bool CMCComm::Exchange(std::vector<unsigned char> frame, std::vector<unsigned char>& reply) {
    AppendCheckSum(frame.data(), static_cast<unsigned>(frame.size()));
    Send(frame);
    wirelay::SleepMs(kReplyWaitMs);
    return ReadWaiting(reply);
}

bool CMCComm::AwaitAcceptance(std::vector<unsigned char>& reply) {
    for (int look = 0; look < kAcceptanceLooks && (reply.empty() || reply[0] != kAccepted);
         ++look) {
        if (PreCountInQue() == 0) {
            wirelay::SleepMs(kAcceptancePauseMs);
            continue;
        }
        if (!ReadWaiting(reply))
            return false;
        break; // the first reply that arrived decides
    }
    return !reply.empty() && reply[0] == kAccepted;
}

void CMCComm::SettleAfterParameterAccess() {
    wirelay::SleepMs(kReplyWaitMs);
    DWORD errors = 0;
    COMSTAT status{};
    ClearCommError(hPort, &errors, &status);
}

int CMCComm::AcknowledgedWrite(std::vector<unsigned char> frame) {
    std::vector<unsigned char> reply;
    if (!Exchange(std::move(frame), reply))
        return 0;
    return AwaitAcceptance(reply) ? 1 : 0;
}

int CMCComm::EM_ReadParm(unsigned char channel, std::int32_t& value) {
    std::vector<unsigned char> reply;
    const bool read = Exchange(Frame(kReadParm, {channel}), reply);
    SettleAfterParameterAccess();
    if (!read || reply.size() < kReplyData + 4)
        return 0;
    value = BigEndian(reply.data() + kReplyData);
    return 1;
}

int CMCComm::EM_SaveParm(unsigned char channel, std::int32_t value) {
    std::vector<unsigned char> data{channel};
    PutBigEndian(data, static_cast<std::uint32_t>(value));
    const int result = AcknowledgedWrite(Frame(kSaveParm, data));
    SettleAfterParameterAccess();
    return result;
}

int CMCComm::SetAllDIOFlag() {
    return AcknowledgedWrite(Frame(kSetAllDioFlags, std::vector<unsigned char>(16, 0xFF)));
}

int CMCComm::SaveSerialData(const unsigned char* data) {
    return AcknowledgedWrite(Frame(kSaveSerialData, {data, data + kSerialDataSize}));
}

int CMCComm::ReadBlock(unsigned char command, unsigned size, unsigned char* out) {
    std::vector<unsigned char> reply;
    if (!Exchange(Frame(command, {}), reply) || reply.size() < kReplyData + size)
        return 0;
    std::copy_n(reply.begin() + kReplyData, size, out);
    return 1;
}

int CMCComm::ReadSerialData(unsigned char* out) {
    return ReadBlock(kReadSerialData, kSerialDataSize, out);
}

int CMCComm::ReadInfoData(unsigned char* out) {
    return ReadBlock(kReadInfoData, kInfoDataSize, out);
}

int CMCComm::ReadDIOPositionBatch(unsigned char first, unsigned char count, std::int32_t* out) {
    std::vector<unsigned char> frame = Frame(kReadPositionBatch, {first, count});
    AppendCheckSum(frame.data(), static_cast<unsigned>(frame.size()));
    Send(frame);
    // A fixed length, awaited like a Modbus reply.
    std::vector<unsigned char> reply(4u * count + 5);
    const unsigned long arrived = AwaitReply(reply.size(), false);
    if (arrived < reply.size()) {
        GarbageCollection("Batch: ", 0);
        return 0;
    }
    if (!URead(reply.data(), static_cast<unsigned>(reply.size())))
        return 0;
    for (unsigned i = 0; i < count; ++i)
        out[i] = BigEndian(reply.data() + kReplyData + 4 * i);
    return 1;
}
