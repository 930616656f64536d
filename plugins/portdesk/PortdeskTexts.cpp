#include "PortdeskTexts.h"

#include "SerialFormat.h"

#include <cstdio>
#include <vector>

namespace {

const ResString kTexts[] = {
    {200, "On-Line"},
    {201, "On-Off"},
    {202, "Setup Com Port"},
    {203, "COM No."},
    {204, "Auto Search"},
    {205, "Baudrate:"},
    {207, "ID:"},
    {208, "Connect"},
    {209, "OK"},
    {210, "Cancel"},
    {211, "Offline parameter edit"},
    {212, "Select drive version :"},
    {213, "Servo connected."},
    {214, "Read version or model name failed."},
    {215, "Com port search has stopped"},
    {216, "Stop searching com port?"},
    {217, "Now on processing CommSteps: %s"},
    {218, "Setup COM"},
    {219, "Comm"},
    {220, "%s\r\nCOM port: %d\r\nBuadrate: %6d, 8, %s\r\nID: %d"},
    {221, "no device"},
    {222, "%s (not present)"},
    {223, "No drive answered. Check the cable, the COM port, the drive's ID (slave address) and "
          "that the drive is powered on."},
    {224, "Port by path..."},
    {225, "Serial device (pick one or type its path):"},
    {226, "Your user may not open the serial ports (permission denied for %s). Add it to the "
          "group \"dialout\":\r\n    sudo usermod -aG dialout $USER\r\nthen log out and log in "
          "again."},
};

constexpr const char* kFramings[4] = {"N, 1", "N, 2", "E, 1", "O, 1"};

} // namespace

VELMORA_MODULE_STRINGS(kPortdeskStrings, kTexts);

const char* FramingText(int format) {
    return kFramings[(format >> 2) & 3];
}

std::string FormatListEntry(int format) {
    const char* pattern = format == 3 ? "[%d]: %6d, 8, %s" : " %2d: %6d, 8, %s";
    char text[48];
    std::snprintf(text, sizeof text, pattern, format,
                  static_cast<int>(wirelay::GetSerialFormat(format).baudRate), FramingText(format));
    return text;
}

std::string PortListEntry(int port) {
    return "COM " + std::to_string(port);
}

std::string IdListEntry(int address) {
    return "ID " + std::to_string(address);
}

const char* CommStepName(int step) {
    switch (step) {
    case 0:
        return "CS_Idle";
    case 1:
        return "CS_ReadVersion";
    case 2:
        return "CS_ReadVersion_Finish";
    default:
        return "";
    }
}
