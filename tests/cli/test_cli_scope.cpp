// velmora-cli scope against the simulated drive (demo move) on a
// pseudo-terminal: a triggered High Sample block and a stream into CSV.
#include "CliRun.h"
#include "DriveSim.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace velmora::cli;

namespace {

using Outcome = CliOutcome;

class CliScope : public ::testing::Test {
protected:
    CliScope() {
        drivesim::SimConfig config;
        config.dataDir = ".";
        config.motion = drivesim::MotionMode::Demo;
        sim_ = std::make_unique<drivesim::DriveSim>(config);
        sim_->Start();
    }
    Outcome Run(const std::string& line) {
        return RunCliLine({"--device", sim_->SlavePath(), "scope"}, line);
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    std::unique_ptr<drivesim::DriveSim> sim_;
    TempDir dir_;
};

TEST_F(CliScope, WritesATriggeredBlockAsCsv) {
    const std::string file = dir_.File("block.csv");
    const Outcome o = Run("--signal 2 --signal 90 --signal 26:32 --block --time-base 7 "
                          "--trigger 1:rise:1000 --delay 175 --out " +
                          file);
    ASSERT_EQ(o.status, kExitOk) << o.err;
    const std::vector<std::string> lines = Lines(TempDir::Read(file));
    ASSERT_EQ(lines.size(), 352u);
    EXPECT_EQ(lines[0].rfind("time_ms,\"", 0), 0u) << lines[0];
    EXPECT_EQ(std::count(lines[0].begin(), lines[0].end(), ','), 3);
    EXPECT_EQ(lines[1].rfind("0.0,", 0), 0u) << lines[1];
    EXPECT_EQ(lines[351].rfind("70.0,", 0), 0u) << "350 samples of 0.2 ms: " << lines[351];
    long before = 0, at = 0;
    ASSERT_EQ(std::sscanf(lines[175].c_str(), "%*[^,],%ld", &before), 1);
    ASSERT_EQ(std::sscanf(lines[176].c_str(), "%*[^,],%ld", &at), 1);
    EXPECT_LT(before, 1000);
    EXPECT_GE(at, 1000);
}

TEST_F(CliScope, StreamsForAGivenTimeToStandardOutput) {
    const Outcome o = Run("--signal 90 --signal 1 --stream 0.5");
    ASSERT_EQ(o.status, kExitOk) << o.err;
    const std::vector<std::string> lines = Lines(o.out);
    ASSERT_EQ(lines.size(), 501u);
    long first = 0, last = 0;
    ASSERT_EQ(std::sscanf(lines[1].c_str(), "0,%ld", &first), 1);
    ASSERT_EQ(std::sscanf(lines[500].c_str(), "499,%ld", &last), 1);
    EXPECT_EQ((last - first) & 0xFFFF, 499) << "no frame lost";
}

TEST_F(CliScope, RefusesBadCommandLines) {
    const char* bad[] = {"--block",
                         "--signal 1 --block --stream 1",
                         "--signal 1 --signal 2 --signal 3 --signal 4 --signal 5 --stream 1",
                         "--signal 1 --trigger 2:rise:0 --block",
                         "--signal 1 --trigger 1:up:0",
                         "--signal nosuch --stream 1",
                         "--signal 1:32 --signal 2:32 --signal 3 --stream 1"};
    for (const char* line : bad)
        EXPECT_EQ(Run(line).status, kExitUsage) << line;
}

} // namespace
