#include "FileSizeLimit.h"
#include "Profile.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

std::string Get(const std::string& file, const char* section, const char* key,
                const char* def = "def") {
    char buf[256];
    GetPrivateProfileStringA(section, key, def, buf, sizeof buf, file.c_str());
    return buf;
}

int GetInt(const std::string& file, const char* section, const char* key, int def) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, def, file.c_str()));
}

TEST(ProfileRead, LookupsDefaultsNamesAndEncodings) {
    TempDir dir;
    EXPECT_EQ(Get(dir.File("none.ini"), "A", "k"), "def");
    const std::string plain = dir.Write("plain.ini", "[A]\nk=1\nempty=\n");
    EXPECT_EQ(Get(plain, "A", "other", nullptr), "");
    EXPECT_EQ(Get(plain, "A", "missing", "trailing  "), "trailing");

    std::string garbage;
    for (int i = 0; i < 100000; ++i)
        garbage += static_cast<char>((i * 7919) & 0xFF);
    const std::string names = "; comment\n[ComPortSetup]\n  iPort1COM =  7  \n"
                              "q=\"quoted value\"\nhalf=\"open\n[Other]\nk=x\n";
    const struct {
        std::string text;
        const char *section, *key, *expected;
    } cases[] = {
        {"[A]\nk=1\n", "B", "k", "def"},
        {"[A]\nk=1\n", "A", "other", "def"},
        {names, "comportsetup", "IPORT1COM", "7"},
        {names, "COMPORTSETUP", "q", "quoted value"},
        {names, "ComPortSetup", "half", "\"open"},
        {names, "other", "K", "x"},
        {"\xEF\xBB\xBF[Lang]\r\nname=繁體中文\r\nid=1\r\n", "Lang", "name", "繁體中文"},
        {garbage, "S", "k", "def"},
        {"[S\nk=1", "S", "k", "1"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(Get(dir.Write("a.ini", cases[i].text), cases[i].section, cases[i].key),
                  cases[i].expected)
            << "case " << i;
}

TEST(ProfileRead, IntegersParseLikeThePlatform) {
    TempDir dir;
    EXPECT_EQ(GetInt(dir.File("none.ini"), "S", "k", 42), 42);
    const std::pair<const char*, int> cases[] = {
        {"-5", -5}, {"0x1F", 31}, {"12abc", 12},     {"abc", 0},
        {"+3", 3},  {"", 9},      {"4294967297", 1}, // wraps modulo 2^32, no overflow trap
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(GetInt(dir.Write("a.ini", std::string("[S]\nk=") + text + "\n"), "S", "k", 9),
                  expected)
            << text;
}

TEST(ProfileRead, ShortBufferTruncatesAndListsAreDoubleTerminated) {
    TempDir dir;
    std::string file = dir.Write("a.ini", "[S1]\nalpha=abcdefgh\nbeta=2\n[S2]\n");
    char buf[5];
    EXPECT_EQ(GetPrivateProfileStringA("S1", "alpha", "", buf, sizeof buf, file.c_str()), 4u);
    EXPECT_STREQ(buf, "abcd");

    char list[64];
    unsigned long n = GetPrivateProfileStringA("S1", nullptr, "", list, sizeof list, file.c_str());
    EXPECT_EQ(std::string(list, n), std::string("alpha\0beta\0", 11));
    EXPECT_EQ(list[n], '\0');
    n = GetPrivateProfileStringA(nullptr, nullptr, "", list, sizeof list, file.c_str());
    EXPECT_EQ(std::string(list, n), std::string("S1\0S2\0", 6));

    char tiny[6];
    n = GetPrivateProfileStringA("S1", nullptr, "", tiny, sizeof tiny, file.c_str());
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(tiny[4], '\0');
    EXPECT_EQ(tiny[5], '\0');
}

TEST(ProfileRead, HugeLinesAreCutAndKeptOnWrite) {
    TempDir dir;
    std::string huge = "[S]\nbig=" + std::string(10 << 20, 'x') + "\nafter=1\n";
    const std::string file = dir.Write("huge.ini", huge);
    EXPECT_EQ(GetInt(file, "S", "after", 0), 1);
    EXPECT_EQ(Get(file, "S", "big").size(), 255u);
    ASSERT_TRUE(WritePrivateProfileStringA("S", "after", "2", file.c_str()));
    EXPECT_EQ(TempDir::Read(file), "[S]\nbig=" + std::string(10 << 20, 'x') + "\nafter=2\n");
}

TEST(ProfileWrite, UpdatesInPlaceKeepingEverythingElse) {
    TempDir dir;
    std::string file = dir.Write("a.ini", "; top comment\n[A]\nx=1\n; inner\ny=2\n\n[B]\nz=3\n");
    ASSERT_TRUE(WritePrivateProfileStringA("a", "Y", "20", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("A", "w", "new", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("C", "k", "v", file.c_str()));
    EXPECT_EQ(TempDir::Read(file),
              "; top comment\n[A]\nx=1\n; inner\ny=20\nw=new\n\n[B]\nz=3\n[C]\nk=v\n");

    const std::string crlf = dir.Write("crlf.ini", "[A]\r\nx=1\r\n");
    ASSERT_TRUE(WritePrivateProfileStringA("A", "y", "2", crlf.c_str()));
    EXPECT_EQ(TempDir::Read(crlf), "[A]\r\nx=1\r\ny=2\r\n");
}

TEST(ProfileWrite, CreatesMissingFileAndDeletes) {
    TempDir dir;
    std::string file = dir.File("new.ini");
    ASSERT_TRUE(WritePrivateProfileInt("ComPortSetup", "iLanguage", -5, file.c_str()));
    EXPECT_EQ(TempDir::Read(file), "[ComPortSetup]\niLanguage=-5\n");
    ASSERT_TRUE(WritePrivateProfileStringA("ComPortSetup", "k", "v", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("ComPortSetup", "iLanguage", nullptr, file.c_str()));
    EXPECT_EQ(TempDir::Read(file), "[ComPortSetup]\nk=v\n");
    ASSERT_TRUE(WritePrivateProfileStringA("ComPortSetup", nullptr, nullptr, file.c_str()));
    EXPECT_EQ(TempDir::Read(file), "");
}

TEST(ProfileWrite, RefusesLineBreaksThatWouldForgeKeys) {
    TempDir dir;
    std::string file = dir.Write("a.ini", "[A]\nx=1\n");
    EXPECT_FALSE(WritePrivateProfileStringA("A", "x", "2\n[Evil]\nk=1", file.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("A", "a=b", "2", file.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA("A]", "x", "2", file.c_str()));
    EXPECT_EQ(TempDir::Read(file), "[A]\nx=1\n");
}

TEST(ProfileWrite, FailedWriteLeavesOldFileAndNoTemporary) {
    TempDir dir;
    std::string old = "[A]\nx=1\n";
    std::string file = dir.Write("a.ini", old);

    int result;
    {
        FileSizeLimit full(64);
        result = WritePrivateProfileStringA("A", "x", std::string(1000, 'y').c_str(), file.c_str());
    }

    EXPECT_EQ(result, 0);
    EXPECT_EQ(TempDir::Read(file), old);
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1);

    EXPECT_FALSE(WritePrivateProfileStringA("A", "x", "1", dir.File("no/such/dir.ini").c_str()));
    std::filesystem::create_directory(dir.File("adir"));
    EXPECT_FALSE(WritePrivateProfileStringA("A", "x", "1", dir.File("adir").c_str()));
}

TEST(ProfileWrite, FollowsLinksAndKeepsPermissions) {
    TempDir dir;
    std::string target = dir.Write("real.ini", "[A]\n");
    std::filesystem::permissions(target, std::filesystem::perms(0640));
    std::string link = dir.File("link.ini");
    std::filesystem::create_symlink(target, link);
    ASSERT_TRUE(WritePrivateProfileStringA("A", "k", "v", link.c_str()));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TempDir::Read(target), "[A]\nk=v\n");
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0640));
}

TEST(ProfileWrite, SeesChangesMadeByOthersAndSurvivesConcurrentWriters) {
    TempDir dir;
    std::string file = dir.Write("a.ini", "[A]\nk=1\n");
    EXPECT_EQ(Get(file, "A", "k"), "1");
    dir.Write("a.ini", "[A]\nk=2\n");
    EXPECT_EQ(Get(file, "A", "k"), "2");

    auto writer = [&](const char* prefix) {
        for (int i = 0; i < 50; ++i)
            WritePrivateProfileInt("A", (std::string(prefix) + std::to_string(i)).c_str(), i,
                                   file.c_str());
    };
    std::thread a(writer, "a"), b(writer, "b");
    a.join();
    b.join();
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(GetInt(file, "A", ("a" + std::to_string(i)).c_str(), -1), i);
        EXPECT_EQ(GetInt(file, "A", ("b" + std::to_string(i)).c_str(), -1), i);
    }
}

} // namespace
