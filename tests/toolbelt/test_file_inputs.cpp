// Names that are not what they seem: section names written with blanks
// around them, and lines cut off.
#include "IniDocument.h"
#include "Profile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

TEST(IniNames, LookupAndEditFollowOneRule) {
    // Each file holds the key twice under names that one rule must tell
    // apart: the edit has to land on the line a lookup reads.
    const struct {
        const char* text;
        const char* section;
    } cases[] = {
        {"[ Pr000 ]\nV=1\n[Pr000]\nV=2\n", " Pr000 "}, {"[ Pr000 ]\nV=1\n[Pr000]\nV=2\n", "Pr000"},
        {"[pr000]\nV=1\n[Pr000]\nV=2\n", "Pr000"},     {"[Pr13]]\nV=1\n[Pr13]\nV=2\n", "Pr13"},
        {"[Pr13]x]\nV=1\n[Pr13]\nV=2\n", "\tPr13"},
    };
    for (const auto& c : cases) {
        toolbelt::IniDocument doc = toolbelt::IniDocument::Parse(c.text);
        ASSERT_TRUE(doc.Set(c.section, "v", "7")) << c.text;
        const std::string* value = doc.Find(c.section, " V ");
        ASSERT_NE(value, nullptr) << c.text;
        EXPECT_EQ(*value, "7") << c.text;
        EXPECT_EQ(doc.FindVerbatim(c.section, "V").value_or("-"), "7") << c.text;
        EXPECT_EQ(doc.KeyNames(c.section), std::vector<std::string>{"V"}) << c.text;
    }
}

TEST(IniNames, ProfileFunctionsTrimTheSectionOnReadAsOnWrite) {
    TempDir dir;
    const std::string file = dir.Write("a.ini", "[Link]\niPort1COM=3\n");
    ASSERT_NE(WritePrivateProfileStringA(" Link ", "iPort1COM", "4", file.c_str()), 0);
    EXPECT_EQ(GetPrivateProfileIntA(" Link ", "iPort1COM", 0, file.c_str()), 4u);
    EXPECT_EQ(GetPrivateProfileIntA("Link", "iPort1COM", 0, file.c_str()), 4u);
    EXPECT_EQ(TempDir::Read(file), "[Link]\niPort1COM=4\n");
}

TEST(IniNames, VerbatimValuesAndCutOffLines) {
    const auto doc = toolbelt::IniDocument::Parse("[S]\ncmt= \"quoted\" \nk=a=b\n");
    EXPECT_EQ(doc.FindVerbatim("S", "cmt").value_or("-"), " \"quoted\" ");
    EXPECT_EQ(*doc.Find("S", "cmt"), "quoted");
    EXPECT_EQ(doc.FindVerbatim("S", "k").value_or("-"), "a=b");
    EXPECT_FALSE(doc.FindVerbatim("S", "none").has_value());
    EXPECT_EQ(doc.FirstMalformedLine(), 0u);
    EXPECT_EQ(toolbelt::IniDocument::Parse("[S]\nV=1\n[Pr0").FirstMalformedLine(), 3u);
    EXPECT_EQ(toolbelt::IniDocument::Parse("[S]\r\n\r\nV").FirstMalformedLine(), 3u);
    EXPECT_EQ(toolbelt::IniDocument::Parse("[S\nV=1\n").FirstMalformedLine(), 1u);
}
