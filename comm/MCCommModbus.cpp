// The Modbus conveniences of CMCComm: fixed registers and coils, some with
// beeping retries.
#include "CommHooks.h"
#include "MCComm.h"

#include <functional>

namespace {

constexpr unsigned kRetryPauseMs = 300;
constexpr unsigned short kParmRegister = 80;
constexpr unsigned short kParm21Register = 83;
constexpr unsigned short kPositionBase = 200;
constexpr unsigned short kDioFlagCoils = 32;
constexpr unsigned short kAccFlagCoils = 192;
constexpr unsigned short kFlagCount = 128;
constexpr unsigned kFlagBytes = kFlagCount / 8;
constexpr unsigned kLastPosition = (0xFFFF - 1 - kPositionBase) / 2;

// A value held in two registers: the first the low half, the second the high.
std::int32_t FromWords(const unsigned short* words) {
    return static_cast<std::int32_t>(std::uint32_t(words[1]) << 16 | words[0]);
}

bool PositionInRange(int n) {
    return n >= 0 && static_cast<unsigned>(n) <= kLastPosition;
}

} // namespace

template <typename Call>
unsigned CMCComm::WithBeepingRetries(Call call) {
    for (unsigned attempt = 1; attempt <= retryLimit + 1u; ++attempt) {
        const bool done = call();
        if (attempt > 1) {
            wirelay::SleepMs(kRetryPauseMs);
            wirelay::Beep();
        }
        if (done)
            return attempt;
    }
    return 0;
}

int CMCComm::ReadParm(unsigned char channel, std::int32_t& value) {
    unsigned short words[2] = {};
    unsigned char coils[2] = {};
    std::function<bool()> read;
    switch (channel) {
    case 6:
        read = [&] { return ReadHoldingRegisters(100, 2, words) != 0; };
        break;
    case 17:
        read = [&] { return ReadHoldingRegisters(12, 1, words) != 0; };
        break;
    case 22:
        read = [&] { return ReadCoils(0, 14, coils) != 0; };
        break;
    case 23:
        read = [&] {
            ++readCount;
            return ReadHoldingRegisters(150, 2, words) != 0;
        };
        break;
    default:
        return 0;
    }
    unsigned attempts = 0;
    const bool done = WithBeepingRetries([&] {
                          if (++attempts > 1)
                              ++retryCount;
                          return read();
                      }) != 0;
    if (retryLimit != 0 && attempts >= retryLimit)
        wirelay::Beep();
    if (!done)
        return 0;
    if (channel == 17)
        value = words[0];
    else if (channel == 22)
        value = static_cast<std::int32_t>(coils[1] << 8 | coils[0]);
    else
        value = FromWords(words);
    return 1;
}

int CMCComm::SaveParm(unsigned char channel, std::int32_t value) {
    if (channel != 0 && channel != 21)
        return 0;
    unsigned short word = static_cast<unsigned short>(value);
    return WriteMultipleRegisters(channel == 0 ? kParmRegister : kParm21Register, 1, &word);
}

int CMCComm::LoopBackTest() {
    unsigned short one = 1;
    return WriteMultipleRegisters(kParmRegister, 1, &one);
}

int CMCComm::SaveDIOPosition(int n, std::int32_t value) {
    if (!PositionInRange(n))
        return 0;
    const auto raw = static_cast<std::uint32_t>(value);
    unsigned short words[2] = {static_cast<unsigned short>(raw & 0xFFFF),
                               static_cast<unsigned short>(raw >> 16)};
    return WriteMultipleRegisters(static_cast<unsigned short>(kPositionBase + 2 * n), 2, words);
}

int CMCComm::ReadDIOPosition(int n, std::int32_t& value) {
    unsigned short words[2] = {};
    value = 0;
    if (!PositionInRange(n) ||
        !ReadHoldingRegisters(static_cast<unsigned short>(kPositionBase + 2 * n), 2, words))
        return 0;
    value = FromWords(words);
    return 1;
}

int CMCComm::ResetFlags(unsigned short firstCoil) {
    unsigned char zeros[kFlagBytes] = {};
    return WithBeepingRetries(
               [&] { return WriteMultipleCoils(firstCoil, kFlagCount, zeros) != 0; }) != 0
               ? 1
               : 0;
}

int CMCComm::ResetAccFlag() {
    return ResetFlags(kAccFlagCoils);
}

int CMCComm::ResetDIOFlag() {
    return ResetFlags(kDioFlagCoils);
}

int CMCComm::ReadDIOFlag(unsigned char* out) {
    return WithBeepingRetries([&] { return ReadCoils(kDioFlagCoils, kFlagCount, out) != 0; }) != 0
               ? 1
               : 0;
}

int CMCComm::ResetAllRegister() {
    static constexpr unsigned short kPairs[] = {202, 204, 208, 216, 232, 264, 328, 456, 200, 454};
    int result = 0;
    for (unsigned short address : kPairs) {
        unsigned short ones[2] = {0xFFFF, 0xFFFF};
        result = WriteMultipleRegisters(address, 2, ones);
    }
    return result;
}
