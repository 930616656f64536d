// velmora-cli: one Modbus request to a drive from the command line.
#include "AppFolders.h"
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
    if (options.help) {
        std::cout << CliUsage();
        return kExitOk;
    }
    // The product data and Velmora.ini beside the program, wherever it is
    // started from; installed, the data of the installation and the user's
    // Velmora.ini (else the shipped one).
    const std::string program = velmora::ProgramFolder();
    const velmora::AppFolders folders = velmora::LocateAppFolders(program, program);
    return RunCli(options, std::cout, std::cerr, folders.data,
                  folders.installed ? velmora::ReadableSettingsFile("Velmora.ini", folders.data)
                                    : std::string());
}
