// A scratch folder for the harnesses that read real files, removed when the
// fuzzer exits. It lies in memory where it can: saves flush to the disk.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class FuzzScratch {
public:
    FuzzScratch() {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = base / "velmora-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path_ = pattern;
    }
    ~FuzzScratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    FuzzScratch(const FuzzScratch&) = delete;
    FuzzScratch& operator=(const FuzzScratch&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string Write(const std::string& name, const std::string& contents) const {
        const std::filesystem::path file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary | std::ios::trunc) << contents;
        return file.string();
    }

private:
    std::filesystem::path path_;
};
