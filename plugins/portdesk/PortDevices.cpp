#include "PortDevices.h"

#include "PortMap.h"
#include "PortdeskTexts.h"
#include "Profile.h"

#include <algorithm>
#include <filesystem>

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

std::vector<std::string> SerialDevicePaths(const std::string& devRoot) {
    namespace fs = std::filesystem;
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(devRoot) / "serial" / "by-id", error))
        paths.push_back(entry.path().string());
    for (const auto& entry : fs::directory_iterator(devRoot, error)) {
        const std::string name = entry.path().filename().string();
        for (const char* prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
            if (name.rfind(prefix, 0) == 0 && name.size() > std::string(prefix).size())
                paths.push_back(entry.path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

int MapPortToPath(const std::string& path, int count) {
    if (path.empty())
        return 0;
    for (int port = 1; port <= count; ++port) {
        if (wirelay::ResolveComPort(port).devicePath == path)
            return port;
    }
    for (int port = wirelay::kHighestComPort + 1; port <= count; ++port) {
        if (!wirelay::ResolveComPort(port).devicePath.empty())
            continue;
        const std::string key = "COM" + std::to_string(port);
        return WritePrivateProfileStringA("PortMap", key.c_str(), path.c_str(),
                                          wirelay::PortMapFile().c_str()) != 0
                   ? port
                   : 0;
    }
    return 0;
}
