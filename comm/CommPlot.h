// The scope's sample stream: fixed-length frames the drive sends on its own
// while capturing, picked out of the byte stream one per call, checked, and
// resynchronised on the next header byte when damaged. Also the older
// one-shot block read, a byte log and a Modbus frame extractor over it.
//
// Status results of ReadData_V3, ReadData2 and MB_Extract:
//   0 a checked frame was decoded (MB_Extract: is in the extraction buffer)
//   1 not enough bytes yet (a partly held frame stays held)
//   2 bytes were waiting but no header byte was found
//   3 a complete frame failed its check (rescanned for a header inside it)
#pragma once

#include "Modbus.h"

class CCommPlot : public CModbus {
public:
    static constexpr int kFrameV3Length = 10;
    static constexpr unsigned char kFrameV3Header = 0xC6;
    static constexpr int kFrame2Length = 9;
    static constexpr unsigned char kFrame2Header = 0xC5;
    static constexpr int kLogCapacity = 4096;
    static constexpr int kExtractCapacity = 512;
    static constexpr unsigned kMaxReadDataWords = 127;

    std::uint32_t plotPreCountQueTimes = 400;
    unsigned char txBuffer[256]{};
    unsigned char rxBuffer[256]{};
    unsigned char logQueue[kLogCapacity]{};
    unsigned char extractBuffer[kExtractCapacity]{};
    std::int32_t frameHeld = 0;
    std::int32_t logEnable = 0;
    std::int32_t logCount = 0;
    std::int32_t extractHeld = 0;
    std::int32_t lastInQue = 0;

    // Third generation: C6, four 16-bit values high byte first, additive
    // checksum. On 0 the values are stored widened without sign.
    int ReadData_V3(unsigned long* values);
    // Second generation: C5, 48 packed bits (status 5, values 15/14/14), CRC-16.
    int ReadData2(unsigned short* status, short* values);
    // First generation: sends the request byte and reads `count` words
    // (at most 127). 1 success, 0 failure.
    int ReadData(unsigned short request, unsigned short count, unsigned short* words);

    // Reads and discards everything waiting; a held frame stays held.
    void GarbageCollection();
    using CModbus::GarbageCollection;

    // Low 8 bits of the sum of bytes 1..length-2 (0 for length <= 2).
    unsigned char CheckSum(unsigned char* bytes, int length);
    // Low 8 bits of the sum of all bytes.
    unsigned char CheckSum_V3(unsigned char* bytes, int length);
    // CRC-8 of ITU-T I.432.1 (polynomial 0x07, xor-out 0x55).
    unsigned char CheckCRC8(unsigned char* bytes, int length);

    int MB_Add(const unsigned char* bytes, int count);
    int MB_Read(unsigned char* dest, int count);
    int MB_GetQueueCnt() const { return logCount; }
    // Picks a `length`-byte Modbus frame for the slave address out of the log
    // queue (4 <= length <= 512; other lengths give 2 and consume nothing).
    int MB_Extract(int length);
    const unsigned char* MB_Frame() const { return extractBuffer; }

    // The poll count of this class's own loops; the Modbus requests keep theirs.
    void SetPreCountQueTimes(unsigned long times) { plotPreCountQueTimes = std::uint32_t(times); }
    unsigned long GetPreCountQueTimes() const { return plotPreCountQueTimes; }

private:
    // Shared framing of ReadData_V3 and ReadData2: hunt, complete, check.
    template <typename Check>
    int ReadFrame(int length, unsigned char header, Check frameIsGood);
    // Polls until `awaited` bytes wait; false when the polls ran out.
    bool AwaitBytes(unsigned long awaited, unsigned long& seen);
    void LogBytes(const unsigned char* bytes, int count);
};
