// The signal list from cd.dat and a language's signal file: codes, skipped
// entries, linear-drive names, and missing or malformed files.
#include "SignalList.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <tuple>

namespace tracelens {
namespace {

const char* kCatalogue = "[Setup]\niQtyA=3\niQtyB=1\n"
                         "[Data1]\nID=1\nMax=6000\n"
                         "[Data2]\nID=0\nMax=5\n"
                         "[Data3]\nID=22\nMax=10000000\nOffset=7\n"
                         "[Data32768]\nID=90\n";
const char* kNames = "[Setup]\niQtyA=3\niQtyB=1\n"
                     "[Data1]\nID=1\nName=Speed\nUnit=r/min\nName1=Speed (linear)\nUnit1=mm/s\n"
                     "[Data2]\nID=0\n"
                     "[Data3]\nID=22\nName=Position\nUnit=pulse\nName1=-\n"
                     "[Data32768]\nID=90\nName=Frame\n";

TEST(SignalList, ReadsCodesMaximaAndNamesPerModel) {
    TempDir dir;
    const std::string cd = dir.Write("cd.dat", kCatalogue);
    const std::string names = dir.Write("cdENG.dat", kNames);
    const std::vector<SignalEntry> rotary = LoadSignalList(cd, names, 0);
    ASSERT_EQ(rotary.size(), 3u);
    const auto fields = [](const SignalEntry& e) {
        return std::tuple{e.code, e.maximum, e.offset, e.name, e.unit};
    };
    EXPECT_EQ(fields(rotary[0]), std::tuple(1, 6000, 0, "Speed", "r/min"));
    EXPECT_EQ(fields(rotary[1]), std::tuple(22, 10000000, 7, "Position", "pulse"));
    EXPECT_EQ(fields(rotary[2]), std::tuple(90, 1, 0, "Frame", "")) << "default maximum";
    const std::vector<SignalEntry> linear = LoadSignalList(cd, names, 1);
    EXPECT_EQ(fields(linear[0]), std::tuple(1, 6000, 0, "Speed (linear)", "mm/s"));
    EXPECT_EQ(linear[1].name, "Position") << "a '-' falls back to Name";
}

TEST(SignalList, MissingOrMalformedFilesGiveWhatTheyCan) {
    TempDir dir;
    EXPECT_TRUE(LoadSignalList(dir.File("none.dat"), "", 0).empty());
    const std::string cd = dir.Write("cd.dat", kCatalogue);
    const std::vector<SignalEntry> unnamed = LoadSignalList(cd, dir.File("missing.dat"), 0);
    ASSERT_EQ(unnamed.size(), 3u) << "codes without names";
    EXPECT_TRUE(unnamed[0].name.empty());
    const std::string garbage = dir.Write("bad.dat", "\x01\x02 not a profile\n[Setup\niQtyA=x\n");
    EXPECT_TRUE(LoadSignalList(garbage, "", 0).empty());
    const std::string huge = dir.Write("huge.dat", "[Setup]\niQtyA=999999999\niQtyB=-4\n");
    EXPECT_TRUE(LoadSignalList(huge, "", 0).empty());
}

} // namespace
} // namespace tracelens
