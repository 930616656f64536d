// The shipped product data and the loader's answer to malformed files.
#include "ParameterTable.h"
#include "RegisterMap.h"
#include "TempDir.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>

using namespace drivesim;

namespace {

// The message of the ProductDataError that `load` throws; empty if none.
std::string ErrorOf(const std::function<void()>& load) {
    try {
        load();
    } catch (const ProductDataError& e) {
        return e.what();
    }
    return "";
}

std::string LoadError(DriveModel model, const std::string& text) {
    return ErrorOf([&] { ParameterTable::Parse(model, text, "test.par"); });
}

// The shipped tables load (every simulator test builds a drive from them);
// these are the registers the tools rely on.
TEST(ProductData, ShippedTablesHoldTheToolsRegisters) {
    EXPECT_EQ(ParameterTable::Load(DriveModel::T5, ".").Parameters().size(), 310u);
    EXPECT_EQ(ParameterTable::Load(DriveModel::W5, ".").Parameters().size(), 310u);
    const ParameterTable t5 = ParameterTable::Load(DriveModel::T5, ".");
    EXPECT_EQ(t5.Parameters()[t5.Find(4)].address, 8);
    EXPECT_EQ(t5.Parameters()[t5.Find(100)].address, 256);
    EXPECT_EQ(t5.Parameters()[t5.Find(1005)].address, 2 * (1005 + 28 * 10));
    EXPECT_EQ(t5.Find(18), -1); // register 36 belongs to the motion tool

    const ParameterTable table = ParameterTable::Load(DriveModel::T8, ".");
    auto byAddress = [&](int address) -> const Parameter* {
        for (const Parameter& p : table.Parameters())
            if (p.address == address)
                return &p;
        return nullptr;
    };
    for (int address : {2, 16, 17, 18, 19, 20, 32, 36, 46, 47, 70, 75, 83, 84, 85, 86, 87, 88, 89})
        ASSERT_NE(byAddress(address), nullptr) << address;
    EXPECT_EQ(byAddress(47)->defaultValue, 0); // motion command: stop
    EXPECT_LE(byAddress(2)->defaultValue, 5);  // not an internal position mode
    EXPECT_EQ(byAddress(19)->min, 0);          // the tuning tool writes 0 here
    EXPECT_EQ(byAddress(21)->min, 0);
    EXPECT_EQ(byAddress(1201)->shape, ValueShape::SplitLong);
    EXPECT_EQ(byAddress(230)->shape, ValueShape::Long);
    for (int j = 0; j < 8; ++j)
        EXPECT_EQ(table.Parameters()[table.Find(16 * j)].address, 16 * j);
}

TEST(ProductData, MalformedTablesGiveAClearError) {
    const std::string good = "[Pr000]\nmin=0\nmax=10\ndefault=1\n";
    std::string brokenRun; // Pr020 leaves the T8's runs of 16 consecutive registers
    for (int n = 0; n < 128; ++n)
        brokenRun += "[Pr" + std::to_string(1000 + n).substr(1) +
                     "]\nAddress=" + std::to_string(n == 20 ? 300 : n) + "\n";
    EXPECT_EQ(LoadError(DriveModel::T5, good), "");
    struct Case {
        const char* what;
        DriveModel model;
        std::string text;
        const char* message;
    } cases[] = {
        {"empty", DriveModel::T5, "", "no parameter defined"},
        {"cut inside a key", DriveModel::T5, good + "[Pr001]\nmi",
         ":6: expected [PrNNN] or key=value"},
        {"binary", DriveModel::T5,
         std::string("\x7F"
                     "ELF\0\x01\x02",
                     7),
         "not a text file"},
        {"invalid UTF-8", DriveModel::T5, "[Pr000]\nunit=\xC3\x28\n", "not a text file"},
        {"not a number", DriveModel::T5, "[Pr000]\nmin=zero\n", "min is not a 32-bit integer"},
        {"too big a number", DriveModel::T5, "[Pr000]\nmax=99999999999\n",
         "max is not a 32-bit integer"},
        {"min above max", DriveModel::T5, "[Pr000]\nmin=5\nmax=1\ndefault=3\n",
         "min <= default <= max"},
        {"default outside", DriveModel::T5, "[Pr000]\nmin=0\nmax=1\ndefault=3\n",
         "min <= default <= max"},
        {"twice", DriveModel::T5, good + good, "occurs twice"},
        {"group 7", DriveModel::T5, "[Pr700]\nmin=0\n", "group 7 is not a parameter group"},
        {"other section", DriveModel::T5, "[Setup]\nx=1\n", "section name is not Pr"},
        {"key first", DriveModel::T5, "min=1\n", "key outside of a section"},
        {"long line", DriveModel::T5, "[Pr000]\ncmt=" + std::string(2000, 'x') + "\n",
         "longer than 1024"},
        {"T8 truncated", DriveModel::T8, "[Pr000]\nAddress=0\nmin=0\n", "Pr1 is missing"},
        {"T8 without Address", DriveModel::T8, "[Pr000]\nmin=0\n", "Address missing"},
        {"T8 odd long", DriveModel::T8, "[Pr130]\nAddress=201\n", "even register"},
        {"T8 word out of range", DriveModel::T8, "[Pr000]\nAddress=0\nmax=40000\ndefault=0\n",
         "-32768..32767"},
        {"T8 number 168", DriveModel::T8, "[Pr168]\nAddress=5000\n", "from 0 to 167"},
        {"T8 run broken", DriveModel::T8, brokenRun, "Pr20 breaks the run of 16"},
    };
    for (const Case& c : cases) {
        const std::string error = LoadError(c.model, c.text);
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(error.rfind("test.par", 0), 0u) << c.what;
    }
}

TEST(ProductData, ToolRegistersMissingAndHugeFilesAreRefused) {
    // Pr018 would lie at register 36, the end point register of the motion tool.
    const auto table = ParameterTable::Parse(DriveModel::T5, "[Pr018]\nmin=0\n", "t.par");
    EXPECT_NE(ErrorOf([&] { RegisterMap::Build(table); }).find("register 36"), std::string::npos);
    TempDir dir;
    EXPECT_NE(ErrorOf([&] {
                  ParameterTable::Load(DriveModel::T5, dir.Path().string());
              }).find("hq_417.par: parameter table not found"),
              std::string::npos);
    std::ofstream(dir.File("rk_905.par")) << std::string(kMaxTableFileBytes + 1, ';');
    EXPECT_NE(ErrorOf([&] {
                  ParameterTable::Load(DriveModel::T8, dir.Path().string());
              }).find("too large"),
              std::string::npos);
}

} // namespace
