// A scratch application folder that is the working folder while it lives (and
// not a moment longer, whatever assertion fails), whose Velmora.ini maps COM
// numbers to devices. With `othersNowhere` every other number of the default
// scheme leads to nothing, so no device of the machine running the test takes
// part. `settings` goes before the port map (other sections of Velmora.ini).
#pragma once

#include "TempDir.h"

#include <filesystem>
#include <map>
#include <string>

class PortMapFolder {
public:
    explicit PortMapFolder(const std::map<int, std::string>& ports, bool othersNowhere = false,
                           const std::string& settings = "")
        : old_(std::filesystem::current_path()) {
        std::string ini = settings + "[PortMap]\n";
        for (int k = 1; k <= 64 || ports.count(k) != 0; ++k) {
            const auto at = ports.find(k);
            if (at != ports.end())
                ini += "COM" + std::to_string(k) + "=" + at->second + "\n";
            else if (othersNowhere)
                ini += "COM" + std::to_string(k) + "=" + dir_.File("absent" + std::to_string(k)) +
                       "\n";
        }
        dir_.Write("Velmora.ini", ini);
        std::filesystem::current_path(dir_.Path());
    }
    ~PortMapFolder() { std::filesystem::current_path(old_); }
    PortMapFolder(const PortMapFolder&) = delete;
    PortMapFolder& operator=(const PortMapFolder&) = delete;

    const TempDir& Dir() const { return dir_; }

private:
    std::filesystem::path old_;
    TempDir dir_;
};
