#include "PLCComm.h"

#include "CommHooks.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The controller answers a write within this time, a word read within the next.
constexpr unsigned kAckWaitMs = 50;
constexpr unsigned kWordReplyWaitMs = 100;
// Reply layout: STX, station (2), PC (2), data, ETX, sum check (2).
constexpr unsigned kReplyData = 5;
constexpr unsigned kReplyOverhead = 8;
constexpr unsigned kAckLength = 5;
constexpr unsigned kMaxCount = 0xFF; // two hex digits

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

int CPLCComm::HexStr2Hex(const char* text) {
    if (text == nullptr)
        return -1;
    const int high = HexDigit(text[0]);
    const int low = high < 0 ? -1 : HexDigit(text[1]);
    return low < 0 ? -1 : high << 4 | low;
}

void CPLCComm::SetCheckSum(unsigned char* frame, unsigned length) {
    if (length < 3)
        return;
    unsigned sum = 0;
    for (unsigned i = 1; i + 2 < length; ++i)
        sum += frame[i];
    const std::string digits = Hex(sum & 0xFF, 2);
    frame[length - 2] = static_cast<unsigned char>(digits[0]);
    frame[length - 1] = static_cast<unsigned char>(digits[1]);
}

int CPLCComm::IsCheckSumOk(const unsigned char* frame, unsigned length) {
    if (length < 3)
        return 0;
    std::vector<unsigned char> copy(frame, frame + length);
    SetCheckSum(copy.data(), length);
    return copy[length - 2] == frame[length - 2] && copy[length - 1] == frame[length - 1] ? 1 : 0;
}

std::string CPLCComm::BuildFrame(const char* command, const char* device, const std::string& body) {
    // The frame lengths the controller expects hold exactly five characters.
    if (device == nullptr || std::strlen(device) != kDeviceNameLength)
        return {};
    std::string frame(1, static_cast<char>(kENQ));
    frame += "00FF";
    frame += command;
    frame += messageWait[0];
    frame += device;
    frame += body;
    frame += "00"; // the sum check
    SetCheckSum(reinterpret_cast<unsigned char*>(frame.data()),
                static_cast<unsigned>(frame.size()));
    return frame;
}

int CPLCComm::SendFrame(std::string frame) {
    if (frame.empty())
        return kFailed;
    return UWrite(reinterpret_cast<unsigned char*>(frame.data()),
                  static_cast<unsigned>(frame.size()))
               ? kSuccess
               : kFailed;
}

int CPLCComm::TakeReply(std::vector<unsigned char>& reply) {
    const unsigned long waiting = PreCountInQue();
    if (waiting == 0)
        return kNoReply;
    reply.resize(waiting);
    if (!URead(reply.data(), static_cast<unsigned>(waiting)))
        return kFailed;
    // A NAK carries an error code after the header, so it is longer than an ACK.
    return reply[0] == kNAK ? kNak : kSuccess;
}

int CPLCComm::IsACK() {
    wirelay::SleepMs(kAckWaitMs);
    std::vector<unsigned char> reply;
    if (const int taken = TakeReply(reply); taken != kSuccess)
        return taken;
    return reply.size() == kAckLength && reply[0] == kACK ? kSuccess : kFailed;
}

int CPLCComm::Write(const char* device, const std::string& body, const char* command) {
    const int sent = SendFrame(BuildFrame(command, device, body));
    return sent == kSuccess ? IsACK() : sent;
}

int CPLCComm::_PLC_BR(const char* device, const char* countText, unsigned char* bits) {
    const int n = HexStr2Hex(countText);
    if (n < 0)
        return kFailed;
    if (const int sent = SendFrame(BuildFrame("BR", device, std::string(countText, 2)));
        sent != kSuccess)
        return sent;
    const unsigned long expected = static_cast<unsigned long>(n) + kReplyOverhead;
    unsigned long waiting = 0;
    for (std::uint64_t poll = 0; poll <= plcPreCountQueTimes; ++poll) {
        if (!QueryInQue(waiting) || waiting >= expected)
            break;
    }
    std::vector<unsigned char> reply;
    if (const int taken = TakeReply(reply); taken != kSuccess)
        return taken;
    if (reply.size() != expected || !IsCheckSumOk(reply.data(), static_cast<unsigned>(expected)))
        return kFailed;
    const unsigned char* digits = reply.data() + kReplyData;
    if (!std::all_of(digits, digits + n, [](unsigned char c) { return c == '0' || c == '1'; }))
        return kFailed;
    for (int i = 0; i < n; ++i)
        bits[i] = digits[i] & 1;
    return kSuccess;
}

int CPLCComm::PLC_BR(const char* device, const char* countText, unsigned char* bits) {
    const std::uint32_t attempts = std::max<std::uint32_t>(plcRetryTimes, 1);
    for (std::uint32_t attempt = 0; attempt < attempts; ++attempt)
        if (_PLC_BR(device, countText, bits) == kSuccess)
            return 0;
    return 1;
}

int CPLCComm::PLC_BW1(const char* device, int bit) {
    return Write(device, std::string("01") + (bit != 0 ? '1' : '0'), "BW");
}

int CPLCComm::PLC_BW(const char* device, unsigned count, const char* data) {
    if (count > kMaxBitWrite || data == nullptr || std::strlen(data) != count)
        return kFailed;
    return Write(device, Hex(count, 2) + data, "BW");
}

int CPLCComm::PLC_WW16(const char* device, unsigned short value) {
    return Write(device, "01" + Hex(value, 4), "WW");
}

int CPLCComm::PLC_DWW(const char* device, std::uint32_t value) {
    return Write(device, "02" + Hex(value & 0xFFFF, 4) + Hex(value >> 16, 4), "WW");
}

int CPLCComm::PLC_WR16(const char* device, unsigned count, unsigned short* words) {
    if (count > kMaxCount)
        return kFailed;
    if (const int sent = SendFrame(BuildFrame("WR", device, Hex(count, 2))); sent != kSuccess)
        return sent;
    wirelay::SleepMs(kWordReplyWaitMs);
    std::vector<unsigned char> reply;
    if (const int taken = TakeReply(reply); taken != kSuccess)
        return taken;
    if (reply.size() != 4ul * count + kReplyOverhead ||
        !IsCheckSumOk(reply.data(), static_cast<unsigned>(reply.size())))
        return kFailed;
    std::vector<unsigned short> parsed(count);
    for (unsigned i = 0; i < count; ++i) {
        const char* group = reinterpret_cast<const char*>(reply.data()) + kReplyData + 4 * i;
        const int high = HexStr2Hex(group), low = HexStr2Hex(group + 2);
        if (high < 0 || low < 0)
            return kFailed;
        parsed[i] = static_cast<unsigned short>(high << 8 | low);
    }
    std::copy(parsed.begin(), parsed.end(), words);
    return kSuccess;
}
