// The texts the port dialog builds: list entries, step names, messages filled
// from language tables (also from tables whose placeholders do not match).
#include "DriveSearch.h"
#include "PortdeskTexts.h"
#include "StringResource.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(PortdeskTexts, FormatListEntries) {
    EXPECT_EQ(FormatListEntry(0), "  0:  19200, 8, N, 1");
    EXPECT_EQ(FormatListEntry(3), "[3]: 115200, 8, N, 1");
    EXPECT_EQ(FormatListEntry(5), "  5:  38400, 8, N, 2");
    EXPECT_EQ(FormatListEntry(10), " 10:  57600, 8, E, 1");
    EXPECT_EQ(FormatListEntry(12), " 12:  19200, 8, O, 1");
    EXPECT_EQ(FormatListEntry(15), " 15: 115200, 8, O, 1");
}

TEST(PortdeskTexts, EntriesAndStepNames) {
    EXPECT_EQ(PortListEntry(3), "COM 3");
    EXPECT_EQ(PortListEntry(256), "COM 256");
    EXPECT_EQ(IdListEntry(128), "ID 128");
    EXPECT_STREQ(CommStepName(0), "CS_Idle");
    EXPECT_STREQ(CommStepName(1), "CS_ReadVersion");
    EXPECT_STREQ(CommStepName(2), "CS_ReadVersion_Finish");
    EXPECT_STREQ(CommStepName(3), "");
    EXPECT_STREQ(CommStepName(4), "");
}

TEST(PortdeskTexts, SuccessMessageFromTheDefaultTexts) {
    ModuleHandle module = &kPortdeskStrings;
    CStringResource texts(&module);
    EXPECT_EQ(FillTemplate(texts.GetResString(220),
                           {texts.GetResString(213), 12, 57600, std::string("E, 1"), 128}),
              "Servo connected.\r\nCOM port: 12\r\nBuadrate:  57600, 8, E, 1\r\nID: 128");
    EXPECT_EQ(FillTemplate(texts.GetResString(217), {std::string("CS_Idle")}),
              "Now on processing CommSteps: CS_Idle");
    EXPECT_EQ(texts.GetResString(201), "On-Off");
    EXPECT_EQ(texts.GetResString(214), "Read version or model name failed.");
}

TEST(PortdeskTexts, ShippedTablesCarryEveryText) {
    const std::string appDir = VELMORA_APP_DIR_FOR_TESTS;
    for (const char* code : {"ENG", "CHT", "CHS"}) {
        ModuleHandle none = nullptr; // no fall-back: every text must come from the file
        CStringResource table(&none);
        const std::string path = appDir + "/Language/Portdesk/" + code + "/" + code + ".lng";
        ASSERT_EQ(table.ReadTableFile(path.c_str()), 1) << path;
        for (unsigned id : {200u, 201u, 202u, 203u, 204u, 205u, 207u, 208u, 209u, 210u,
                            211u, 212u, 213u, 214u, 215u, 216u, 217u, 218u, 219u, 220u})
            EXPECT_FALSE(table.GetResString(id).empty()) << code << " " << id;
        const std::string body =
            FillTemplate(table.GetResString(220), {std::string("x"), 1, 2, std::string("N,1"), 3});
        EXPECT_EQ(body.find('%'), std::string::npos) << code << ": " << body;
        EXPECT_NE(table.GetResString(217).find("%s"), std::string::npos) << code;
    }
}

TEST(PortdeskTexts, CombinationCounts) {
    EXPECT_EQ(SearchCombinations(5, 1, 4), 1);
    EXPECT_EQ(SearchCombinations(0, 1, 4), 256);
    EXPECT_EQ(SearchCombinations(5, 0, 4), 128);
    EXPECT_EQ(SearchCombinations(0, 0, 4), 32768);
    EXPECT_EQ(SearchCombinations(5, 1, 0), 16);
    EXPECT_EQ(SearchCombinations(0, 0, 0), 524288);
}

} // namespace
