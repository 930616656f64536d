// The find field's rule, and names and option texts that follow the language.
#include "KnobsetFixture.h"
#include "ParmFilter.h"
#include "ProductFiles.h"

#include <gtest/gtest.h>

using namespace knobset;

namespace {

TEST(KnobsetFind, NumberOrNamePartSelectsARecord) {
    ParmRecord r;
    r.number = 104;
    r.name = "Speed limit, forward";
    r.address = 0x1a;
    struct Case {
        int model;
        const char* query;
        bool selected;
    };
    const Case cases[] = {
        {kModelT5, "", true},        {kModelT5, "Pr", true},        {kModelT5, "104", true},
        {kModelT5, "Pr 104", true},  {kModelT5, "pr1.04", true},    {kModelT5, "10", true},
        {kModelT5, "105", false},    {kModelT5, "SPEED lim", true}, {kModelT5, "limit, f", true},
        {kModelT5, "torque", false}, {kModelT8, "0x1a", true},      {kModelT8, "1A", true},
        {kModelT8, "104", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesFilter(r, c.model, c.query), c.selected) << c.query;
}

TEST(KnobsetFind, NamesAndOptionTextsFollowTheLanguage) {
    TestTable t(kModelT5);
    const std::pair<int, const char*> cases[] = {{kLanguageSimplified, "0: 逆时针为正转"},
                                                 {kLanguageEnglish, "0: CCW is positive"},
                                                 {kLanguageTraditional, "0: 逆時針為正轉"}};
    std::string error;
    for (const auto& [language, item0] : cases) {
        ASSERT_TRUE(
            ReloadNames(t.store, kModelT5, LanguageDescriptionPath(".", kModelT5, language), error))
            << error;
        EXPECT_EQ(t.At(0).items[0], item0) << language;
    }
    EXPECT_EQ(LanguageDescriptionPath(".", kModelT5, 1234), "");
    EXPECT_FALSE(ReloadNames(t.store, kModelT5, "./nowhere.dsc", error));
}

} // namespace
