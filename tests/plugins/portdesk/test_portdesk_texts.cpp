// The texts the port dialog builds: list entries and messages filled from
// language tables, and how many combinations a search counts.
#include "DriveSearch.h"
#include "PortdeskTexts.h"
#include "StringResource.h"

#include <gtest/gtest.h>

namespace {

TEST(PortdeskTexts, FormatListEntriesMarkTheDefaultFormat) {
    const std::pair<int, const char*> rows[] = {
        {0, "  0:  19200, 8, N, 1"},  {3, "[3]: 115200, 8, N, 1"},  {5, "  5:  38400, 8, N, 2"},
        {10, " 10:  57600, 8, E, 1"}, {12, " 12:  19200, 8, O, 1"}, {15, " 15: 115200, 8, O, 1"}};
    for (const auto& [format, text] : rows)
        EXPECT_EQ(FormatListEntry(format), text);
}

TEST(PortdeskTexts, MessagesFilledFromTheDefaultAndTheShippedTables) {
    ModuleHandle module = &kPortdeskStrings;
    CStringResource texts(&module);
    EXPECT_EQ(FillTemplate(texts.GetResString(220),
                           {texts.GetResString(213), 12, 57600, std::string("E, 1"), 128}),
              "Servo connected.\r\nCOM port: 12\r\nBuadrate:  57600, 8, E, 1\r\nID: 128");
    EXPECT_EQ(FillTemplate(texts.GetResString(217), {std::string("CS_Idle")}),
              "Now on processing CommSteps: CS_Idle");
    for (const char* code : {"ENG", "CHT", "CHS"}) {
        ModuleHandle none = nullptr; // no fall-back: every text must come from the file
        CStringResource table(&none);
        const std::string path = std::string(VELMORA_APP_DIR_FOR_TESTS) + "/Language/Portdesk/" +
                                 code + "/" + code + ".lng";
        ASSERT_EQ(table.ReadTableFile(path.c_str()), 1) << path;
        for (unsigned id = 200; id <= PortdeskString::kPermissionHelp; ++id)
            EXPECT_TRUE(id == 206 || !table.GetResString(id).empty()) << code << " " << id;
        const std::string body =
            FillTemplate(table.GetResString(220), {std::string("x"), 1, 2, std::string("N,1"), 3});
        EXPECT_EQ(body.find('%'), std::string::npos) << code << ": " << body;
        // The permission help names the refused device and the fix.
        const std::string help = FillTemplate(table.GetResString(PortdeskString::kPermissionHelp),
                                              {std::string("/dev/ttyUSB7")});
        EXPECT_NE(help.find("/dev/ttyUSB7"), std::string::npos) << code << ": " << help;
        EXPECT_NE(help.find("sudo usermod -aG dialout $USER"), std::string::npos) << code;
    }
}

TEST(PortdeskTexts, CombinationCounts) {
    const int rows[][4] = {{5, 1, 4, 1},     {0, 1, 4, 256}, {5, 0, 4, 128},
                           {0, 0, 4, 32768}, {5, 1, 0, 16},  {0, 0, 0, 524288}};
    for (const auto& r : rows)
        EXPECT_EQ(SearchCombinations(r[0], r[1], r[2]), r[3]) << r[0] << " " << r[1] << " " << r[2];
}

} // namespace
