#include "StringResource.h"
#include "TempDir.h"
#include "TextTemplate.h"

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
    void Load(const std::string& contents) {
        EXPECT_EQ(table.ReadTableFile(dir.Write("T.lng", contents).c_str()), 1);
    }
    TempDir dir;
    CStringResource table{&g_module};
};

// Each file with the texts it must give; ids the file lacks fall back to the
// module's built-in texts (200, 212, 213) or "".
TEST_F(StringTable, FileRulesAndMalformedLines) {
    using namespace std::string_literals;
    std::string garbage;
    for (int i = 0; i < 50000; ++i)
        garbage += static_cast<char>((i * 131) & 0xFF);
    const struct {
        std::string file;
        std::vector<std::pair<unsigned, std::string>> texts;
    } cases[] = {
        {"preamble\n[StringTable]\n212=Cascade(&C)\n212=Other\n213=\n",
         {{212, "Cascade(&C)"}, {213, "Tile(&T)"}, {200, "File(&F)"}, {999, ""}}},
        {"[StringTable]\n1=a\\tb\\r\\nc\\x\\\\n\n", {{1, "a\tb\r\nc\\x\\\n"}}},
        {"[StringTable]   \n5=five\n[Next]\n6=six\n", {{5, "five"}, {6, ""}}},
        {"[stringtable]\n5=five\n212=x\n", {{5, ""}, {212, "Cascade"}}},
        {" [StringTable]\n5=five\n", {{5, ""}}}, // the bracket stands in the first column
        {"[StringTable]\n  7x=seven\nnoequals\n=noid\n99999999999=overflow\n8 =eight=more\n",
         {{7, "seven"}, {8, "eight=more"}, {0, ""}}},
        {"[StringTable]\r\n1=串接視窗\r\n2=" + std::string(2000, 'a') + "7=tail\n3=x\r\n",
         {{1, "串接視窗"}, {2, std::string(1021, 'a')}, {3, "x"}}}, // a 1024-byte line buffer
        {garbage, {{212, "Cascade"}}},
        {"[StringTable]\n4=" + std::string(10 << 20, 'z'), {{4, std::string(1021, 'z')}}},
        {"[StringTable]\n4=trunc", {{4, "trunc"}}},
        {"[StringTable]\n4=a\0b\n5=c\n"s, {{4, "a"}, {5, "c"}}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Load(cases[i].file);
        for (const auto& [id, text] : cases[i].texts)
            EXPECT_EQ(table.GetResString(id), text) << "case " << i << ", id " << id;
    }
    Load("[StringTable]\n99999999999=overflow\n");
    EXPECT_TRUE(table.Entries().empty()) << "an id beyond its range is no id";
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

// Message templates come from language tables that users can edit: a table
// whose placeholders do not match its arguments must never reach printf.
TEST(TextTemplate, MismatchedTemplatesStaySafe) {
    EXPECT_EQ(FillTemplate("%d %s", {std::string("text"), 5}), "text 5") << "types follow order";
    EXPECT_EQ(FillTemplate("%s %s %s", {std::string("a")}), "a %s %s") << "missing arguments";
    EXPECT_EQ(FillTemplate("%n%x%p%%", {1}), "%n%x%p%") << "other conversions are text";
    EXPECT_EQ(FillTemplate("%999999999999d", {1}), "%999999999999d");
    EXPECT_EQ(FillTemplate("%5d|%-3d|", {42, 7}), "   42|%-3d|");
    EXPECT_EQ(FillTemplate("trailing %", {1}), "trailing %");
    EXPECT_EQ(FillTemplate("", {1}), "");
}

} // namespace
