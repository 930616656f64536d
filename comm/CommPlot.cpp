#include "CommPlot.h"

#include "CommHooks.h"
#include "ModbusCrc.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// CRC-8 of ITU-T I.432.1: polynomial 0x07, not reflected, start 0.
constexpr std::array<unsigned char, 256> MakeCrc8Table() {
    std::array<unsigned char, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80u) ? ((crc << 1) ^ 0x07u) & 0xFFu : (crc << 1) & 0xFFu;
        table[i] = static_cast<unsigned char>(crc);
    }
    return table;
}
constexpr std::array<unsigned char, 256> kCrc8Table = MakeCrc8Table();
constexpr unsigned char kCrc8XorOut = 0x55;

} // namespace

unsigned char CCommPlot::CheckSum(unsigned char* bytes, int length) {
    unsigned sum = 0;
    for (int i = 1; i <= length - 2; ++i)
        sum += bytes[i];
    return static_cast<unsigned char>(sum);
}

unsigned char CCommPlot::CheckSum_V3(unsigned char* bytes, int length) {
    unsigned sum = 0;
    for (int i = 0; i < length; ++i)
        sum += bytes[i];
    return static_cast<unsigned char>(sum);
}

unsigned char CCommPlot::CheckCRC8(unsigned char* bytes, int length) {
    unsigned char crc = 0;
    for (int i = 0; i < length; ++i)
        crc = kCrc8Table[crc ^ bytes[i]];
    return static_cast<unsigned char>(crc ^ kCrc8XorOut);
}

void CCommPlot::GarbageCollection() {
    unsigned long waiting = 0;
    if (!QueryInQue(waiting) || waiting == 0)
        return;
    unsigned char sink[256];
    while (waiting > 0) {
        const unsigned chunk = static_cast<unsigned>(std::min<unsigned long>(waiting, sizeof sink));
        if (!URead(sink, chunk))
            return;
        waiting -= chunk;
    }
}

void CCommPlot::LogBytes(const unsigned char* bytes, int count) {
    if (logEnable)
        MB_Add(bytes, count);
}

bool CCommPlot::AwaitBytes(unsigned long awaited, unsigned long& seen) {
    for (std::uint64_t i = 0; i <= plotPreCountQueTimes; ++i) {
        const bool alive = QueryInQue(seen);
        lastInQue = static_cast<std::int32_t>(seen);
        if (seen >= awaited)
            return true;
        if (!alive)
            return false;
    }
    return false;
}

template <typename Check>
int CCommPlot::ReadFrame(int length, unsigned char header, Check frameIsGood) {
    if (frameHeld == 0) {
        unsigned long seen = 0;
        for (std::uint64_t i = 0; i <= plotPreCountQueTimes; ++i) {
            const bool alive = QueryInQue(seen);
            lastInQue = static_cast<std::int32_t>(seen);
            if (!alive)
                break;
            if (seen == 0)
                continue;
            if (!URead(rxBuffer, 1))
                break;
            LogBytes(rxBuffer, 1);
            if (rxBuffer[0] == header) {
                frameHeld = 1;
                break;
            }
        }
        if (frameHeld == 0)
            return seen < static_cast<unsigned long>(length) ? 1 : 2;
    }

    const int need = length - frameHeld;
    unsigned long seen = 0;
    if (!AwaitBytes(static_cast<unsigned long>(need), seen) ||
        !URead(rxBuffer + frameHeld, static_cast<unsigned>(need)))
        return 1;
    LogBytes(rxBuffer + frameHeld, need);

    if (frameIsGood()) {
        frameHeld = 0;
        return 0;
    }
    // Resynchronise on the first header byte inside the damaged frame.
    frameHeld = 0;
    for (int k = 1; k < length; ++k) {
        if (rxBuffer[k] == header) {
            std::memmove(rxBuffer, rxBuffer + k, static_cast<std::size_t>(length - k));
            frameHeld = length - k;
            break;
        }
    }
    return 3;
}

int CCommPlot::ReadData_V3(unsigned long* values) {
    return ReadFrame(kFrameV3Length, kFrameV3Header, [&] {
        if (CheckSum_V3(rxBuffer, kFrameV3Length - 1) != rxBuffer[kFrameV3Length - 1])
            return false;
        for (int i = 0; i < 4; ++i)
            values[i] = static_cast<unsigned long>(rxBuffer[1 + 2 * i] << 8 | rxBuffer[2 + 2 * i]);
        return true;
    });
}

int CCommPlot::ReadData2(unsigned short* status, short* values) {
    return ReadFrame(kFrame2Length, kFrame2Header, [&] {
        if (!wirelay::CheckModbusCrc(rxBuffer, kFrame2Length))
            return false;
        const unsigned char* b = rxBuffer;
        *status = static_cast<unsigned short>(b[1] >> 3);
        values[0] = static_cast<short>((b[1] & 0x07) << 12 | b[2] << 4 | b[3] >> 4);
        values[1] = static_cast<short>((b[3] & 0x0F) << 10 | b[4] << 2 | b[5] >> 6);
        values[2] = static_cast<short>((b[5] & 0x3F) << 8 | b[6]);
        return true;
    });
}

int CCommPlot::ReadData(unsigned short request, unsigned short count, unsigned short* words) {
    if (count > kMaxReadDataWords)
        return 0;
    txBuffer[0] = static_cast<unsigned char>(request & 0xFF);
    UWrite(txBuffer, 1);
    const unsigned length = 2u * count + 2;
    unsigned long seen = 0;
    if (!AwaitBytes(length, seen))
        return 0;
    if (URead(rxBuffer, length) && seen == length &&
        CheckSum(rxBuffer, static_cast<int>(length)) == rxBuffer[length - 1]) {
        for (unsigned j = 0; j < count; ++j)
            words[j] = static_cast<unsigned short>(rxBuffer[1 + 2 * j] << 8 | rxBuffer[2 + 2 * j]);
        return 1;
    }
    GarbageCollection();
    return 0;
}

int CCommPlot::MB_Add(const unsigned char* bytes, int count) {
    const int taken = std::clamp(count, 0, kLogCapacity - logCount);
    std::memcpy(logQueue + logCount, bytes, static_cast<std::size_t>(taken));
    logCount += taken;
    return taken;
}

int CCommPlot::MB_Read(unsigned char* dest, int count) {
    const int taken = std::clamp(count, 0, logCount);
    std::memcpy(dest, logQueue, static_cast<std::size_t>(taken));
    std::memmove(logQueue, logQueue + taken, static_cast<std::size_t>(logCount - taken));
    logCount -= taken;
    return taken;
}

int CCommPlot::MB_Extract(int length) {
    if (length < 4 || length > kExtractCapacity)
        return 2;
    if (extractHeld == 0 && logCount > 0) {
        MB_Read(extractBuffer, 1);
        if (extractBuffer[0] == slaveAddress)
            extractHeld = 1;
    }
    const int need = length - extractHeld;
    if (extractHeld == 0)
        return logCount < need ? 1 : 2;
    if (logCount < need)
        return 1;
    MB_Read(extractBuffer + extractHeld, need);
    extractHeld = 0;
    if (wirelay::CheckModbusCrc(extractBuffer, static_cast<std::size_t>(length)))
        return 0;
    for (int k = 1; k < length; ++k) {
        if (extractBuffer[k] == slaveAddress) {
            std::memmove(extractBuffer, extractBuffer + k, static_cast<std::size_t>(length - k));
            extractHeld = length - k;
            break;
        }
    }
    return 3;
}
