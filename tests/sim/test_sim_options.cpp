// The command line of velmora-drive-sim.
#include "SimOptions.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace drivesim;

namespace {

ParsedOptions Parse(const std::string& line) {
    std::vector<std::string> args;
    std::istringstream words(line);
    for (std::string word; words >> word;)
        args.push_back(word);
    return ParseOptions(args);
}

TEST(SimOptions, TakesEveryOption) {
    const auto o =
        Parse("--model T8 --address 247 --format 15 --layout 5 --data d --state s.ini"
              " --link /tmp/x --drop-every 3 --corrupt-every 4 --stray-every 5"
              " --corrupt-frame-every 6 --stray-bytes 00ff --late 20 --silent --exception-at 16:2"
              " --unplug-after 9 --replug-after 100 --motion demo"
              " --load-inertia-ratio 400 --gear 3/7 --alarm 12 --inputs 0x41 --service");
    ASSERT_EQ(o.error, "");
    const SimConfig& c = o.config;
    EXPECT_EQ(c.model, DriveModel::T8);
    EXPECT_EQ(c.address, 247);
    EXPECT_EQ(c.format, 15);
    EXPECT_EQ(c.layout, IdentityLayout::Layout5);
    EXPECT_EQ(c.dataDir + c.statePath + c.linkPath, "ds.ini/tmp/x");
    const FaultSettings& f = c.faults;
    EXPECT_EQ(std::vector<unsigned>({f.dropEvery, f.corruptEvery, f.strayEvery, f.lateMs,
                                     f.unplugAfter, f.replugAfterMs}),
              std::vector<unsigned>({3, 4, 5, 20, 9, 100}));
    EXPECT_EQ(f.strayBytes, (std::vector<std::uint8_t>{0x00, 0xFF}));
    EXPECT_TRUE(f.silent);
    EXPECT_EQ(f.exceptionAddress, 16);
    EXPECT_EQ(f.exceptionCode, 2);
    EXPECT_EQ(f.corruptFrameEvery, 6u);
    EXPECT_EQ(c.motion, MotionMode::Demo);
    EXPECT_EQ(c.loadInertiaRatio, 400);
    EXPECT_EQ(std::vector<int>({c.gearNum, c.gearDen, c.alarm, c.inputPins}),
              std::vector<int>({3, 7, 12, 0x41}));
    EXPECT_TRUE(c.service);
    EXPECT_EQ(Parse("--inputs 65").config.inputPins, 65);
    const SimConfig defaults = Parse("").config;
    EXPECT_EQ(defaults.motion, MotionMode::Standstill);
    EXPECT_EQ(defaults.loadInertiaRatio, 250);
    EXPECT_FALSE(defaults.service);
}

TEST(SimOptions, RefusesBadValues) {
    for (const char* line : {"--address 0",
                             "--address 248",
                             "--format 16",
                             "--model t9",
                             "--layout 3",
                             "--layout 5",
                             "--late",
                             "--stray-bytes 5",
                             "--exception-at x",
                             "--frobnicate",
                             "--format 1x",
                             "--motion fast",
                             "--load-inertia-ratio 10001",
                             "--load-inertia-ratio -1",
                             "--gear 3",
                             "--gear 0/1",
                             "--gear 1/32768",
                             "--alarm 0",
                             "--inputs 0x10000",
                             "--inputs x",
                             "--inputs -1"})
        EXPECT_NE(Parse(line).error, "") << line;
    EXPECT_TRUE(Parse("--help").help);
}

} // namespace
