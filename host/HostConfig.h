// The host's settings file "Velmora.ini": read once when the application
// object is built, the link settings and the language written back at exit.
#pragma once

#include <string>

struct HostConfig {
    int comPort = 1;
    int slaveId = 1;
    int retryTimes = 20;
    int retryIntervalMs = 150;
    int preWaitTimeMs = 0;
    std::string title;
    int language = 0;
    int waitWriteTime = 0;
    int preCountQueTimes = 0;
    int jogSpeedSlow = 0;
    int jogSpeedMedium = 0;
    int jogSpeedFast = 0;
    int jogTimeout = 0;
};

constexpr int kJogSpeedLimit = 100; // percent; larger values are cut, smaller kept

// Reads every key in the file's order; a missing file or key gives its default.
HostConfig ReadHostConfig(const std::string& iniPath);

// The values the program remembers: port, address, retries, waits, language.
struct HostConfigWriteBack {
    int comPort;
    int slaveId;
    int retryTimes;
    int retryIntervalMs;
    int preWaitTimeMs;
    int language;
};

// Writes the six remembered keys of section "ComPortSetup"; failures are ignored.
void WriteHostConfig(const std::string& iniPath, const HostConfigWriteBack& values);
