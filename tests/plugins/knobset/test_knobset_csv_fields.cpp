// CSV fields that hold commas, quotes or line breaks stay one column each.
#include "KnobsetFixture.h"
#include "ParmCsv.h"

#include <gtest/gtest.h>

using namespace knobset;

namespace {

void OneRecord(TestTable& t, const std::string& name, const std::string& unit) {
    t.store.iModel = kModelT5;
    ParmRecord r;
    r.number = 128;
    r.name = name;
    r.unit = unit;
    r.max = 9;
    r.setupValue = r.driveValue = 2;
    t.records.push_back(r);
    t.index[128] = 0;
}

struct FieldCase {
    const char* name;
    const char* unit;
    const char* title;
    const char* expected;
};

TEST(KnobsetCsvFields, TextFieldsAreQuotedWhenTheyWouldSplitAColumn) {
    const FieldCase cases[] = {
        {"Speed", "rpm", "a.csv", "a.csv,\nPr No.,Name,Unit,Setup value\nPr128,Speed,rpm,2\n\n"},
        {"Limit, forward", "0.1%", "a.csv",
         "a.csv,\nPr No.,Name,Unit,Setup value\nPr128,\"Limit, forward\",0.1%,2\n\n"},
        {"Gain \"B\"", "Hz", "a.csv",
         "a.csv,\nPr No.,Name,Unit,Setup value\nPr128,\"Gain \"\"B\"\"\",Hz,2\n\n"},
        {"Two\nlines", "x,y", "my,file.csv",
         "\"my,file.csv\",\nPr No.,Name,Unit,Setup value\nPr128,\"Two\nlines\",\"x,y\",2\n\n"},
    };
    for (const FieldCase& c : cases) {
        TestTable t;
        OneRecord(t, c.name, c.unit);
        EXPECT_EQ(PageCsv(t.store, c.title, nullptr,
                          Column::kNumber | Column::kName | Column::kUnit | Column::kSetup, false),
                  c.expected)
            << c.name;
    }
}

TEST(KnobsetCsvFields, ComparisonQuotesNamesAndFileNames) {
    TestTable a, b;
    OneRecord(a, "Limit, forward", "-");
    OneRecord(b, "Limit, forward", "-");
    b.records[0].setupValue = 7;
    const std::string text = CompareCsv(a.store, a.identity, "one,tw", b.store, b.identity, "b.tw",
                                        "d.csv", Column::kNumber | Column::kName);
    EXPECT_NE(text.find("File name1,\"one,tw\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Pr128,\"Limit, forward\",2,7\n"), std::string::npos) << text;
}

} // namespace
