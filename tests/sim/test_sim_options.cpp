// The command line of velmora-drive-sim.
#include "SimOptions.h"

#include <gtest/gtest.h>

using namespace drivesim;

TEST(SimOptions, TakesEveryOption) {
    const auto o = ParseOptions({"--model",
                                 "T8",
                                 "--address",
                                 "247",
                                 "--format",
                                 "15",
                                 "--layout",
                                 "5",
                                 "--data",
                                 "d",
                                 "--state",
                                 "s.ini",
                                 "--link",
                                 "/tmp/x",
                                 "--drop-every",
                                 "3",
                                 "--corrupt-every",
                                 "4",
                                 "--stray-every",
                                 "5",
                                 "--stray-bytes",
                                 "00ff",
                                 "--late",
                                 "20",
                                 "--silent",
                                 "--exception-at",
                                 "16:2",
                                 "--unplug-after",
                                 "9",
                                 "--replug-after",
                                 "100"});
    ASSERT_EQ(o.error, "");
    const SimConfig& c = o.config;
    EXPECT_EQ(c.model, DriveModel::T8);
    EXPECT_EQ(c.address, 247);
    EXPECT_EQ(c.format, 15);
    EXPECT_EQ(c.layout, IdentityLayout::Layout5);
    EXPECT_EQ(c.dataDir, "d");
    EXPECT_EQ(c.statePath, "s.ini");
    EXPECT_EQ(c.linkPath, "/tmp/x");
    EXPECT_EQ(c.faults.dropEvery, 3u);
    EXPECT_EQ(c.faults.corruptEvery, 4u);
    EXPECT_EQ(c.faults.strayEvery, 5u);
    EXPECT_EQ(c.faults.strayBytes, (std::vector<std::uint8_t>{0x00, 0xFF}));
    EXPECT_EQ(c.faults.lateMs, 20u);
    EXPECT_TRUE(c.faults.silent);
    EXPECT_EQ(c.faults.exceptionAddress, 16);
    EXPECT_EQ(c.faults.exceptionCode, 2);
    EXPECT_EQ(c.faults.unplugAfter, 9u);
    EXPECT_EQ(c.faults.replugAfterMs, 100u);
}

TEST(SimOptions, RefusesBadValues) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--address", "0"},
                                               {"--address", "248"},
                                               {"--format", "16"},
                                               {"--model", "t9"},
                                               {"--layout", "3"},
                                               {"--layout", "5"},
                                               {"--late"},
                                               {"--stray-bytes", "5"},
                                               {"--exception-at", "x"},
                                               {"--frobnicate"},
                                               {"--format", "1x"}}) {
        EXPECT_NE(ParseOptions(args).error, "") << args[0];
    }
    EXPECT_TRUE(ParseOptions({"--help"}).help);
}
