// The command line of velmora-drive-sim.
#include "SimOptions.h"

#include <gtest/gtest.h>
#include <sstream>
#include <tuple>

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
    const FaultSettings& f = c.faults;
    EXPECT_EQ(c.dataDir + c.statePath + c.linkPath, "ds.ini/tmp/x");
    EXPECT_EQ(f.strayBytes, (std::vector<std::uint8_t>{0x00, 0xFF}));
    // Every other option, in the order of the line.
    EXPECT_EQ(std::tuple(c.model, c.address, c.format, c.layout, f.dropEvery, f.corruptEvery,
                         f.strayEvery, f.corruptFrameEvery, f.lateMs, f.silent, f.exceptionAddress,
                         f.exceptionCode, f.unplugAfter, f.replugAfterMs, c.motion,
                         c.loadInertiaRatio, c.gearNum, c.gearDen, c.alarm, c.inputPins, c.service),
              std::tuple(DriveModel::T8, 247, 15, IdentityLayout::Layout5, 3u, 4u, 5u, 6u, 20u,
                         true, 16, 2, 9u, 100u, MotionMode::Demo, 400.0, 3, 7, 12, 0x41, true));
    EXPECT_EQ(Parse("--inputs 65").config.inputPins, 65);
    const SimConfig defaults = Parse("").config;
    EXPECT_EQ(defaults.motion, MotionMode::Standstill);
    EXPECT_EQ(defaults.loadInertiaRatio, 250);
    EXPECT_FALSE(defaults.service);
}

TEST(SimOptions, RefusesBadValues) {
    std::istringstream refused(
        "--address 0|--address 248|--format 16|--model t9|--layout 3|--layout 5|--late|"
        "--stray-bytes 5|--exception-at x|--frobnicate|--format 1x|--motion fast|"
        "--load-inertia-ratio 10001|--load-inertia-ratio -1|--gear 3|--gear 0/1|"
        "--gear 1/32768|--alarm 0|--inputs 0x10000|--inputs x|--inputs -1");
    for (std::string line; std::getline(refused, line, '|');)
        EXPECT_NE(Parse(line).error, "") << line;
    EXPECT_TRUE(Parse("--help").help);
}

} // namespace
