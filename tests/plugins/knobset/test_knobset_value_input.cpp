// Value files that are not what the editor last wrote: other models' layouts,
// long and legacy-encoded texts, names spelt differently, and saves that must
// load back as saved.
#include "KnobsetFixture.h"
#include "LegacyText.h"
#include "SectionFile.h"
#include "TempDir.h"
#include "ValueFile.h"
#include "ValueFileText.h"

#include <array>
#include <gtest/gtest.h>

using namespace knobset;

namespace {

// Gives every indexed parameter a value of its own and a comment.
void Number(TestTable& t) {
    for (auto& r : t.records) {
        r.setupValue = r.driveValue = 1000 + r.number;
        r.cmt = "c" + std::to_string(r.number);
    }
}

// Every indexed record's value and comment, as text, to compare tables.
std::string Values(TestTable& t) {
    std::string out;
    for (int n = 0; n < ParmStore::kIndexSize; ++n) {
        if (const ParmRecord* r = FindRecord(t.store, n))
            out += std::to_string(n) + "=" + std::to_string(r->setupValue) + "/" + r->cmt + "\n";
    }
    return out;
}

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

} // namespace

TEST(KnobsetValueInput, EveryValueOfEachModelSurvivesSaveAndLoad) {
    for (int model : {kModelT5, kModelW5, kModelT8}) {
        TempDir dir;
        TestTable t(model);
        Number(t);
        t.identity.Set(1, model == kModelT8 ? "t5 2.1" : "rk 905"); // left from another drive
        std::string error;
        ASSERT_TRUE(SaveValueFile(t.store, dir.File("a.tw"), t.identity, error)) << error;
        TestTable back(model);
        ASSERT_TRUE(LoadValueFile(back.store, dir.File("a.tw"), back.identity, error)) << error;
        EXPECT_EQ(Values(back), Values(t)) << model;
    }
}

TEST(KnobsetValueInput, OfflineIdentityForgetsTheEarlierDrive) {
    DriveIdentity id;
    for (int e = 0; e < DriveIdentity::kTexts; ++e)
        id.Set(e, "rk 905");
    StartOfflineIdentity(id, kModelT5);
    EXPECT_EQ((std::array{id.Get(1), id.Get(2), id.Get(3), id.Get(7)}),
              (std::array<std::string, 4>{"", "t5", "hq_417", ""}));
}

TEST(KnobsetValueInput, LongTextsAreCutAtCharactersAndStillLoad) {
    TempDir dir;
    const std::string han = "\xE5\x8F\x83"; // three UTF-8 bytes
    const std::string path = dir.Write(
        "long.tw", "[Setup]\nTypeCap=t5" + Repeat(han, 300) + "\nDrvVer1=" + Repeat("x", 1500) +
                       "\n[Pr001]\nV=4" + std::string(1200, ' ') + "\ncmt=" + Repeat(han, 400) +
                       "\n[Pr105]\ncmt=" + Repeat("a", 2000) + "\n");
    TestTable t(kModelT5);
    std::string error;
    ASSERT_TRUE(LoadValueFile(t.store, path, t.identity, error)) << error;
    EXPECT_EQ(t.At(1).setupValue, 4);
    EXPECT_EQ(t.At(1).cmt, Repeat(han, kMaxCommentChars));
    EXPECT_EQ(t.At(105).cmt, Repeat("a", kMaxCommentChars));
    EXPECT_EQ(t.identity.Get(2), "t5" + Repeat(han, 253));
    EXPECT_EQ(t.identity.Get(3), Repeat("x", 255));
    // What the dialog accepts (255 characters) saves and loads unchanged.
    t.At(0).cmt = Repeat(han, kMaxCommentChars);
    ASSERT_TRUE(SaveValueFile(t.store, path, t.identity, error)) << error;
    TestTable back(kModelT5);
    ASSERT_TRUE(LoadValueFile(back.store, path, back.identity, error)) << error;
    EXPECT_EQ(Values(back), Values(t));
    EXPECT_EQ(back.identity.Get(2), t.identity.Get(2));
}

TEST(KnobsetValueInput, LegacyCodePagesDecodeByLanguage) {
    const struct {
        int language;
        const char* bytes;
        const char* text;
    } cases[] = {
        {kLanguageTraditional, "\xA4\xA4\xA4\xE5\xB0\xD1\xBC\xC6", "中文參數"}, // Big5
        {kLanguageSimplified, "\xD6\xD0\xCE\xC4\xB2\xCE\xCA\xFD", "中文参数"},  // GBK
        {kLanguageEnglish, "Caf\xE9 \x80", "Café €"},                           // Windows-1252
        {kLanguageEnglish, "\x81", "\xEF\xBF\xBD"},                             // undefined byte
        {kLanguageTraditional, "ok\xA4", "ok"}, // cut in a character
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path =
            dir.Write("old.tw", std::string("[Setup]\r\nTypeCap=t5\r\nMID=") + c.bytes +
                                    "\r\n[Pr001]\r\nV=7\r\ncmt=" + c.bytes + "\r\n");
        TestTable t(kModelT5);
        std::string error;
        ASSERT_TRUE(LoadValueFile(t.store, path, t.identity, error, c.language)) << error;
        EXPECT_EQ(t.At(1).setupValue, 7);
        EXPECT_EQ(t.At(1).cmt, c.text) << c.bytes;
        EXPECT_EQ(t.identity.Get(6), c.text);
        // The next save writes UTF-8 and loads back the same in any language.
        ASSERT_TRUE(SaveValueFile(t.store, path, t.identity, error, c.language)) << error;
        EXPECT_TRUE(IsValidUtf8(TempDir::Read(path)));
        TestTable back(kModelT5);
        ASSERT_TRUE(LoadValueFile(back.store, path, back.identity, error, kLanguageEnglish));
        EXPECT_EQ(back.At(1).cmt, c.text);
    }
}

// Sections named twice or with blanks and brackets around them: the reader's
// own rule (IniNames.LookupAndEditFollowOneRule); here keys in other cases.
TEST(KnobsetValueInput, SaveUpdatesTheLinesTheLoadReads) {
    const char* files[] = {
        "[Setup]\nTypeCap=t5\n[Pr000]\nv=1\n[Pr013]\nV=1\n",
        "[setup]\ntypecap = t5\n[PR000]\n V = 1 \n[Pr013]\nCMT=x\n",
    };
    for (const char* file : files) {
        TempDir dir;
        const std::string path = dir.Write("old.tw", file);
        TestTable t(kModelT5);
        Number(t);
        std::string error;
        ASSERT_TRUE(SaveValueFile(t.store, path, t.identity, error)) << error;
        TestTable back(kModelT5);
        ASSERT_TRUE(LoadValueFile(back.store, path, back.identity, error)) << error;
        EXPECT_EQ(Values(back), Values(t)) << file;
    }
}

TEST(KnobsetValueInput, LoadingASmallerTableForgetsTheLargerOnesNumbers) {
    TestTable t(kModelT5);
    ASSERT_NE(FindRecord(t.store, 500), nullptr);
    t.store.iModel = kModelT8;
    ASSERT_TRUE(LoadParmTable(t.store, kModelT8, ".", "rk_905", "rk").ok());
    for (int n = kT8Count; n < ParmStore::kIndexSize; ++n)
        ASSERT_EQ(FindRecord(t.store, n), nullptr) << n;
}
