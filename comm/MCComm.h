// The drive service protocol beside Modbus: service frames of their own
// (05 00, command, data length, data, check byte) for parameter access, the
// serial-number and information blocks, the digital-I/O flags and position
// batches; and Modbus conveniences over fixed registers and coils, some of
// which retry with a pause and a beep (wirelay::SetBeepFunction; silent unless
// the application installs one).
#pragma once

#include "Modbus.h"

#include <cstdint>
#include <vector>

class CMCComm : public CModbus {
public:
    static constexpr unsigned char kFrameStart = 0x05;
    static constexpr unsigned char kAccepted = 0x06;
    static constexpr unsigned kSerialDataSize = 32;
    static constexpr unsigned kInfoDataSize = 27;

    std::int32_t byteWaitTime = 0; // > 0: frames go out byte by byte with this pause (ms)
    std::uint8_t retryLimit = 20;  // further attempts of the retrying conveniences
    std::int32_t readCount = 0;    // reads of register 150 made by ReadParm
    std::int32_t retryCount = 0;   // retries made by ReadParm

    CMCComm() = default;
    ~CMCComm() = default; // does not close the port

    // --- service frames: non-zero success, 0 failure ---
    int EM_ReadParm(unsigned char channel, std::int32_t& value);
    int EM_SaveParm(unsigned char channel, std::int32_t value);
    int SetAllDIOFlag();
    int SaveSerialData(const unsigned char* data); // kSerialDataSize bytes
    int ReadSerialData(unsigned char* out);        // kSerialDataSize bytes
    int ReadInfoData(unsigned char* out);          // kInfoDataSize bytes
    // Reads positions first .. first+count-1 into out[0 .. count-1]; the
    // reply of 4 × count + 5 bytes is awaited like a Modbus reply.
    int ReadDIOPositionBatch(unsigned char first, unsigned char count, std::int32_t* out);

    // --- Modbus conveniences: 1 success, 0 failure ---
    // Channels 6, 17, 22 and 23; any other channel fails without a request.
    int ReadParm(unsigned char channel, std::int32_t& value);
    // Channels 0 and 21; any other channel fails without a request.
    int SaveParm(unsigned char channel, std::int32_t value);
    int LoopBackTest();
    int SaveDIOPosition(int n, std::int32_t value);
    int ReadDIOPosition(int n, std::int32_t& value); // value 0 on failure
    int ResetAccFlag();
    int ResetDIOFlag();
    int ReadDIOFlag(unsigned char* out); // 16 bytes, 128 flags
    int ResetAllRegister();

    void SetByteWaitTime(std::int32_t ms) { byteWaitTime = ms; }
    // Writes the check byte at frame[length-1]: the low 8 bits of the sum of
    // bytes 1 .. length-2 (0 for a frame of 2 bytes or fewer).
    void AppendCheckSum(unsigned char* frame, unsigned length);

private:
    // Sends a finished frame (check byte included), waits 100 ms and reads
    // every waiting byte into `reply`; false when the write or read failed.
    bool Exchange(std::vector<unsigned char> frame, std::vector<unsigned char>& reply);
    void Send(const std::vector<unsigned char>& frame);
    // A reply not beginning with 0x06 may still be followed by one: up to ten
    // further looks at the input queue. True once the reply is an acceptance.
    bool AwaitAcceptance(std::vector<unsigned char>& reply);
    bool ReadWaiting(std::vector<unsigned char>& reply);
    int AcknowledgedWrite(std::vector<unsigned char> frame);
    // A block read: `size` reply bytes after the header into `out`.
    int ReadBlock(unsigned char command, unsigned size, unsigned char* out);
    void SettleAfterParameterAccess();
    int ResetFlags(unsigned short firstCoil);
    // Repeats `call` until it succeeds, at most retryLimit+1 times, with a
    // 300 ms pause and a beep after every attempt but the first. Returns the
    // number of attempts made, or 0 when none succeeded.
    template <typename Call>
    unsigned WithBeepingRetries(Call call);
};
