// The real program, offscreen, ends in order on the signals of a logout, a
// Ctrl-C and a service stop: it leaves its event loop and writes its settings
// back, as File > Exit does, instead of dying on the spot.
#include "TempDir.h"
#include "ChildProcess.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace {

TEST(StopSignals, EachStopSignalEndsTheProgramInOrder) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(::strsignal(signal));
        TempDir dir;
        dir.Write("Velmora.ini", "[ComPortSetup]\niPort1COM=7\n");
        Program host(VELMORA_APP_DIR_FOR_TESTS "/Velmora",
                     {"--app-dir", dir.Path().string(), "--plugin-dir", dir.Path().string(),
                      "--report-startup"});
        ASSERT_NE(host.Line().find("first window after"), std::string::npos) << host.Errors();
        EXPECT_EQ(host.Stop(signal), 128 + signal) << "left the event loop and returned";
        const std::string ini = TempDir::Read(dir.File("Velmora.ini"));
        EXPECT_NE(ini.find("iPort1COM=7"), std::string::npos) << ini;
        EXPECT_NE(ini.find("iModbusID="), std::string::npos) << "settings written back:\n" << ini;
    }
}

} // namespace
