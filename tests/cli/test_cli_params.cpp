// velmora-cli params against the simulated drive on a pseudo-terminal.
#include "CliRun.h"
#include "DriveSim.h"
#include "ParamsCommand.h"
#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>

using namespace velmora::cli;

namespace {

using Outcome = CliOutcome;

class CliParams : public ::testing::Test {
protected:
    void StartDrive(drivesim::DriveModel model) {
        drivesim::SimConfig config;
        config.model = model;
        config.dataDir = ".";
        sim_ = std::make_unique<drivesim::DriveSim>(config);
        sim_->Start();
    }
    // Runs "velmora-cli --device <drive> params <line>".
    Outcome Run(const std::string& line) {
        return RunCliLine({"--device", sim_->SlavePath(), "params"}, line);
    }
    static void SetValue(const std::string& file, const std::string& section, int value) {
        std::string text = TempDir::Read(file);
        const auto header = text.find("[" + section + "]\n");
        ASSERT_NE(header, std::string::npos);
        const auto at = text.find("\nV=", header) + 3;
        const auto end = text.find('\n', at);
        text.replace(at, end - at, std::to_string(value));
        std::ofstream(file, std::ios::binary) << text;
    }
    std::unique_ptr<drivesim::DriveSim> sim_;
    TempDir dir_;
};

} // namespace

TEST_F(CliParams, ReadEditWriteWithEepromAndReadBack) {
    StartDrive(drivesim::DriveModel::T5);
    const std::string file = dir_.File("line.tw");
    Outcome r = Run("read --out " + file);
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NE(TempDir::Read(file).find("TypeCap=t5-400w"), std::string::npos);
    SetValue(file, "Pr028", -7);
    r = Run("write " + file + " --eeprom");
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_NE(r.out.find("transferred 310 parameters"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("every parameter matches"), std::string::npos);
    sim_->WithState([](drivesim::DriveState& s) {
        EXPECT_EQ(s.Value(28), -7);
        EXPECT_EQ(s.SavedValue(28), -7);
    });
}

TEST_F(CliParams, WriteReportsEveryValueTheDriveClamped) {
    StartDrive(drivesim::DriveModel::T5);
    const std::string file = dir_.File("a.tw");
    ASSERT_EQ(Run("read --out " + file).status, kExitOk);
    SetValue(file, "Pr001", 999);
    const Outcome r = Run("write " + file);
    EXPECT_EQ(r.status, kExitMismatch);
    EXPECT_TRUE(std::regex_search(r.out, std::regex("Pr 001 .*: wrote 999, drive holds 6")))
        << r.out;
    EXPECT_NE(r.err.find("1 parameter(s) differ"), std::string::npos);
}

TEST_F(CliParams, WriteRefusesAFileOfAnotherModel) {
    StartDrive(drivesim::DriveModel::T5);
    const std::string file = dir_.Write("w5.tw", "[Setup]\nTypeCap=w5-750w\n[Pr000]\nV=1\n");
    const Outcome r = Run("write " + file);
    EXPECT_EQ(r.status, kExitDataError);
    EXPECT_NE(r.err.find("is for a W5-750W drive"), std::string::npos) << r.err;
    const std::string bad = dir_.Write("bad.tw", "[Setup]\nTypeCap=t5\n[Pr000]\nV");
    EXPECT_EQ(Run("write " + bad).status, kExitDataError);
}

// Pages and comparisons through the program: ElsewhereFolder in
// test_cli_programs.cpp; their content: the knobset golden files.
TEST_F(CliParams, T8RoundTrip) {
    StartDrive(drivesim::DriveModel::T8);
    const std::string file = dir_.File("rk.tw");
    ASSERT_EQ(Run("read --out " + file).status, kExitOk);
    EXPECT_NE(TempDir::Read(file).find("[Pr127]\nAddress=0x7f\n"), std::string::npos);
    SetValue(file, "Pr96", -100);
    const Outcome r = Run("write " + file);
    ASSERT_EQ(r.status, kExitOk) << r.err << r.out;
    sim_->WithState([](drivesim::DriveState& s) { EXPECT_EQ(s.Value(96), -100); });
}

TEST_F(CliParams, DiffRefusesFilesOfDifferentModels) {
    const std::string a = dir_.Write("a.tw", "[Setup]\nTypeCap=t5\n[Pr001]\nV=2\n");
    const std::string w = dir_.Write("w.tw", "[Setup]\nTypeCap=w5\n");
    const Outcome r =
        RunCliLine({"params"}, "diff " + a + " " + w + " --out " + dir_.File("d.csv"));
    EXPECT_EQ(r.status, kExitDataError);
    EXPECT_NE(r.err.find("different drive models"), std::string::npos) << r.err;
}

TEST_F(CliParams, FailuresAreExplained) {
    StartDrive(drivesim::DriveModel::T5);
    Outcome r = Run("read --out " + dir_.File("x.tw") + " --app-dir " + dir_.File("nowhere"));
    EXPECT_EQ(r.status, kExitDataError);
    EXPECT_NE(r.err.find("missing product data for table hq_417"), std::string::npos) << r.err;
    for (const char* usage : {"read", "frobnicate x", "export a.csv --eeprom"})
        EXPECT_EQ(Run(usage).status, kExitUsage) << usage;
    drivesim::FaultSettings silent;
    silent.silent = true;
    sim_->SetFaults(silent);
    r = Run("read --out " + dir_.File("x.tw"));
    EXPECT_EQ(r.status, kExitRequestFailed);
    EXPECT_NE(r.err.find("does not answer"), std::string::npos);
}
