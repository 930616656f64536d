// The table loader and the editor's own section reader.
#include "KnobsetFixture.h"
#include "ProductFiles.h"
#include "SectionFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace knobset;

namespace {

// A product-data folder with one definition and one load-time description file.
struct DataDir {
    TempDir dir;
    void Put(const std::string& tableId, const std::string& par, const std::string& dsc) {
        dir.Write(tableId + ".par", par);
        dir.Write("Language/Knobset/CHT/" + tableId + "CHT.dsc", dsc);
    }
    std::string Path() const { return dir.Path().string(); }
};

} // namespace

TEST(KnobsetSectionFile, KeysAndSectionsAreCaseSensitiveAndValuesKeepBlanks) {
    SectionFile f;
    std::string error;
    ASSERT_TRUE(f.Parse("; comment\n[Pr000]\n min = 5\nMax=7\nunit= mm\n[Pr000]\nmin=9\n"
                        "  [Pr001]  \r\nmin=abc\nmax=  -12xyz\n",
                        "t.par", error))
        << error;
    bool found = true;
    EXPECT_EQ(f.Int("Pr000", "min", -1, &found), 5);
    EXPECT_TRUE(found);
    EXPECT_EQ(f.Int("Pr000", "max", -1, &found), -1); // "Max" differs in case
    EXPECT_FALSE(found);
    EXPECT_EQ(f.Text("Pr000", "unit", "-"), " mm");
    EXPECT_FALSE(f.HasSection("pr000"));
    EXPECT_EQ(f.Int("Pr001", "min", 3), 0);   // not a number reads as 0
    EXPECT_EQ(f.Int("Pr001", "max", 3), -12); // trailing text ignored
}

TEST(KnobsetSectionFile, MalformedInputIsRefusedWithFileAndLine) {
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"[Pr000]\nmin=1\nma", "t.par, line 3"},           // cut off mid-line
        {"[Pr000\nmin=1\n", "broken section header"},      // broken header
        {std::string("[Pr000]\nmin=1\0\n", 15), "binary"}, // NUL bytes
        {"[Pr000]\nname=\xff\xfe\n", "not UTF-8"},         // wrong encoding
        {"[Pr000]\nname=" + std::string(1100, 'x') + "\n", "longer than 1024"},
    };
    for (const auto& c : cases) {
        SectionFile f;
        std::string error;
        ASSERT_TRUE(f.Parse("[Keep]\nk=1\n", "t.par", error));
        EXPECT_FALSE(f.Parse(c.text, "t.par", error)) << c.message;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(f.Int("Keep", "k", 0), 1) << "a refused file leaves the reader as it was";
    }
}

TEST(KnobsetLoader, OfflineTableIdsFindFilesIgnoringCase) {
    TestTable t;
    t.store.iModel = kModelT5;
    EXPECT_TRUE(LoadParmTable(t.store, kModelT5, ".", "hQ_417", "t5").ok());
    EXPECT_EQ(t.records.size(), 310u);
    TestTable w;
    w.store.iModel = kModelW5;
    EXPECT_TRUE(LoadParmTable(w.store, kModelW5, ".", "WhQ_417", "w5").ok());
}

TEST(KnobsetLoader, GroupsIndexAndFamilyKeys) {
    DataDir d;
    d.Put("tab",
          "[Pr000]\nmin=1\nmax=9\nunit=r/min\nunit1=mm/s\nE=2\nE1=3\n"
          "[Pr1599]\nmax=4\nreboot=1\n[Pr700]\nmin=1\n[Pr105]\nmode=3\nunit=kg\n[Pr106]\nfoo=1\n",
          "[Pr000]\nname=Zero\nname1=Linear zero\nitem0=a\nitem1=b\n[Pr105]\nname=Five\n");
    TestTable t5;
    ASSERT_TRUE(LoadParmTable(t5.store, kModelT5, d.Path(), "tab", "t5").ok());
    ASSERT_EQ(t5.records.size(), 3u); // 700 is never looked up, 106 has no known key
    EXPECT_EQ(std::tie(t5.index[0], t5.index[105], t5.index[1599], t5.index[700]),
              std::make_tuple(0, 1, 2, -1));
    const ParmRecord &zero = t5.At(0), &five = t5.At(105), &last = t5.At(1599);
    // T5 ignores unit1; a parameter without a mode has 127.
    EXPECT_EQ(std::tie(zero.unit, zero.exponent, zero.name, zero.items[1], zero.mode),
              std::make_tuple("r/min", 2, "Zero", "b", 127));
    EXPECT_EQ(std::tie(five.items[0], five.mode, last.attributes, last.name),
              std::make_tuple("", 3, Attr::kReboot, "-"));

    TestTable w5;
    ASSERT_TRUE(LoadParmTable(w5.store, kModelW5, d.Path(), "tab", "w5").ok());
    // Pr105 falls back to "unit".
    EXPECT_EQ(
        std::tie(w5.At(0).unit, w5.At(105).unit, w5.At(0).exponent, w5.At(0).name, w5.At(105).name),
        std::make_tuple("mm/s", "kg", 3, "Linear zero", "Five"));
}

TEST(KnobsetLoader, T8ReservedByDefaultAndOnlyForRkTag) {
    DataDir d;
    d.Put("rk", "[Pr000]\nAddress=0\nmin=0\nmax=5\n[Pr002]\nAddress=2\nreserved=0\nDio=1\n",
          "[Pr000]\nname=A\n");
    TestTable t8;
    ASSERT_TRUE(LoadParmTable(t8.store, kModelT8, d.Path(), "rk", "rk905").ok());
    EXPECT_EQ(t8.At(0).attributes, Attr::kReserved);
    EXPECT_EQ(t8.At(2).attributes, Attr::kDio);

    TestTable other;
    const LoadResult r = LoadParmTable(other.store, kModelT8, d.Path(), "rk", "t5");
    EXPECT_EQ(r.status, LoadResult::kMissingFile);
    EXPECT_EQ(r.path, "");
}

TEST(KnobsetLoader, MissingOrBadFilesLeaveTheTableAsItWas) {
    TestTable t(kModelT5);
    const auto before = t.records.size();
    DataDir d;
    d.Put("bad", "[Pr000]\nmin=1\nma", "[Pr000]\nname=x\n");
    d.dir.Write("nodsc.par", "[Pr000]\nmin=1\n");
    d.Put("empty", "; nothing\n", "");

    LoadResult r = LoadParmTable(t.store, kModelT5, d.Path(), "gone", "t5");
    EXPECT_EQ(r.status, LoadResult::kMissingFile);
    EXPECT_EQ(r.path, d.Path() + "/gone.par");
    r = LoadParmTable(t.store, kModelT5, d.Path(), "nodsc", "t5");
    EXPECT_EQ(r.status, LoadResult::kMissingFile);
    EXPECT_EQ(r.path, d.Path() + "/Language/Knobset/CHT/nodscCHT.dsc");
    r = LoadParmTable(t.store, kModelT5, d.Path(), "bad", "t5");
    EXPECT_EQ(r.status, LoadResult::kBadFile);
    EXPECT_NE(r.error.find("bad.par, line 3"), std::string::npos) << r.error;
    r = LoadParmTable(t.store, kModelT5, d.Path(), "empty", "t5");
    EXPECT_EQ(r.status, LoadResult::kBadFile);
    EXPECT_EQ(t.records.size(), before);
    EXPECT_EQ(t.index[0], 0);
    EXPECT_EQ(LoadParmTable(t.store, kModelVq, d.Path(), "bad", "vq").status, LoadResult::kNoTable);
    EXPECT_EQ(MissingFileMessage("Unsupported StdFile, version: ", "Path: ", "gone", "/x/gone.par"),
              "Unsupported StdFile, version: gone\r\nPath: /x/gone.par");
}

TEST(KnobsetTable, RegisterMapAndNumberTexts) {
    ParmRecord r;
    r.number = 1005;
    EXPECT_EQ(RegisterAddress(r, kModelT5), 256 * 10 + 10);
    EXPECT_EQ(ListNumberText(r, kModelT5), "Pr A05");
    r.number = 1512;
    EXPECT_EQ(ListNumberText(r, kModelW5), "Pr F12");
    EXPECT_EQ(RegisterAddress(r, kModelW5), 256 * 15 + 24);
    r.address = 0x4b1;
    EXPECT_EQ(RegisterAddress(r, kModelT8), 0x4b1);
    r.address = 7;
    EXPECT_EQ(ListNumberText(r, kModelT8), "0x07");
    EXPECT_EQ(DialogNumberText(r, kModelT8), "0x007");
    EXPECT_EQ(SectionName(5), "Pr005");
    EXPECT_EQ(SectionName(1512), "Pr1512");
}
