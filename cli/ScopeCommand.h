// velmora-cli scope: record up to four drive signals with the scope's engine
// and write them as CSV (time in ms, one column per signal).
//   scope --signal S [--signal S ...] [--time-base MS] (--stream SECONDS | --block)
//         [--trigger N:COND:LEVEL] [--delay SAMPLES] [--timeout SECONDS]
//         [--out FILE.csv] [--app-dir DIR] [--language ENG|CHT|CHS]
// A signal is a code or a name of the signal list (cd.dat and the language's
// signal file under DIR); "S:32" marks a 32-bit signal (two slots, A+B or C+D).
#pragma once

#include "CliOptions.h"
#include "CommTypes.h"

#include <ostream>
#include <string>
#include <vector>

namespace velmora::cli {

struct ScopeSignalChoice {
    std::string spec; // code or name
    bool wide = false;
};

struct ScopeOptions {
    std::vector<ScopeSignalChoice> choices;
    int timeBase = 0; // ms per division; 0: 100 streaming, 10 High Sample
    double streamSeconds = 0;
    bool block = false; // High Sample block instead of a stream
    bool triggered = false;
    int triggerSignal = 1; // 1-based position in --signal order
    int triggerCondition = 0;
    long triggerLevel = 0;
    int delay = -1; // samples; -1: half the screen
    double timeoutSeconds = 10;
    std::string out; // empty: standard output
    std::string appDir; // empty: the folder RunCli is given
    int languageId = 1000;
};

bool ParseScopeOptions(const std::vector<std::string>& words, ScopeOptions& scope,
                       std::string& error);

// Runs the capture on the open port `port` (COM number `comPort`, 0 for a
// device path, with the line settings `dcb`).
int ExecuteScope(HANDLE port, int comPort, const DCB& dcb, const CliOptions& options,
                 const ScopeOptions& scope, std::ostream& out, std::ostream& err);

} // namespace velmora::cli
