// One serial port: opened by COM number with the caller's line settings, raw
// writes and reads, and the count of bytes waiting. Every protocol class
// derives from it, so a protocol object is also the port it talks through.
// Reads never block: callers ask PreCountInQue first and read only what waits.
#pragma once

#include "CommTypes.h"

#include <chrono>

class CUARTComm {
public:
    COMSTAT comStat{};            // status read while opening
    HANDLE hPort = 0;             // 0 closed, INVALID_HANDLE_VALUE after a failed open
    std::uint32_t writeDelay = 0; // ms slept before every transmission

    CUARTComm() = default;
    // Does not close the port: its owner calls CloseComPort first, and other
    // objects may have adopted the same handle.
    ~CUARTComm() = default;

    // Opens "COM<port>" (device path through PortMap.h) with the BaudRate,
    // ByteSize, Parity and StopBits of `dcb`; the other settings stay as the
    // driver has them. Input waiting at the open is discarded. 1 opened, 0 not;
    // unless `silent`, a failure is reported in a message box.
    int _OpenComPort(int port, const DCB& dcb, int silent);
    int OpenComPort(int port, const DCB& dcb) { return _OpenComPort(port, dcb, 0); }
    // The same for an explicit device path (pseudo-terminals, by-id links);
    // messages name the path.
    int _OpenDevicePort(const char* devicePath, const DCB& dcb, int silent);

    // Closes the handle; hPort is null afterwards in every case.
    int CloseComPort();

    // Sleeps writeDelay, then writes the whole buffer; non-zero on success.
    int UWrite(unsigned char* buffer, unsigned count);
    // Reads `count` bytes that are waiting; non-zero when all were read.
    int URead(unsigned char* buffer, unsigned count);
    // Bytes waiting in the input queue; 0 when the status query fails.
    unsigned long PreCountInQue();

protected:
    // The status query behind PreCountInQue; false when the port failed
    // (closed, unplugged), so that waits can end early.
    bool QueryInQue(unsigned long& count);

    // One step of a wait for `awaited` waiting bytes, at most `left` long:
    // asleep on the port until the first byte comes, then a tenth of a
    // millisecond at a time while the rest does. True once they wait or the
    // port has failed.
    bool AwaitInputStep(unsigned long awaited, std::chrono::microseconds left);

private:
    int OpenPath(const char* devicePath, const char* displayName, const DCB& dcb, int silent);
};
