// The two command-line programs started from a folder that holds nothing of
// Velmora's (as from the repository root): each finds its product data and
// settings beside itself, and velmora-cli names parameters in the language
// asked for or configured.
#include "TempDir.h"
#include "ChildProcess.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::string kApp = VELMORA_APP_DIR_FOR_TESTS;

// Runs the test's programs with `dir` as working folder.
class ElsewhereFolder : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::current_path(dir.Path()); }
    void TearDown() override { std::filesystem::current_path(before); }

    int Cli(std::vector<std::string> args, std::string* errors = nullptr) {
        Program cli(kApp + "/velmora-cli", std::move(args));
        const int status = cli.Wait();
        if (errors != nullptr)
            *errors = cli.Errors();
        return status;
    }

    std::filesystem::path before = std::filesystem::current_path();
    TempDir dir;
};

TEST_F(ElsewhereFolder, SimulatorAndCliUseTheDataBesideThem) {
    const std::string link = dir.File("ttyDrive");
    Program sim(kApp + "/velmora-drive-sim", {"--model", "t5", "--link", link});
    ASSERT_EQ(sim.Line().rfind("/dev/pts/", 0), 0u) << sim.Errors();

    std::string errors;
    ASSERT_EQ(Cli({"--device", link, "params", "read", "--out", "drive.tw"}, &errors), 0) << errors;
    struct Case {
        std::vector<std::string> language;
        const char* name; // of Pr000
    };
    const Case cases[] = {
        {{}, "Rotational direction setup"}, // iLanguage=1000 of the Velmora.ini beside it
        {{"--language", "CHS"}, "旋转方向设定"},
        {{"--language", "CHT"}, "旋轉方向設定"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"--device", link, "params", "export", "page.csv"};
        args.insert(args.end(), c.language.begin(), c.language.end());
        ASSERT_EQ(Cli(args, &errors), 0) << errors;
        EXPECT_NE(TempDir::Read(dir.File("page.csv")).find(c.name), std::string::npos);
    }

    std::string changed = TempDir::Read(dir.File("drive.tw"));
    const auto value = changed.find("V=", changed.find("[Pr000]")) + 2;
    const std::size_t length = changed.find('\n', value) - value;
    changed.replace(value, length, changed.substr(value, length) == "0" ? "1" : "0");
    dir.Write("other.tw", changed);
    ASSERT_EQ(
        Cli({"params", "diff", "drive.tw", "other.tw", "--out", "diff.csv", "--language", "CHS"},
            &errors),
        0)
        << errors;
    EXPECT_NE(TempDir::Read(dir.File("diff.csv")).find("旋转方向设定"), std::string::npos);
    EXPECT_EQ(
        Cli({"params", "diff", "drive.tw", "other.tw", "--out", "d.csv", "--language", "FRA"}), 2);
    EXPECT_EQ(sim.Stop(SIGTERM), 0);
}

} // namespace
