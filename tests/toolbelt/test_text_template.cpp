// Message templates come from language tables that users can edit: a table
// whose placeholders do not match its arguments must never reach printf.
#include "TextTemplate.h"

#include <gtest/gtest.h>

TEST(TextTemplate, MismatchedTemplatesStaySafe) {
    EXPECT_EQ(FillTemplate("%d %s", {std::string("text"), 5}), "text 5") << "types follow order";
    EXPECT_EQ(FillTemplate("%s %s %s", {std::string("a")}), "a %s %s") << "missing arguments";
    EXPECT_EQ(FillTemplate("%n%x%p%%", {1}), "%n%x%p%") << "other conversions are text";
    EXPECT_EQ(FillTemplate("%999999999999d", {1}), "%999999999999d");
    EXPECT_EQ(FillTemplate("%5d|%-3d|", {42, 7}), "   42|%-3d|");
    EXPECT_EQ(FillTemplate("trailing %", {1}), "trailing %");
    EXPECT_EQ(FillTemplate("", {1}), "");
}
