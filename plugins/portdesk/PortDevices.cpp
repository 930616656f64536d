#include "PortDevices.h"

#include "PortMap.h"
#include "PortdeskTexts.h"

std::vector<PortDevice> ListPortDevices(int count) {
    std::vector<PortDevice> devices;
    devices.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int port = 1; port <= count; ++port) {
        const wirelay::ComPortInfo info = wirelay::ResolveComPort(port);
        devices.push_back({port, info.devicePath, info.exists});
    }
    return devices;
}

std::string PortDeviceTip(const PortDevice& device, const std::string& noDevice,
                          const std::string& notPresent) {
    if (device.devicePath.empty())
        return noDevice;
    return device.present ? device.devicePath : FillTemplate(notPresent, {device.devicePath});
}
