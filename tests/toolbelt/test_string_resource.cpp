#include "Profile.h"
#include "StringResource.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

const ResString kStrings[] = {
    {200, "File(&F)"},
    {212, "Cascade"},
    {213, "Tile(&T)"},
    {300, "tab\there\r\nline"},
};
VELMORA_MODULE_STRINGS(kModule, kStrings);
ModuleHandle g_module = &kModule;

class StringTable : public ::testing::Test {
protected:
    std::string Load(const std::string& contents) {
        std::string file = dir.Write("T.lng", contents);
        EXPECT_EQ(table.ReadTableFile(file.c_str()), 1);
        return file;
    }
    TempDir dir;
    CStringResource table{&g_module};
};

TEST_F(StringTable, FirstEntryWinsAndEmptyTextFallsBack) {
    Load("preamble\n[StringTable]\n212=Cascade(&C)\n212=Other\n213=\n");
    EXPECT_EQ(table.GetResString(212), "Cascade(&C)");
    EXPECT_EQ(table.GetResString(213), "Tile(&T)");
    EXPECT_EQ(table.GetResString(200), "File(&F)");
    EXPECT_EQ(table.GetResString(999), "");
}

TEST_F(StringTable, EscapesBecomeControlCharacters) {
    Load("[StringTable]\n1=a\\tb\\r\\nc\\x\\\\n\n");
    EXPECT_EQ(table.GetResString(1), "a\tb\r\nc\\x\\\n");
}

TEST_F(StringTable, HeaderRulesAndSectionEnd) {
    Load("[StringTable]   \n; 5=comment\n5=five\n[Next]\n6=six\n");
    EXPECT_EQ(table.GetResString(5), "five");
    EXPECT_EQ(table.GetResString(6), "");

    Load("[stringtable]\n5=five\n");
    EXPECT_TRUE(table.Entries().empty());
    EXPECT_EQ(table.GetResString(212), "Cascade");

    Load(" [StringTable]\n5=five\n"); // the bracket must stand in the first column
    EXPECT_TRUE(table.Entries().empty());
}

TEST_F(StringTable, IdsParseLikeScanfAndBadLinesAreSkipped) {
    Load("[StringTable]\n  7x=seven\nnoequals\n=noid\n99999999999=overflow\n8 =eight=more\n");
    EXPECT_EQ(table.GetResString(7), "seven");
    EXPECT_EQ(table.GetResString(8), "eight=more");
    ASSERT_EQ(table.Entries().size(), 2u);
}

TEST_F(StringTable, AMissingFileFolderOrDeviceKeepsThePreviousTable) {
    Load("[StringTable]\n212=Kaskade\n");
    for (const std::string& path :
         {dir.File("missing.lng"), dir.Path().string(), std::string("/dev/null")}) {
        EXPECT_EQ(table.ReadTableFile(path.c_str()), 0) << path;
        EXPECT_EQ(table.GetResString(212), "Kaskade") << path;
    }
    EXPECT_EQ(table.ReadTableFile(nullptr), 0);
}

TEST_F(StringTable, CrLfLongLinesAndUtf8) {
    std::string longText(2000, 'a');
    Load("[StringTable]\r\n1=串接視窗\r\n2=" + longText + "7=tail\n3=x\r\n");
    EXPECT_EQ(table.GetResString(1), "串接視窗");
    // A 1024-byte line buffer: the rest of an overlong line reads as a new line.
    EXPECT_EQ(table.GetResString(2).size(), 1021u);
    EXPECT_EQ(table.GetResString(3), "x");
}

TEST_F(StringTable, GarbageTruncationAndHugeFiles) {
    std::string garbage;
    for (int i = 0; i < 50000; ++i)
        garbage += static_cast<char>((i * 131) & 0xFF);
    Load(garbage);
    Load("[StringTable]\n4=" + std::string(10 << 20, 'z'));
    EXPECT_EQ(table.GetResString(4).size(), 1021u);
    Load("[StringTable]\n4=trunc");
    EXPECT_EQ(table.GetResString(4), "trunc");
    using namespace std::string_literals;
    Load("[StringTable]\n4=a\0b\n5=c\n"s);
    EXPECT_EQ(table.GetResString(4), "a");
    EXPECT_EQ(table.GetResString(5), "c");
}

TEST_F(StringTable, CreateTableFileRoundTrips) {
    std::string file = dir.File("out/ENG.lng");
    std::filesystem::create_directories(dir.File("out"));
    table.CreateTableFile(file.c_str(), 299);
    std::string text = TempDir::Read(file);
    EXPECT_EQ(text, "[StringTable]\n200=File(&F)\n212=Cascade\n213=Tile(&T)\n");

    table.CreateTableFile(file.c_str(), 0xFFFFFFFFu);
    CStringResource fresh(nullptr);
    ASSERT_EQ(fresh.ReadTableFile(file.c_str()), 1);
    EXPECT_EQ(fresh.GetResString(300), "tab\there\r\nline");
    EXPECT_EQ(fresh.GetResString(212), "Cascade");
}

TEST_F(StringTable, CopiesAreIndependent) {
    Load("[StringTable]\n1=one\n");
    CStringResource copy(table);
    Load("[StringTable]\n1=uno\n");
    EXPECT_EQ(copy.GetResString(1), "one");
    copy = table;
    EXPECT_EQ(copy.GetResString(1), "uno");
}

} // namespace
