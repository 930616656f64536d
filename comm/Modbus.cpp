#include "Modbus.h"

#include "CommHooks.h"
#include "ModbusCrc.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr unsigned char kReadCoils = 0x01;
constexpr unsigned char kReadRegisters = 0x03;
constexpr unsigned char kWriteCoils = 0x0F;
constexpr unsigned char kWriteRegisters = 0x10;
constexpr unsigned char kReportSlaveId = 0x11;

// A rejected write echo or identity reply is drained only after the rest of a
// late or over-long reply has had time to arrive.
constexpr unsigned kSlowDrainMs = 300;
constexpr unsigned kWriteEchoLength = 8;
constexpr unsigned kSlaveIdHeader = 3;
constexpr unsigned kMaxSlaveIdData = 249;
// The largest frame of either direction: 1968 coils or 123 registers out,
// 2000 coils or 125 registers back, 249 identity bytes.
constexpr unsigned kFrameCapacity = 260;

unsigned CoilBytes(unsigned count) {
    return (count + 7) / 8;
}

unsigned PutHeader(unsigned char* frame, unsigned char address, unsigned char function,
                   unsigned short start, unsigned short count) {
    frame[0] = address;
    frame[1] = function;
    frame[2] = static_cast<unsigned char>(start >> 8);
    frame[3] = static_cast<unsigned char>(start & 0xFF);
    frame[4] = static_cast<unsigned char>(count >> 8);
    frame[5] = static_cast<unsigned char>(count & 0xFF);
    return 6;
}

} // namespace

unsigned int CModbus::CRC16(unsigned char* bytes, unsigned int length) {
    return wirelay::ModbusCrc16(bytes, length);
}

void CModbus::AppendCRC(unsigned char* frame, unsigned int total) {
    wirelay::AppendModbusCrc(frame, total);
}

int CModbus::CheckCRC(unsigned char* frame, unsigned int total) {
    return wirelay::CheckModbusCrc(frame, total) ? 1 : 0;
}

void CModbus::GarbageCollection(const char* label, unsigned long waitMs) {
    if (waitMs != 0)
        wirelay::SleepMs(static_cast<unsigned>(waitMs));
    unsigned long waiting = 0;
    if (!QueryInQue(waiting) || waiting == 0)
        return;
    std::vector<unsigned char> drained(waiting);
    if (!URead(drained.data(), static_cast<unsigned>(waiting)) || !monitorEnable)
        return;
    std::string line = label != nullptr ? label : "";
    char digits[4];
    for (unsigned char byte : drained) {
        std::snprintf(digits, sizeof digits, "%02X ", byte);
        line += digits;
    }
    if (monitorLog.size() == kMaxLogLines)
        monitorLog.pop_front();
    monitorLog.push_back(std::move(line));
}

void CModbus::MonitorInit() {
    monitorLog.clear();
}

int CModbus::MonitorGetPacket(std::string& line) {
    if (monitorLog.empty())
        return 0;
    line = std::move(monitorLog.front());
    monitorLog.pop_front();
    return 1;
}

template <typename Attempt>
int CModbus::WithRetries(Attempt attempt) {
    std::uint32_t failures = 0;
    int result;
    do {
        result = attempt();
        failures = result ? 0 : failures + 1;
        if (retryInterval != 0 && failures >= 1 && retryTimes >= 2)
            wirelay::SleepMs(retryInterval);
    } while (failures != 0 && failures < retryTimes);
    return result;
}

unsigned long CModbus::AwaitReply(unsigned long awaited, bool latePause) {
    const bool late = latePause && latePollCount != 0 && latePollCount < preCountQueTimes;
    unsigned long count = 0;
    for (std::uint64_t i = 0; i <= preCountQueTimes; ++i) {
        if (waitWriteTime != 0)
            wirelay::SleepMsUntil(waitWriteTime,
                                  [&](auto left) { return AwaitInputStep(awaited, left); });
        if (late && i >= preCountQueTimes - latePollCount)
            wirelay::SleepMs(latePollPause);
        // A port that has gone away will never deliver: stop waiting.
        if (!QueryInQue(count) || count >= awaited)
            break;
    }
    return count;
}

void CModbus::SendRequest(unsigned char* frame, unsigned length, const char* preDrainLabel) {
    AppendCRC(frame, length);
    if (preDrainLabel != nullptr && PreCountInQue() != 0)
        GarbageCollection(preDrainLabel, 0);
    UWrite(frame, length); // a failed write shows as a missing reply
}

bool CModbus::FromAskedSlave(const unsigned char* reply, unsigned char function) const {
    return reply[0] == slaveAddress && reply[1] == function;
}

bool CModbus::ReceiveReadReply(unsigned char* reply, unsigned char function, unsigned expected,
                               unsigned minimum, const char* shortLabel, const char* crcLabel,
                               unsigned crcWaitMs, const char* lengthLabel) {
    const unsigned long arrived = AwaitReply(expected, true);
    if (arrived < minimum) {
        GarbageCollection(shortLabel, 0);
        return false;
    }
    const unsigned taken = static_cast<unsigned>(std::min<unsigned long>(arrived, expected));
    if (!URead(reply, taken) || !CheckCRC(reply, taken)) {
        GarbageCollection(crcLabel, crcWaitMs);
        return false;
    }
    if (arrived != expected) {
        GarbageCollection(lengthLabel, 0);
        return false;
    }
    // Another device on the line (or a late answer for another address) is
    // drained like a corrupt reply: its data is not the drive's.
    if (!FromAskedSlave(reply, function)) {
        GarbageCollection(crcLabel, crcWaitMs);
        return false;
    }
    return true;
}

int CModbus::ReceiveWriteEcho(unsigned char function, const char* label) {
    if (AwaitReply(kWriteEchoLength, true) < kWriteEchoLength)
        return 0; // what arrived stays for the next pre-drain
    unsigned char echo[kWriteEchoLength];
    if (!URead(echo, kWriteEchoLength) || !CheckCRC(echo, kWriteEchoLength) ||
        !FromAskedSlave(echo, function)) {
        GarbageCollection(label, kSlowDrainMs);
        return 0;
    }
    return 1;
}

int CModbus::_ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) {
    if (count > kMaxReadCoils)
        return 0;
    unsigned char frame[8];
    PutHeader(frame, slaveAddress, kReadCoils, start, count);
    SendRequest(frame, sizeof frame, "PrRc:");
    unsigned char reply[kFrameCapacity];
    const unsigned dataBytes = CoilBytes(count);
    if (!ReceiveReadReply(reply, kReadCoils, dataBytes + 5, 5, "RCoil: ", "RCoil: ", kSlowDrainMs,
                          "Rc: "))
        return 0;
    std::copy(reply + 3, reply + 3 + dataBytes, dest);
    return 1;
}

int CModbus::_ReadHoldingRegisters(unsigned short start, unsigned short count,
                                   unsigned short* dest) {
    if (count > kMaxReadRegisters)
        return 0;
    unsigned char frame[8];
    PutHeader(frame, slaveAddress, kReadRegisters, start, count);
    SendRequest(frame, sizeof frame, "PrRg:");
    unsigned char reply[kFrameCapacity];
    if (!ReceiveReadReply(reply, kReadRegisters, 2u * count + 5, 7,
                          "RReg: ", "RReg: ", waitWriteTime, "RReg: "))
        return 0;
    for (unsigned i = 0; i < count; ++i)
        dest[i] = static_cast<unsigned short>(reply[3 + 2 * i] << 8 | reply[4 + 2 * i]);
    return 1;
}

int CModbus::_WriteMultipleCoils(unsigned short start, unsigned short count,
                                 unsigned char* source) {
    if (count > kMaxWriteCoils)
        return 0;
    unsigned char frame[kFrameCapacity];
    unsigned length = PutHeader(frame, slaveAddress, kWriteCoils, start, count);
    const unsigned dataBytes = CoilBytes(count);
    frame[length++] = static_cast<unsigned char>(dataBytes);
    std::copy(source, source + dataBytes, frame + length);
    length += dataBytes + 2;
    SendRequest(frame, length, "PrWc:");
    return ReceiveWriteEcho(kWriteCoils, "WCoil: ");
}

unsigned CModbus::BuildWriteRegisters(unsigned char* frame, unsigned short start,
                                      unsigned short count, const unsigned short* source) const {
    unsigned length = PutHeader(frame, slaveAddress, kWriteRegisters, start, count);
    frame[length++] = static_cast<unsigned char>(2 * count);
    for (unsigned i = 0; i < count; ++i) {
        frame[length++] = static_cast<unsigned char>(source[i] >> 8);
        frame[length++] = static_cast<unsigned char>(source[i] & 0xFF);
    }
    return length + 2;
}

int CModbus::_WriteMultipleRegisters(unsigned short start, unsigned short count,
                                     unsigned short* source) {
    if (count > kMaxWriteRegisters)
        return 0;
    unsigned char frame[kFrameCapacity];
    SendRequest(frame, BuildWriteRegisters(frame, start, count, source), "PrWg:");
    return ReceiveWriteEcho(kWriteRegisters, "WReg: ");
}

int CModbus::_ReportSlaveID(char* data, unsigned char* capacity, unsigned char* slaveId,
                            unsigned char* runIndicator) {
    if (capacity == nullptr)
        return 0;
    unsigned char frame[4] = {slaveAddress, kReportSlaveId};
    SendRequest(frame, sizeof frame, nullptr);

    unsigned char reply[kFrameCapacity];
    const unsigned long arrived = AwaitReply(kSlaveIdHeader, true);
    if (arrived >= 1 && arrived < kSlaveIdHeader)
        GarbageCollection("RSlv: ", 0);
    bool headerValid = false;
    unsigned remainder = 0;
    if (arrived >= kSlaveIdHeader && URead(reply, kSlaveIdHeader)) {
        headerValid = FromAskedSlave(reply, kReportSlaveId) && reply[2] <= kMaxSlaveIdData;
        remainder = reply[2] + 2u;
    }
    if (!headerValid) {
        GarbageCollection("RSlv: ", kSlowDrainMs);
        return 0;
    }
    const unsigned long rest = AwaitReply(remainder, false); // the data and the CRC
    if (rest < remainder) {
        if (rest != 0)
            GarbageCollection("RSlv: ", 0);
        return 0;
    }
    const unsigned dataLength = reply[2];
    // Fewer than two data bytes cannot carry the identifier and run indicator.
    if (!URead(reply + kSlaveIdHeader, remainder) || !CheckCRC(reply, kSlaveIdHeader + remainder) ||
        dataLength < 2) {
        GarbageCollection("RSlv: ", kSlowDrainMs);
        return 0;
    }
    if (slaveId != nullptr)
        *slaveId = reply[3];
    if (runIndicator != nullptr)
        *runIndicator = reply[4];
    const unsigned textLength = dataLength - 2;
    if (*capacity < textLength) {
        *capacity = static_cast<unsigned char>(textLength);
        GarbageCollection("RSlv: ", kSlowDrainMs);
        return 0;
    }
    std::copy(reply + 5, reply + 5 + textLength, data);
    return 1;
}

// A request over the Modbus limits can never be sent: it fails at once,
// without retries or their pauses.
int CModbus::ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) {
    if (count > kMaxReadCoils)
        return 0;
    return WithRetries([&] { return _ReadCoils(start, count, dest); });
}

int CModbus::WriteMultipleCoils(unsigned short start, unsigned short count, unsigned char* source) {
    if (count > kMaxWriteCoils)
        return 0;
    return WithRetries([&] { return _WriteMultipleCoils(start, count, source); });
}

int CModbus::ReadHoldingRegisters(unsigned short start, unsigned short count,
                                  unsigned short* dest) {
    if (count > kMaxReadRegisters)
        return 0;
    return WithRetries([&] { return _ReadHoldingRegisters(start, count, dest); });
}

int CModbus::WriteMultipleRegisters(unsigned short start, unsigned short count,
                                    unsigned short* source) {
    if (count > kMaxWriteRegisters)
        return 0;
    return WithRetries([&] { return _WriteMultipleRegisters(start, count, source); });
}

int CModbus::ReportSlaveID(char* data, unsigned char* capacity, unsigned char* slaveId,
                           unsigned char* runIndicator) {
    if (capacity == nullptr)
        return 0;
    // A reply too large for the buffer writes the size it needs into
    // *capacity; every attempt starts again from the caller's own capacity.
    const unsigned char given = *capacity;
    return WithRetries([&] {
        *capacity = given;
        return _ReportSlaveID(data, capacity, slaveId, runIndicator);
    });
}

int CModbus::Tx_WriteMultipleRegisters(unsigned short start, unsigned short count,
                                       unsigned short* source) {
    if (count > kMaxWriteRegisters)
        return 0;
    unsigned char frame[kFrameCapacity];
    const unsigned length = BuildWriteRegisters(frame, start, count, source);
    AppendCRC(frame, length);
    return UWrite(frame, length);
}

int CModbus::Rx_WriteMultipleRegisters(unsigned short start, unsigned short count,
                                       unsigned char* reply) {
    return reply[0] == slaveAddress && reply[1] == kWriteRegisters &&
                   (reply[2] << 8 | reply[3]) == start && (reply[4] << 8 | reply[5]) == count &&
                   CheckCRC(reply, kWriteEchoLength)
               ? 1
               : 0;
}
