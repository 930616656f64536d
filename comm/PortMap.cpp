#include "PortMap.h"

#include "AppFolders.h"
#include "Profile.h"

#include <cstdio>
#include <unistd.h>

namespace wirelay {
namespace {

std::string& ChosenPortMapFile() {
    static std::string file; // empty: Velmora.ini of the settings folder
    return file;
}

std::string DefaultPath(int port) {
    if (port >= 1 && port <= 16)
        return "/dev/ttyUSB" + std::to_string(port - 1);
    if (port >= 17 && port <= 32)
        return "/dev/ttyACM" + std::to_string(port - 17);
    if (port >= 33 && port <= 64)
        return "/dev/ttyS" + std::to_string(port - 33);
    return {};
}

} // namespace

ComPortInfo ResolveComPort(int port) {
    ComPortInfo info;
    if (port < 1)
        return info;
    char mapped[512] = {};
    const std::string key = "COM" + std::to_string(port);
    GetPrivateProfileStringA("PortMap", key.c_str(), "", mapped, sizeof mapped,
                             PortMapFile().c_str());
    info.devicePath = mapped[0] != '\0' ? std::string(mapped) : DefaultPath(port);
    info.exists = !info.devicePath.empty() && ::access(info.devicePath.c_str(), F_OK) == 0;
    return info;
}

void SetPortMapFile(const std::string& iniPath) {
    ChosenPortMapFile() = iniPath;
}

std::string PortMapFile() {
    const std::string& chosen = ChosenPortMapFile();
    return chosen.empty() ? velmora::SettingsFolder() + "/Velmora.ini" : chosen;
}

std::string ComPortName(int port) {
    char name[32];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", port);
    return name;
}

} // namespace wirelay
