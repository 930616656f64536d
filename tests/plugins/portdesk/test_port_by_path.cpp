// Picking a serial device by its path: which paths are offered, and the COM
// number a path gets through [PortMap].
#include "PortDevices.h"
#include "PortMapFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {
namespace fs = std::filesystem;

TEST(PortByPath, OffersSerialDevicesOnly) {
    TempDir dev;
    fs::create_directories(dev.Path() / "serial" / "by-id");
    for (const char* name :
         {"ttyUSB0", "ttyACM1", "ttyS3", "serial/by-id/usb-FTDI-if00", "sda", "tty", "ttyS"})
        std::ofstream(dev.File(name)) << "";
    const std::string root = dev.Path().string();
    EXPECT_EQ(SerialDevicePaths(root),
              (std::vector<std::string>{root + "/serial/by-id/usb-FTDI-if00", root + "/ttyACM1",
                                        root + "/ttyS3", root + "/ttyUSB0"}));
    EXPECT_TRUE(SerialDevicePaths(dev.File("missing")).empty());
}

TEST(PortByPath, APathGetsItsOwnNumberOnce) {
    PortMapFolder app({}, false, "[ComPortSetup]\niPort1COM=1\n");
    const std::pair<std::string, int> cases[] = {
        {"/dev/ttyUSB0", 1},  // the default scheme reaches it already
        {"/tmp/drive-a", 65}, // first number above the default scheme
        {"/tmp/drive-a", 65}, // mapped before: the same number
        {"/tmp/drive-b", 66}, {"", 0},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(MapPortToPath(path, 256), expected) << path;
    const std::string ini = TempDir::Read("Velmora.ini");
    EXPECT_NE(ini.find("iPort1COM=1"), std::string::npos);
    EXPECT_NE(ini.find("[PortMap]\nCOM65=/tmp/drive-a\nCOM66=/tmp/drive-b\n"), std::string::npos)
        << ini;
    EXPECT_EQ(MapPortToPath("/tmp/drive-c", 64), 0) << "no number free";
}

} // namespace
