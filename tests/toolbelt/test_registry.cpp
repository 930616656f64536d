#include "Registry.h"
#include "ScopedEnv.h"
#include "TempDir.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Velmora", &key), ERROR_SUCCESS);
    }
    void TearDown() override { RegCloseKey(key); }
    TempDir dir;
    ScopedEnv store{"VELMORA_REGISTRY", dir.File("cfg/registry.ini")};
    HKEY key = nullptr;
};

TEST_F(RegistryStore, DwordRoundTripAndMissingValueDefault) {
    int value = 0;
    EXPECT_NE(RegGetdwValue(key, "Missing", &value, 77), ERROR_SUCCESS);
    EXPECT_EQ(value, 77);

    ASSERT_EQ(RegSetdwValue(key, "Speed", -2), ERROR_SUCCESS);
    EXPECT_EQ(RegGetdwValue(key, "Speed", &value, 0), ERROR_SUCCESS);
    EXPECT_EQ(value, -2);

    std::uint8_t bytes[4];
    std::uint32_t type = 0, size = sizeof bytes;
    ASSERT_EQ(RegQueryValueExA(key, "speed", &type, bytes, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(bytes[0], 0xFE); // least significant byte first
    EXPECT_EQ(bytes[3], 0xFF);

    std::string stored = TempDir::Read(dir.File("cfg/registry.ini"));
    EXPECT_NE(stored.find("[HKEY_CURRENT_USER\\Software\\Velmora]"), std::string::npos);
    EXPECT_NE(stored.find("Speed=dword:fffffffe"), std::string::npos);
}

TEST_F(RegistryStore, StringsCopyLikeStrncpyAndScratchIsCleared) {
    const char* text = "line1\nline2\\end";
    ASSERT_EQ(RegSetValueExA(key, "Note", REG_SZ, reinterpret_cast<const std::uint8_t*>(text),
                             static_cast<std::uint32_t>(std::strlen(text) + 1)),
              ERROR_SUCCESS);
    char dest[8] = "-------";
    char scratch[64];
    EXPECT_EQ(RegGetszValue(key, dest, "Note", 5, scratch, sizeof scratch), ERROR_SUCCESS);
    EXPECT_EQ(std::string(dest, 7), "line1--");
    for (char c : scratch)
        EXPECT_EQ(c, 0);

    char whole[64]{};
    EXPECT_EQ(RegGetszValue(key, whole, "Note", sizeof whole, scratch, sizeof scratch),
              ERROR_SUCCESS);
    EXPECT_STREQ(whole, text);

    char small[4];
    EXPECT_EQ(RegGetszValue(key, whole, "Note", sizeof whole, small, sizeof small),
              ERROR_MORE_DATA);
    EXPECT_EQ(RegMaxValueLen(key), std::strlen(text) + 1);
}

TEST_F(RegistryStore, OpenNeedsAnExistingKeyAndDamagedEntriesReadAsMissing) {
    HKEY other = nullptr;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Nobody", &other), ERROR_FILE_NOT_FOUND);
    RegSetdwValue(key, "x", 1);
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Velmora", &other), ERROR_SUCCESS);
    int value = 0;
    EXPECT_EQ(RegGetdwValue(other, "x", &value, 0), ERROR_SUCCESS);
    EXPECT_EQ(value, 1);
    RegCloseKey(other);

    dir.Write("cfg/registry.ini",
              "[HKEY_CURRENT_USER\\Software\\Velmora]\nbad=dword:zz\nhex=hex:0\nodd=what\n");
    EXPECT_EQ(RegGetdwValue(key, "bad", &value, 5), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(value, 5);
    std::uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "hex", nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExA(key, "odd", nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegGetdwValue(nullptr, "x", &value, 3), ERROR_INVALID_HANDLE);
}

} // namespace
