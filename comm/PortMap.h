// COM port numbers -> device paths. Section [PortMap] of Velmora.ini in the
// settings folder (AppFolders.h: the working directory of a build, the user's
// settings folder of an installation, unless SetPortMapFile names another
// file) wins ("COM7=/dev/ttyUSB0");
// otherwise COM1..16 are /dev/ttyUSB0..15, COM17..32 /dev/ttyACM0..15 and
// COM33..64 /dev/ttyS0..31.
#pragma once

#include <string>

namespace wirelay {

inline constexpr int kHighestComPort = 64;

struct ComPortInfo {
    std::string devicePath; // empty when the number maps to nothing
    bool exists = false;    // the device path is present right now
};

ComPortInfo ResolveComPort(int port);

// The settings file whose [PortMap] applies (default: Velmora.ini of
// velmora::SettingsFolder()); the command-line tools name theirs. Set before
// any port is resolved.
void SetPortMapFile(const std::string& iniPath);
// The file that applies now; the port list writes its new entries there.
std::string PortMapFile();

// The name the messages use for a port: "\\.\COM12".
std::string ComPortName(int port);

} // namespace wirelay
