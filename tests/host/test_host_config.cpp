// The settings file: defaults, the jog limits, malformed values, write-back.
#include "ContextStorage.h"
#include "HostConfig.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

TEST(HostConfig, ReadsEveryKeyAndLimitsJogSpeedsFromAboveOnly) {
    TempDir dir;
    const std::string ini =
        dir.Write("Velmora.ini", "[ComPortSetup]\niPort1COM=7\niModbusID=3\nuiRetryTimes_cn=2\n"
                                 "dwRetry_IntervalTime_ms=40\ndwPreWaitTime_ms=5\niLanguage=1001\n"
                                 "iSetWaitWriteTime=1\niSetPreCountQueTimes=400\n"
                                 "[DataFile]\nstrName=Velmora Test\n"
                                 "[Data_Profile]\niDIOJogSpd_Slow=-5\niDIOJogSpd_Medium=100\n"
                                 "iDIOJogSpd_Fast=250\niDIOJogTimeout=3000\n");
    const HostConfig c = ReadHostConfig(ini);
    EXPECT_EQ(std::tie(c.comPort, c.slaveId, c.retryTimes, c.retryIntervalMs, c.preWaitTimeMs,
                       c.language, c.waitWriteTime, c.preCountQueTimes, c.title),
              std::make_tuple(7, 3, 2, 40, 5, 1001, 1, 400, std::string("Velmora Test")));
    EXPECT_EQ(std::tie(c.jogSpeedSlow, c.jogSpeedMedium, c.jogSpeedFast, c.jogTimeout),
              std::make_tuple(-5, 100, 100, 3000))
        << "the fast speed is limited to the medium one";
}

TEST(HostConfig, MalformedFileFallsBackWithoutCrashing) {
    TempDir dir;
    std::string garbage = "\xff\xfe[ComPortSetup\niPort1COM=abc\n[ComPortSetup]\niModbusID=\n"
                          "iLanguage=12x\n[DataFile]\nstrName=";
    garbage += std::string(5000, 'T') + "\n";
    garbage += std::string("\0\0\0", 3);
    const HostConfig c = ReadHostConfig(dir.Write("Velmora.ini", garbage));
    EXPECT_EQ(c.slaveId, 1) << "an empty value gives the default";
    EXPECT_EQ(c.language, 12) << "reading stops at the first non-digit";
    EXPECT_EQ(c.title.size(), 255u) << "the title is cut to its buffer";
}

TEST(HostConfig, WriteBackCreatesTheSixKeysAndKeepsTheOthers) {
    TempDir dir;
    const std::string ini =
        dir.Write("Velmora.ini", "[DataFile]\nstrName=Keep me\n[PortMap]\nCOM9=/dev/pts/9\n");
    WriteHostConfig(ini, {9, 4, 3, 80, 2, 1002});
    // The keys the reader knows (ReadsEveryKey...) come back; the others stay.
    const HostConfig c = ReadHostConfig(ini);
    EXPECT_EQ(std::tie(c.comPort, c.slaveId, c.retryTimes, c.retryIntervalMs, c.preWaitTimeMs,
                       c.language, c.title),
              std::make_tuple(9, 4, 3, 80, 2, 1002, std::string("Keep me")));
    EXPECT_NE(TempDir::Read(ini).find("[PortMap]\nCOM9=/dev/pts/9"), std::string::npos);

    WriteHostConfig(dir.File("new.ini"), {1, 1, 20, 150, 0, 0});
    EXPECT_EQ(ReadHostConfig(dir.File("new.ini")).retryTimes, 20) << "a missing file is created";
}

// Values taken from the settings reach the context, and what the context holds
// at the end is what goes back.
TEST(ContextFill, SettingsGoInAndTheCurrentValuesComeBack) {
    HostConfig config;
    config.comPort = 5;
    config.language = 1001;
    config.title = "T";
    config.jogSpeedFast = 100;
    config.preCountQueTimes = 400;
    ContextStorage storage;
    storage.CreateParmStore(nullptr);
    storage.Fill(config, "/app", nullptr);
    SharedContext& ctx = storage.Context();
    EXPECT_EQ(std::make_tuple(ctx.Int(kComPort).load(), ctx.Int(kJogSpdFast).load(),
                              ctx.Int(kPreCountQueTimes).load(), ctx.AppDir(), ctx.Title()),
              std::make_tuple(5, 100, 400, std::string("/app"), std::string("T")));
    for (int owner = 0; owner < kLanguageOwners; ++owner) {
        EXPECT_EQ(ctx.Language(owner), 1001);
        EXPECT_EQ(ctx.LanguageApplied(owner), 0) << "every window loads its table at first";
    }

    ctx.Int(kComPort) = 12;
    ctx.Int(kSlaveId) = 7;
    ctx.SetLanguage(kLangHost, 1002);
    const HostConfigWriteBack v = storage.RememberedValues();
    EXPECT_EQ(std::tie(v.comPort, v.slaveId, v.retryTimes, v.language),
              std::make_tuple(12, 7, 20, 1002));
}

} // namespace
