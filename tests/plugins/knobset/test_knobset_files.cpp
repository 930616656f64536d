// Value files and CSV reports: formats byte for byte, round trips and bad input.
#include "FileSizeLimit.h"
#include "KnobsetFixture.h"
#include "ParmCsv.h"
#include "TempDir.h"
#include "ValueFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace knobset;

namespace {

// A small hand-made table: numbers with names, limits and values.
void Add(TestTable& t, int number, const char* name, int min, int max, const char* unit, int def,
         int setup, int address = 0) {
    ParmRecord r;
    r.number = number;
    r.name = name;
    r.min = min;
    r.max = max;
    r.unit = unit;
    r.defaultValue = def;
    r.setupValue = r.driveValue = setup;
    r.address = address;
    t.records.push_back(r);
    t.index[static_cast<std::size_t>(number)] = static_cast<int>(t.records.size() - 1);
}

void SmallT5(TestTable& t) {
    t.store.iModel = kModelT5;
    Add(t, 0, "Direction", 0, 1, "-", 1, 1);
    Add(t, 1, "Mode", 0, 6, "-", 0, 2);
    Add(t, 105, "Gain", 0, 30000, "0.1Hz", 480, 480);
    Add(t, 1512, "Factory", -10, 10, "-", 0, -1);
    t.identity.Set(1, "T5-400W");
    t.identity.Set(2, "t5-400w");
    t.identity.Set(3, "hq_417");
    t.identity.Set(4, "vt5a04");
    t.identity.Set(6, "4");
    t.identity.Set(7, "1.4.2");
}

void SmallT8(TestTable& t) {
    t.store.iModel = kModelT8;
    Add(t, 0, "Mode", 0, 5, "-", 0, 3, 0x00);
    Add(t, 2, "Inputs", 0, 9, "-", 1, 1, 0x02);
    Add(t, 17, "Speed", -6000, 6000, "rpm", 0, -20, 0x11);
    t.identity.Set(1, "rk 905");
    t.identity.Set(2, "rk905");
    t.identity.Set(3, "rk_905");
}

std::string Golden(const std::string& name) {
    return TempDir::Read(std::string(KNOBSET_GOLDEN_DIR) + "/" + name);
}

} // namespace

TEST(KnobsetValueFile, T5LayoutAndRoundTrip) {
    TempDir dir;
    TestTable t;
    SmallT5(t);
    t.At(1).cmt = "set by line 3";
    const std::string path = dir.File("drive.tw");
    std::string error;
    ASSERT_TRUE(SaveValueFile(t.store, path, t.identity, error)) << error;
    EXPECT_EQ(TempDir::Read(path), Golden("t5.tw"));

    TestTable back; // every value and comment: test_knobset_value_input.cpp
    SmallT5(back);
    back.At(0).cmt = "old";
    DriveIdentity id;
    ASSERT_TRUE(LoadValueFile(back.store, path, id, error)) << error;
    EXPECT_EQ(back.At(0).cmt, "") << "a value without a comment clears the old one";
    EXPECT_EQ(id.Get(2), "t5-400w");
    EXPECT_EQ(id.Get(7), "1.4.2");
}

TEST(KnobsetValueFile, T8LayoutAndUpdateInPlace) {
    TempDir dir;
    TestTable t;
    SmallT8(t);
    const std::string path =
        dir.Write("rk.tw", "; kept\n[Setup]\nOwner=line 3\n[Pr00]\nV=5\nextra=1\n");
    std::string error;
    ASSERT_TRUE(SaveValueFile(t.store, path, t.identity, error)) << error;
    EXPECT_EQ(TempDir::Read(path), Golden("t8.tw"));
}

TEST(KnobsetValueFile, MissingKeysLoadZeroAndTypeCapDecidesTheModel) {
    TempDir dir;
    TestTable t;
    SmallT5(t);
    const std::string path = dir.Write("w5.tw", "[Setup]\nTypeCap=w5-750w\n[Pr001]\nV=4\n");
    EXPECT_EQ(ReadTypeCap(path), "w5-750w");
    EXPECT_FALSE(TypeCapMatchesModel(ReadTypeCap(path), kModelT5));
    EXPECT_TRUE(TypeCapMatchesModel(ReadTypeCap(path), kModelW5));
    EXPECT_FALSE(TypeCapMatchesModel("rk905", kModelVq));
    std::string error;
    ASSERT_TRUE(LoadValueFile(t.store, path, t.identity, error));
    EXPECT_EQ(std::make_tuple(t.At(1).setupValue, t.At(0).setupValue, t.identity.Get(3)),
              std::make_tuple(4, 0, ""));
}

TEST(KnobsetValueFile, MalformedFilesChangeNothing) {
    TempDir dir;
    const std::string cases[] = {
        "[Setup]\nTypeCap=t5\n[Pr001]\nV=4\n[Pr0",  // cut off
        std::string("[Setup]\nTypeCap=t5\0\n", 21), // binary
        "[Pr001]\nV=4\n",                           // no Setup section
    };
    for (const std::string& text : cases) {
        TestTable t;
        SmallT5(t);
        const std::string path = dir.Write("bad.tw", text);
        std::string error;
        EXPECT_FALSE(LoadValueFile(t.store, path, t.identity, error));
        EXPECT_NE(error.find("bad.tw"), std::string::npos) << error;
        EXPECT_EQ(t.At(1).setupValue, 2);
        EXPECT_EQ(t.identity.Get(2), "t5-400w");
    }
    TestTable t;
    SmallT5(t);
    std::string error;
    EXPECT_FALSE(LoadValueFile(t.store, dir.File("missing.tw"), t.identity, error));
}

// A full disk, a folder in the way, an old file the next load
// would refuse, a table the model's layout cannot hold: the save fails with a
// message and whatever was there stays.
TEST(KnobsetValueFile, SavesThatCannotCompleteLeaveWhatWasThere) {
    TempDir dir;
    TestTable t5(kModelT5), t8(kModelT8);
    std::string error;
    auto refused = [&](TestTable& t, const std::string& path, const std::string& old) {
        error.clear();
        return !SaveValueFile(t.store, path, t.identity, error) && !error.empty() &&
               TempDir::Read(path) == old;
    };
    const std::string kept = dir.Write("keep.tw", "[Setup]\nTypeCap=t5\n");
    {
        FileSizeLimit full(16);
        EXPECT_TRUE(refused(t5, kept, "[Setup]\nTypeCap=t5\n"));
    }
    EXPECT_NE(error.find("Cannot write file"), std::string::npos);
    dir.Write("folder.tw/inside", "x");
    EXPECT_TRUE(refused(t5, dir.File("folder.tw"), ""));
    EXPECT_EQ(TempDir::Read(dir.File("folder.tw/inside")), "x");
    for (const std::string& old :
         {std::string("[Setup]\nTypeCap=t5\nnote\n"), std::string("[Setup]\nx=\0\n", 12)})
        EXPECT_TRUE(refused(t5, dir.Write("old.tw", old), old)) << old;
    t8.index[500] = 3; // a number no T8 value file has
    EXPECT_TRUE(refused(t8, dir.File("t8.tw"), ""));
    EXPECT_NE(error.find("Pr500"), std::string::npos) << error;
    t5.store.iModel = kModelVq; // no value file layout at all
    EXPECT_TRUE(refused(t5, dir.File("vq.tw"), ""));
    EXPECT_FALSE(std::filesystem::exists(dir.File("t8.tw")) ||
                 std::filesystem::exists(dir.File("vq.tw")));
    EXPECT_FALSE(WriteCsv("/proc/velmora/x.csv", "a", error));
    EXPECT_EQ(error, "Cannot create file: /proc/velmora/x.csv");
}

TEST(KnobsetCsv, PageExportGoldenFiles) {
    TestTable t5;
    SmallT5(t5);
    EXPECT_EQ(PageCsv(t5.store, "page.csv", &t5.identity, Column::kAllPage, false),
              Golden("page_t5.csv"));
    EXPECT_EQ(PageCsv(t5.store, "page.csv", &t5.identity, Column::kAllPage, true),
              Golden("page_t5_modified.csv"));
    TestTable t8;
    SmallT8(t8);
    EXPECT_EQ(PageCsv(t8.store, "rk.csv", &t8.identity, Column::kAllPage & ~Column::kNumber, false),
              Golden("page_t8_no_number.csv"));
    // Modified only, with nothing modified: title, header and info stay.
    for (auto& r : t5.records)
        r.setupValue = r.defaultValue;
    EXPECT_EQ(PageCsv(t5.store, "x.csv", &t5.identity, Column::kNumber | Column::kSetup, true),
              "x.csv,\nPr No.,Setup value\n[Info]\n"
              "TypeCap=t5-400w#DrvVer1=hq_417#DrvVer2=vt5a04#MID=4#EncVer=1.4.2");
    EXPECT_EQ(PageCsv(t5.store, "x.csv", nullptr, Column::kName, true), "x.csv,\n,Name\n");
}

TEST(KnobsetCsv, ComparisonGoldenFiles) {
    TestTable a, b;
    SmallT5(a);
    SmallT5(b);
    b.At(1).setupValue = 5;
    b.At(1512).setupValue = 3;
    b.identity.Set(7, "1.4.3");
    EXPECT_EQ(CompareCsv(a.store, a.identity, "a.tw", b.store, b.identity, "b.tw", "diff.csv",
                         Column::kAllCompare),
              Golden("compare_t5.csv"));
    TestTable c, d;
    SmallT8(c);
    SmallT8(d);
    d.At(17).setupValue = 100;
    EXPECT_EQ(CompareCsv(c.store, c.identity, "c.tw", d.store, d.identity, "d.tw", "diff.csv",
                         Column::kNumber | Column::kName),
              Golden("compare_t8.csv"));
    // A file compared with itself has no parameter lines.
    const std::string same = CompareCsv(a.store, a.identity, "a.tw", a.store, a.identity, "a.tw",
                                        "s.csv", Column::kAllCompare);
    EXPECT_EQ(same.find("Pr0"), std::string::npos);
}

struct FieldCase {
    const char* name;
    const char* unit;
    const char* title;
    const char* expected;
};

// CSV fields that hold commas, quotes or line breaks stay one column each.
TEST(KnobsetCsvFields, TextFieldsAreQuotedWhenTheyWouldSplitAColumn) {
    const FieldCase cases[] = {
        {"Limit, forward", "0.1%", "a.csv",
         "a.csv,\nPr No.,Name,Unit,Setup value\nPr128,\"Limit, forward\",0.1%,2\n\n"},
        {"Gain \"B\"", "Hz", "a.csv",
         "a.csv,\nPr No.,Name,Unit,Setup value\nPr128,\"Gain \"\"B\"\"\",Hz,2\n\n"},
        {"Two\nlines", "x,y", "my,file.csv",
         "\"my,file.csv\",\nPr No.,Name,Unit,Setup value\nPr128,\"Two\nlines\",\"x,y\",2\n\n"},
    };
    for (const FieldCase& c : cases) {
        TestTable t;
        Add(t, 128, c.name, 0, 9, c.unit, 0, 2);
        EXPECT_EQ(PageCsv(t.store, c.title, nullptr,
                          Column::kNumber | Column::kName | Column::kUnit | Column::kSetup, false),
                  c.expected)
            << c.name;
    }
}

TEST(KnobsetCsvFields, ComparisonQuotesNamesAndFileNames) {
    TestTable a, b;
    Add(a, 128, "Limit, forward", 0, 9, "-", 0, 2);
    Add(b, 128, "Limit, forward", 0, 9, "-", 0, 7);
    const std::string text = CompareCsv(a.store, a.identity, "one,tw", b.store, b.identity, "b.tw",
                                        "d.csv", Column::kNumber | Column::kName);
    EXPECT_NE(text.find("File name1,\"one,tw\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Pr128,\"Limit, forward\",2,7\n"), std::string::npos) << text;
}
