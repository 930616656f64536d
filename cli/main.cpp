// velmora-cli: one Modbus request to a drive from the command line.
#include "CliCommands.h"

#include <iostream>

int main(int argc, char** argv) {
    using namespace velmora::cli;
    CliOptions options;
    std::string error;
    if (!ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::cerr << "velmora-cli: " << error << "\n" << CliUsage();
        return kExitUsage;
    }
    return RunCli(options, std::cout, std::cerr);
}
