// The description files (shipped, and malformed ones), the language name
// files and the tick file with its fall-back folder.
#include "MonitorData.h"
#include "ScopedEnv.h"
#include "TempDir.h"
#include "TickFile.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {
using namespace monitor;
namespace fs = std::filesystem;

TEST(MonitorFiles, ShippedDescriptionsLoad) {
    MonitorItems items;
    LoadDescriptions(items, ".");
    ASSERT_EQ(items[kMotion].count, 12);
    EXPECT_EQ(items[kMotion].items[6].datasize, 2); // the 32-bit pulse count
    EXPECT_EQ(items[kMotion].items[9].type, 2);
    ASSERT_EQ(items[kStatus].count, 11);
    ASSERT_EQ(items[kStatus].items[0].valueNames.size(), 10u);
    EXPECT_EQ(items[kStatus].items[0].valueNames[4].name, "過負載"); // CHT at start-up
    EXPECT_EQ(items[kInput].count, 11);
    EXPECT_EQ(items[kOutput].count, 8);
    EXPECT_EQ(items[kOutput].items[0].unit, "Servo ready");

    LoadLanguageNames(items, ".", "ENG");
    EXPECT_EQ(items[kStatus].items[0].valueNames[4].name, "Overload");
    LoadLanguageNames(items, ".", "CHS");
    EXPECT_EQ(items[kMotion].items[0].name, "电机转速");
}

TEST(MonitorFiles, MalformedDescriptionsGiveEmptyOrBoundedLists) {
    TempDir dir;
    const struct {
        const char* text;
        int count;
    } cases[] = {
        {"[Motion1]\nName=No setup\nAddress=1\n", 0},
        {"[Setup]\niQty=-7\n", 0},
        {"[Setup]\niQty=999\n", kMaxItems},
        {"[Setup]\niQty=2\n[Motion1]\nName=only one\n", 2},
    };
    for (const auto& c : cases) {
        ItemGroup group;
        LoadGroup(group, kMotion, dir.Write("Motion.dat", c.text));
        EXPECT_EQ(group.count, c.count) << c.text;
        if (group.count == 2) {
            EXPECT_FALSE(group.items[1].Readable()); // no address or size: never read
        }
    }
    ItemGroup missing;
    LoadGroup(missing, kStatus, (dir.Path() / "none.dat").string());
    EXPECT_EQ(missing.count, 0);
}

TEST(MonitorFiles, TicksAreSavedAndRestored) {
    TempDir dir;
    fs::create_directories(dir.Path() / "Language/Monitor");
    const std::string path = TickFilePath(dir.Path().string());
    EXPECT_EQ(path, (dir.Path() / "Language/Monitor/Monitor Status.ini").string());
    std::array<std::vector<int>, 4> ticks = {
        std::vector<int>{1, 0, 1}, std::vector<int>{0}, std::vector<int>{}, {1, 1}};
    ASSERT_TRUE(WriteTicks(path, ticks));
    EXPECT_EQ(ReadTicks(path, kMotion, 5), (std::vector<int>{1, 0, 1, 1, 1})); // more rows: ticked
    EXPECT_EQ(ReadTicks(path, kStatus, 1), std::vector<int>{0});
    EXPECT_EQ(ReadTicks(path, kInput, 2), (std::vector<int>{1, 1}));
    ticks[0] = {0};
    ASSERT_TRUE(WriteTicks(path, ticks));
    EXPECT_EQ(ReadTicks(path, kMotion, 3), (std::vector<int>{0, 1, 1}));
}

TEST(MonitorFiles, TicksGoToTheUserFolderWhenTheProgramFolderIsNotWritable) {
    TempDir dir;
    // The program's monitor folder is a file here: nothing can be written in it.
    dir.Write("app/Language/Monitor", "not a folder");
    const std::string config = (dir.Path() / "config").string();
    const ScopedEnv home("XDG_CONFIG_HOME", config);
    const std::string app = (dir.Path() / "app").string();
    const std::string path = TickFilePath(app);
    EXPECT_EQ(path, config + "/velmora/Monitor Status.ini");
    EXPECT_EQ(ReadTicks(TickFileToRead(app), kMotion, 2), (std::vector<int>{1, 1}));
    ASSERT_TRUE(WriteTicks(path, {std::vector<int>{0, 1}, {}, {}, {}}));
    EXPECT_EQ(ReadTicks(TickFileToRead(app), kMotion, 2), (std::vector<int>{0, 1}));
    // Nowhere to write: the write fails quietly.
    EXPECT_FALSE(WriteTicks((dir.Path() / "app/Language/Monitor/x.ini").string(), {}));
}

} // namespace
