// velmora-cli in-process: a command line split into words, parsed and run as
// the program would, with what it printed.
#pragma once

#include "CliCommands.h"
#include "CliOptions.h"

#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::string> Split(const std::string& line,
                                      std::vector<std::string> words = {}) {
    std::istringstream in(line);
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

struct CliOutcome {
    int status;
    std::string out, err;
};

// Runs `prefix` followed by the words of `line`; a line that does not parse
// ends as a usage error with the parser's message.
inline CliOutcome RunCliLine(const std::vector<std::string>& prefix, const std::string& line) {
    using namespace velmora::cli;
    CliOptions options;
    std::string error;
    if (!ParseCliOptions(Split(line, prefix), options, error))
        return {kExitUsage, "", error};
    std::ostringstream out, err;
    const int status = RunCli(options, out, err);
    return {status, out.str(), err.str()};
}
