// The velmora-drive-sim program: device path on stdout, link, clean stop on
// SIGTERM, and a clear refusal of broken product data.
#include "ChildProcess.h"
#include "SerialClient.h"
#include "SimTestSupport.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

TEST(SimulatorProgram, ServesUntilSignalledAndRemovesItsLink) {
    TempDir dir;
    const std::string link = dir.File("ttyDrive");
    for (int signal : {SIGTERM, SIGINT}) {
        Program sim("./velmora-drive-sim",
                    {"--model", "w5", "--address", "3", "--format", "4", "--link", link});
        const std::string path = sim.Line();
        EXPECT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
        EXPECT_EQ(std::filesystem::read_symlink(link), path);
        SerialClient client(link, B19200, 2);
        const auto reply = client.Transact(WithCrc(Hex("03 03 00 08 00 02")), 9);
        EXPECT_EQ(ToHex(reply), ToHex(WithCrc(Hex("03 03 04 00 FA 00 00"))));
        EXPECT_EQ(sim.Stop(signal), 0);
        EXPECT_FALSE(std::filesystem::exists(link));
    }
}

TEST(SimulatorProgram, RefusesBrokenProductDataWithAClearMessage) {
    TempDir dir;
    dir.Write("rk_905.par", "[Pr000]\nAddress=0\nmin=zero\n");
    Program sim("./velmora-drive-sim", {"--model", "t8", "--data", dir.Path().string()});
    EXPECT_EQ(sim.Wait(), 1);
    const std::string errors = sim.Errors();
    EXPECT_NE(errors.find("rk_905.par:3: min is not a 32-bit integer"), std::string::npos)
        << errors;

    Program usage("./velmora-drive-sim", {"--format", "99"});
    EXPECT_EQ(usage.Wait(), 2);
    EXPECT_NE(usage.Errors().find("invalid value for --format"), std::string::npos);
}

} // namespace
