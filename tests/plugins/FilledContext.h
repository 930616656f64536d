// A shared context filled as the host fills it at start-up, with the
// settings of the test folder's Velmora.ini (or those given), for one test.
#pragma once

#include "ContextStorage.h"
#include "HostConfig.h"

#include <string>

struct FilledContext {
    explicit FilledContext(const std::string& appDir = ".")
        : FilledContext(ReadHostConfig("Velmora.ini"), appDir) {}
    FilledContext(const HostConfig& config, const std::string& appDir) {
        storage.CreateParmStore(nullptr);
        storage.Fill(config, appDir, nullptr);
    }
    SharedContext& Ctx() { return storage.Context(); }
    ContextStorage storage;
};
