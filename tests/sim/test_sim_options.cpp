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

// One option of each kind of value: word, number, pair, hex bytes, mask,
// address with code, and a flag.
TEST(SimOptions, TakesOptionsOfEveryKind) {
    const auto o = Parse("--model T8 --address 247 --gear 3/7 --stray-bytes 00ff"
                         " --inputs 0x41 --exception-at 16:2 --silent");
    ASSERT_EQ(o.error, "");
    const SimConfig& c = o.config;
    const FaultSettings& f = c.faults;
    EXPECT_EQ(f.strayBytes, (std::vector<std::uint8_t>{0x00, 0xFF}));
    EXPECT_EQ(std::tuple(c.model, c.address, c.gearNum, c.gearDen, c.inputPins, f.exceptionAddress,
                         f.exceptionCode, f.silent),
              std::tuple(DriveModel::T8, 247, 3, 7, 0x41, 16, 2, true));
}

TEST(SimOptions, RefusesBadValues) {
    std::istringstream refused("--address 0|--address 248|--format 1x|--model t9|--layout 5|"
                               "--late|--stray-bytes 5|--exception-at x|--frobnicate|--gear 3|"
                               "--inputs 0x10000");
    for (std::string line; std::getline(refused, line, '|');)
        EXPECT_NE(Parse(line).error, "") << line;
    EXPECT_TRUE(Parse("--help").help);
}

} // namespace
