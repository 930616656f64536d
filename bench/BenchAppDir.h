// Where a benchmark finds the built program's data: $VELMORA_APP_DIR, else
// the app/ folder beside the benchmarks' own folder in the build tree.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

inline std::string AppDir() {
    if (const char* dir = std::getenv("VELMORA_APP_DIR"))
        return dir;
    return (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "app")
        .string();
}
