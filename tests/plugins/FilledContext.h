// A shared context filled as the host fills it at start-up, with the
// settings of the test folder's Velmora.ini, for one test.
#pragma once

#include "ContextStorage.h"
#include "HostConfig.h"

#include <string>

struct FilledContext {
    explicit FilledContext(const std::string& appDir = ".") {
        storage.CreateParmStore(nullptr);
        storage.Fill(ReadHostConfig("Velmora.ini"), appDir, nullptr);
    }
    SharedContext& Ctx() { return storage.Context(); }
    ContextStorage storage;
};
