// A programmable controller over the serial port, in the ASCII computer-link
// framing: ENQ, station "00", PC "FF", a two-letter command, the message-wait
// character, a 5-character device name, a two-digit hex count, the data and a
// two-character sum check. Writes are answered by ACK or NAK.
//
// Every request returns a status: 0 success, 1 the controller answered NAK,
// 2 no reply, 3 any other failure (write failed, refused argument, wrong
// length, bad sum check, bad characters).
#pragma once

#include "UARTComm.h"

#include <cstdint>
#include <string>
#include <vector>

class CPLCComm : public CUARTComm {
public:
    static constexpr unsigned char kENQ = 0x05;
    static constexpr unsigned char kACK = 0x06;
    static constexpr unsigned char kNAK = 0x15;
    static constexpr int kSuccess = 0, kNak = 1, kNoReply = 2, kFailed = 3;
    static constexpr unsigned kDeviceNameLength = 5;
    // PLC_BW refuses this many bits or more without sending.
    static constexpr unsigned kMaxBitWrite = 160;

    std::uint32_t plcPreCountQueTimes = 60000; // further polls awaiting a bit-read reply
    std::uint32_t plcRetryTimes = 0;           // attempts of PLC_BR (0 and 1: one)
    char messageWait[2] = {'0', '\0'};         // put after the command

    CPLCComm() = default;
    ~CPLCComm() = default; // does not close the port

    // Reads `countText` (two hex digits) bits from `device` into bits[0..n-1].
    int _PLC_BR(const char* device, const char* countText, unsigned char* bits);
    // _PLC_BR up to plcRetryTimes times: 0 when a read succeeded, 1 when not.
    int PLC_BR(const char* device, const char* countText, unsigned char* bits);
    int PLC_BW1(const char* device, int bit);
    // `data` holds one '0' or '1' per bit: exactly `count` characters.
    int PLC_BW(const char* device, unsigned count, const char* data);
    int PLC_WR16(const char* device, unsigned count, unsigned short* words);
    int PLC_WW16(const char* device, unsigned short value);
    int PLC_DWW(const char* device, std::uint32_t value); // low word, then high word

    // Writes the two sum characters at frame[length-2] and frame[length-1]:
    // the low 8 bits of the sum of bytes 1 .. length-3, in upper-case hex.
    void SetCheckSum(unsigned char* frame, unsigned length);
    int IsCheckSumOk(const unsigned char* frame, unsigned length);
    // Two hex characters (digits, upper-case A-F) as a byte; -1 for others.
    static int HexStr2Hex(const char* text);
    // Judges the answer to a write.
    int IsACK();

    void SetPreCountQueTimes(std::uint32_t times) { plcPreCountQueTimes = times; }
    std::uint32_t GetPreCountQueTimes() const { return plcPreCountQueTimes; }
    void SetRetryTimes(std::uint32_t times) { plcRetryTimes = times; }
    std::uint32_t GetRetryTimes() const { return plcRetryTimes; }

private:
    // ENQ, the header, command, message wait, device and `body` (count and
    // data), then the sum check. Empty when the device name does not fit.
    std::string BuildFrame(const char* command, const char* device, const std::string& body);
    int SendFrame(std::string frame);
    int Write(const char* device, const std::string& body, const char* command);
    // Reads every waiting byte: kNoReply (none), kFailed, kNak (a NAK), or
    // kSuccess with the bytes in `reply`.
    int TakeReply(std::vector<unsigned char>& reply);
};
