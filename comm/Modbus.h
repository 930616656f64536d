// Modbus RTU master: function codes 0x01, 0x03, 0x0F, 0x10 and 0x11 to one
// slave address, reply wait by polling the input-queue count, judging by
// length, CRC, slave address and function code, retries, and a packet log of
// drained bytes.
// Every operation returns 1 on success and 0 on failure.
#pragma once

#include "UARTComm.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

class CModbus : public CUARTComm {
public:
    // Largest quantities of one request (the Modbus limits); larger requests
    // fail without being sent.
    static constexpr unsigned kMaxReadCoils = 2000;
    static constexpr unsigned kMaxWriteCoils = 1968;
    static constexpr unsigned kMaxReadRegisters = 125;
    static constexpr unsigned kMaxWriteRegisters = 123;
    // Lines kept in the packet log; older undelivered lines are dropped.
    static constexpr std::size_t kMaxLogLines = 4096;

    std::uint8_t slaveAddress = 1;
    std::uint32_t preCountQueTimes = 60000; // further polls after the first
    std::uint32_t retryTimes = 0;           // attempts per operation (0 and 1: one)
    std::uint32_t waitWriteTime = 0;        // ms before each poll
    std::uint32_t retryInterval = 0;        // ms after a failed attempt
    std::uint32_t latePollCount = 0;        // the last latePollCount+1 polls ...
    std::uint32_t latePollPause = 0;        // ... sleep this many ms more
    std::uint32_t monitorEnable = 0;        // log drained bytes

    CModbus() = default;
    ~CModbus() = default; // does not close the port

    int ReadCoils(unsigned short start, unsigned short count, unsigned char* dest);
    int _ReadCoils(unsigned short start, unsigned short count, unsigned char* dest);
    int WriteMultipleCoils(unsigned short start, unsigned short count, unsigned char* source);
    int _WriteMultipleCoils(unsigned short start, unsigned short count, unsigned char* source);
    int ReadHoldingRegisters(unsigned short start, unsigned short count, unsigned short* dest);
    int _ReadHoldingRegisters(unsigned short start, unsigned short count, unsigned short* dest);
    int WriteMultipleRegisters(unsigned short start, unsigned short count, unsigned short* source);
    int _WriteMultipleRegisters(unsigned short start, unsigned short count, unsigned short* source);
    // `capacity` is in and out; slaveId and runIndicator may be null.
    int ReportSlaveID(char* data, unsigned char* capacity, unsigned char* slaveId,
                      unsigned char* runIndicator);
    int _ReportSlaveID(char* data, unsigned char* capacity, unsigned char* slaveId,
                       unsigned char* runIndicator);

    // Split write: sends the request and returns the write's result at once.
    int Tx_WriteMultipleRegisters(unsigned short start, unsigned short count,
                                  unsigned short* source);
    // Checks an 8-byte reply to it: slave address, function code, start,
    // count and CRC.
    int Rx_WriteMultipleRegisters(unsigned short start, unsigned short count, unsigned char* reply);

    // CRC with the byte sent first in the high half.
    unsigned int CRC16(unsigned char* bytes, unsigned int length);
    void AppendCRC(unsigned char* frame, unsigned int total);
    int CheckCRC(unsigned char* frame, unsigned int total);

    // Sleeps `waitMs`, then reads and discards everything waiting, logging it
    // under `label` when monitorEnable is set.
    void GarbageCollection(const char* label, unsigned long waitMs);

    // Empties the packet log; the next MonitorGetPacket gets the first line
    // logged afterwards.
    void MonitorInit();
    // Next undelivered line: 1 delivered, 0 none waiting.
    int MonitorGetPacket(std::string& line);

    void SetSlaveAddress(std::uint8_t address) { slaveAddress = address; }
    std::uint8_t GetSlaveAddress() const { return slaveAddress; }
    void SetPreCountQueTimes(unsigned long times) { preCountQueTimes = std::uint32_t(times); }
    unsigned long GetPreCountQueTimes() const { return preCountQueTimes; }
    void SetRetryTimes(unsigned long times) { retryTimes = std::uint32_t(times); }
    unsigned long GetRetryTimes() const { return retryTimes; }
    void SetWaitWriteTime(unsigned long ms) { waitWriteTime = std::uint32_t(ms); }
    unsigned long GetWaitWriteTime() const { return waitWriteTime; }
    void SetRetryInterval(unsigned long ms) { retryInterval = std::uint32_t(ms); }
    unsigned long GetRetryInterval() const { return retryInterval; }

protected:
    // Polls until `awaited` bytes wait; returns the last count seen. A poll's
    // pause ends as soon as they wait.
    unsigned long AwaitReply(unsigned long awaited, bool latePause);

private:
    std::deque<std::string> monitorLog; // lines not yet delivered

    template <typename Attempt>
    int WithRetries(Attempt attempt);
    void SendRequest(unsigned char* frame, unsigned length, const char* preDrainLabel);
    // A reply counts only when it names the slave asked and the function sent.
    bool FromAskedSlave(const unsigned char* reply, unsigned char function) const;
    // Reads and judges a coil or register reply into `reply`.
    bool ReceiveReadReply(unsigned char* reply, unsigned char function, unsigned expected,
                          unsigned minimum, const char* shortLabel, const char* crcLabel,
                          unsigned crcWaitMs, const char* lengthLabel);
    int ReceiveWriteEcho(unsigned char function, const char* label);
    unsigned BuildWriteRegisters(unsigned char* frame, unsigned short start, unsigned short count,
                                 const unsigned short* source) const;
};
