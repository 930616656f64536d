// The hook of the service frames into the simulated drive's request loop.
#include "DriveSim.h"
#include "LineTiming.h"
#include "ModbusCrc.h"

namespace drivesim {

bool DriveSim::ServeService(const RequestFrame& frame) {
    const std::uint8_t* bytes = frame.bytes.data();
    const std::size_t size = frame.bytes.size();
    if (!config_.service || wirelay::CheckModbusCrc(bytes, size))
        return false;
    const auto due = frame.arrival + WireTime(size, format_) + kTurnaround;
    for (const auto& reply : serviceFrames_.Add(bytes, size))
        transmitter_.Queue(reply, LineTransmitter::Kind::Reply, due);
    return true;
}

} // namespace drivesim
