// Which COM numbers of the port list lead to a device on this machine, so the
// user can tell which entry is the USB adapter.
#pragma once

#include <string>
#include <vector>

struct PortDevice {
    int port = 0;
    std::string devicePath; // empty: the number maps to nothing
    bool present = false;   // the device is there right now
};

// COM 1..`count` in order, resolved through [PortMap] of Velmora.ini in the
// working folder and the default scheme.
std::vector<PortDevice> ListPortDevices(int count);

// The tooltip of a port entry: "/dev/ttyUSB0", `notPresent` filled with the
// path ("/dev/ttyUSB3 (not present)"), or `noDevice` for a number that maps to
// nothing.
std::string PortDeviceTip(const PortDevice& device, const std::string& noDevice,
                          const std::string& notPresent);

// Serial devices a user may pick by path, sorted: the entries of
// <devRoot>/serial/by-id and <devRoot>/ttyUSB*, ttyACM*, ttyS* that exist.
std::vector<std::string> SerialDevicePaths(const std::string& devRoot = "/dev");

// The COM number (1..`count`) that leads to `path`: one that resolves to it
// already, else the first number above the default scheme without a device,
// which gets "COMn=<path>" in [PortMap] of wirelay::PortMapFile().
// 0 when no number is free or the file cannot be written.
int MapPortToPath(const std::string& path, int count);
