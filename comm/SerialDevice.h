// In-memory serial devices: anything that implements SerialDevice can be
// attached and gets a HANDLE that every operation of CommApi.h (and so
// CUARTComm, CModbus and CCommPlot) accepts like an open port. Used to run the
// protocol code without a device: fuzzing, benchmarks, and tests that only
// look at the bytes.
#pragma once

#include "CommTypes.h"

#include <cstddef>
#include <cstdint>

namespace wirelay {

class SerialDevice {
public:
    virtual ~SerialDevice() = default;
    // Bytes waiting to be read, or -1 when the device has gone away.
    virtual long InQueue() = 0;
    // Copies up to `count` waiting bytes; returns the number copied or -1.
    virtual long Read(std::uint8_t* buffer, std::size_t count) = 0;
    // Accepts `count` bytes sent to the far end; returns the number taken or -1.
    virtual long Write(const std::uint8_t* buffer, std::size_t count) = 0;
    virtual void Purge(bool receive, bool transmit) = 0;
};

// The device stays owned by the caller and must outlive its handle.
HANDLE AttachSerialDevice(SerialDevice* device);
void DetachSerialDevice(HANDLE handle);
// The device behind a handle, or null for device files and unknown handles.
SerialDevice* FindSerialDevice(HANDLE handle);

} // namespace wirelay
