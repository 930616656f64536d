// What velmora-cli does with its parsed options: open the port, run one
// Modbus request, print the result as plain text.
#pragma once

#include "CliOptions.h"
#include "Modbus.h"

#include <ostream>
#include <string>

namespace velmora::cli {

enum ExitStatus {
    kExitOk = 0,
    kExitRequestFailed = 1, // no reply, bad CRC, exception, ...
    kExitUsage = 2,
    kExitPortUnavailable = 3,
    kExitDataError = 4, // product data or a file missing, malformed or unwritable
    kExitMismatch = 5,  // the drive holds other values than were written
};

// Link timing for a command-line exchange: 1 ms between polls, enough polls
// for a 255-byte reply at 19200 baud plus the drive's own delay.
inline constexpr unsigned kCliWaitWriteMs = 1;
inline constexpr unsigned kCliPolls = 1000;
inline constexpr unsigned kCliRetryIntervalMs = 20;

// Runs the command on `link`, whose port is open; prints reads one value per
// line to `out` and failures to `err`.
int ExecuteCommand(CModbus& link, const CliOptions& options, std::ostream& out, std::ostream& err);

// Opens the port of the options, runs the command and closes the port.
// `appDir` holds the product data and Velmora.ini (its [PortMap] resolves
// --port), unless params --app-dir names another folder; a `settingsIni`
// names another Velmora.ini (an installation's user settings).
int RunCli(const CliOptions& options, std::ostream& out, std::ostream& err,
           const std::string& appDir = ".", const std::string& settingsIni = "");

} // namespace velmora::cli
