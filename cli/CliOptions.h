// Command line of velmora-cli:
//   velmora-cli [--port N | --device PATH] [--format 0..15] [--address N]
//               [--retries N] [--log] COMMAND [ARGS...]
//   velmora-cli [--port N | --device PATH] ... params ACTION ... (ParamsCommand.h)
#pragma once

#include <string>
#include <vector>

namespace velmora::cli {

struct CliOptions {
    int port = 0;        // COM number, or 0 when --device is given
    std::string device;  // explicit device path
    int format = 3;      // serial format index (115200,N,8,1)
    int address = 1;     // slave address
    int retries = 3;     // attempts per request
    bool log = false;    // print the packet log
    bool help = false;   // --help: print the usage and do nothing else
    std::string command; // ident, read-regs, write-regs, read-coils, write-coils
    std::vector<unsigned> args;
    std::vector<std::string> words; // the words after "params", parsed by ParamsCommand
};

// Fills `options` from the arguments (without the program name). On failure
// returns false and describes the problem in `error`. "--help" anywhere among
// the options succeeds at once with `help` set.
bool ParseCliOptions(const std::vector<std::string>& arguments, CliOptions& options,
                     std::string& error);

const char* CliUsage();

} // namespace velmora::cli
