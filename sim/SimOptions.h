// Command line of velmora-drive-sim.
#pragma once

#include "DriveSim.h"

#include <string>
#include <vector>

namespace drivesim {

struct ParsedOptions {
    SimConfig config;
    bool help = false;
    std::string error; // not empty: the command line was refused
};

ParsedOptions ParseOptions(const std::vector<std::string>& args);
const char* UsageText();

} // namespace drivesim
