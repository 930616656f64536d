// The menu-enable rules every plug-in applies when its window opens or closes
// (the frame applying them to the shared context: test_frame.cpp).
#include "SharedContext.h"

#include <gtest/gtest.h>

namespace {

using namespace MenuEnableFlags;

constexpr int kAllClosed = 0x3F5; // every tool closed, Connect enabled

struct OpenCase {
    const char* what;
    int before;
    int ownBit;
    int after;
};

TEST(MenuRules, OpeningAWindowClearsItsBitAndGreysConnect) {
    const OpenCase cases[] = {
        {"Knobset opens", kAllClosed, kKnobset, kAllClosed & ~kKnobset & ~kConnect},
        {"Portdesk opens", kAllClosed, kConnect, kAllClosed & ~kConnect},
        {"a second tool opens", 0x3F4 & ~kKnobset, kTracelens, 0x3F4 & ~kKnobset & ~kTracelens},
        {"request bit untouched", kAllClosed | kOpenEditor, kGainwise,
         (kAllClosed | kOpenEditor) & ~kGainwise & ~kConnect},
    };
    for (const OpenCase& c : cases)
        EXPECT_EQ(AfterOpen(c.before, c.ownBit), c.after) << c.what;
}

struct CloseCase {
    const char* what;
    int before;
    int ownBit;
    int online;
    int model;
    int after;
};

TEST(MenuRules, ClosingAToolFollowsTheOtherToolsModelAndLine) {
    const int lastOpen = kAllClosed & ~kConnect & ~kKnobset;
    const int linearOff = kAllClosed & ~kConnect & ~kKnobset & ~kLinearTools;
    const int twoOpen = (kAllClosed & ~kConnect) & ~kKnobset & ~kMonitor;
    const int onlyJogOpen = (kAllClosed & ~kConnect) & ~kProgramJog;
    const CloseCase cases[] = {
        {"T5 on-line", lastOpen, kKnobset, 1, kModelT5, kAllClosed},
        {"W5 with linear tools", lastOpen, kKnobset, 1, kModelW5, kAllClosed},
        {"W5 without linear tools", linearOff, kKnobset, 1, kModelW5, linearOff | kKnobset},
        {"W5 with one linear tool", linearOff | kGlidebay, kKnobset, 1, kModelW5,
         linearOff | kGlidebay | kKnobset},
        {"vq model leaves Connect", lastOpen, kKnobset, 1, kModelVq, lastOpen | kKnobset},
        {"vq model keeps a set Connect", lastOpen | kConnect, kKnobset, 1, kModelVq, kAllClosed},
        {"W5 off-line without linear tools", linearOff, kKnobset, 0, kModelW5,
         linearOff | kKnobset | kConnect},
        {"another tool open", twoOpen | kConnect, kKnobset, 1, kModelT5, twoOpen | kKnobset},
        // Tools without a delivered plug-in do not hold Connect back.
        {"only a jog tool open", onlyJogOpen & ~kKnobset, kKnobset, 1, kModelT5,
         onlyJogOpen | kConnect},
    };
    for (const CloseCase& c : cases)
        EXPECT_EQ(AfterClose(c.before, c.ownBit, c.online, c.model), c.after) << c.what;
}

// Paths of real tables: MainFrameTest.ShippedTablesCoverEveryMenuText.
TEST(LanguagePaths, UnknownLanguagesHaveNoTable) {
    EXPECT_EQ(LanguageTablePath("/app", "Velmora", 0), "/app/Language/Velmora/");
    EXPECT_EQ(LanguageCode(999), nullptr);
}

} // namespace
