// velmora-cli: one Modbus request to a drive from the command line.
#include "CliCommands.h"

#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    using namespace velmora::cli;
    CliOptions options;
    std::string error;
    if (!ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::cerr << "velmora-cli: " << error << "\n" << CliUsage();
        return kExitUsage;
    }
    // Velmora.ini and the product data beside the program, wherever it is
    // started from.
    std::error_code failed;
    const auto program = std::filesystem::canonical("/proc/self/exe", failed);
    return RunCli(options, std::cout, std::cerr,
                  failed ? std::string(".") : program.parent_path().string());
}
