#include "SerialDevice.h"

#include <mutex>
#include <vector>

namespace wirelay {
namespace {

// Handle -2 is slot 0, -3 slot 1, ...; freed slots are reused.
std::mutex gDevicesLock;
std::vector<SerialDevice*> gDevices;

constexpr std::size_t SlotOf(HANDLE handle) {
    return static_cast<std::size_t>(-handle - 2);
}

} // namespace

HANDLE AttachSerialDevice(SerialDevice* device) {
    std::lock_guard lock(gDevicesLock);
    std::size_t slot = 0;
    while (slot < gDevices.size() && gDevices[slot] != nullptr)
        ++slot;
    if (slot == gDevices.size())
        gDevices.push_back(device);
    else
        gDevices[slot] = device;
    return -static_cast<HANDLE>(slot) - 2;
}

void DetachSerialDevice(HANDLE handle) {
    std::lock_guard lock(gDevicesLock);
    if (handle < -1 && SlotOf(handle) < gDevices.size())
        gDevices[SlotOf(handle)] = nullptr;
}

SerialDevice* FindSerialDevice(HANDLE handle) {
    if (handle >= -1)
        return nullptr;
    std::lock_guard lock(gDevicesLock);
    return SlotOf(handle) < gDevices.size() ? gDevices[SlotOf(handle)] : nullptr;
}

} // namespace wirelay
