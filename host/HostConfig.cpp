#include "HostConfig.h"

#include "Profile.h"

#include <algorithm>

namespace {

constexpr const char* kLink = "ComPortSetup";
constexpr const char* kData = "DataFile";
constexpr const char* kProfile = "Data_Profile";

int ReadInt(const char* section, const char* key, int fallback, const std::string& file) {
    // The profile call answers unsigned; negative values come back as their
    // two's complement and are turned back here.
    return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, file.c_str()));
}

int LimitJogSpeed(int percent) {
    return std::min(percent, kJogSpeedLimit);
}

} // namespace

HostConfig ReadHostConfig(const std::string& iniPath) {
    HostConfig c;
    c.comPort = ReadInt(kLink, "iPort1COM", 1, iniPath);
    c.slaveId = ReadInt(kLink, "iModbusID", 1, iniPath);
    c.retryTimes = ReadInt(kLink, "uiRetryTimes_cn", 20, iniPath);
    c.retryIntervalMs = ReadInt(kLink, "dwRetry_IntervalTime_ms", 150, iniPath);
    c.preWaitTimeMs = ReadInt(kLink, "dwPreWaitTime_ms", 0, iniPath);
    char title[256] = {};
    GetPrivateProfileStringA(kData, "strName", "", title, sizeof title, iniPath.c_str());
    c.title = title;
    c.language = ReadInt(kLink, "iLanguage", 0, iniPath);
    c.waitWriteTime = ReadInt(kLink, "iSetWaitWriteTime", 0, iniPath);
    c.preCountQueTimes = ReadInt(kLink, "iSetPreCountQueTimes", 0, iniPath);
    c.jogSpeedSlow = LimitJogSpeed(ReadInt(kProfile, "iDIOJogSpd_Slow", 0, iniPath));
    c.jogSpeedMedium = LimitJogSpeed(ReadInt(kProfile, "iDIOJogSpd_Medium", 0, iniPath));
    c.jogSpeedFast = LimitJogSpeed(ReadInt(kProfile, "iDIOJogSpd_Fast", 0, iniPath));
    c.jogTimeout = ReadInt(kProfile, "iDIOJogTimeout", 0, iniPath);
    return c;
}

void WriteHostConfig(const std::string& iniPath, const HostConfigWriteBack& v) {
    const char* file = iniPath.c_str();
    WritePrivateProfileInt(kLink, "iPort1COM", v.comPort, file);
    WritePrivateProfileInt(kLink, "iModbusID", v.slaveId, file);
    WritePrivateProfileInt(kLink, "uiRetryTimes_cn", v.retryTimes, file);
    WritePrivateProfileInt(kLink, "dwRetry_IntervalTime_ms", v.retryIntervalMs, file);
    WritePrivateProfileInt(kLink, "dwPreWaitTime_ms", v.preWaitTimeMs, file);
    WritePrivateProfileInt(kLink, "iLanguage", v.language, file);
}
