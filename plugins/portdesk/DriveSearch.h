// The search for the drive over slave addresses, serial formats and COM
// ports, run on the comm thread inside CommLoop.
#pragma once

#include "PortdeskApp.h"

#include <array>

// Formats tried when the format is automatic: 115200, 57600, 38400, 19200 with
// N,1, then the same rates with N,2, E,1 and O,1.
inline constexpr std::array<int, 16> kAutoFormatOrder = {3,  2,  1, 0, 7,  6,  5,  4,
                                                         11, 10, 9, 8, 15, 14, 13, 12};

// The probe: register 0x1090 written with 0.
inline constexpr unsigned short kProbeRegister = 0x1090;

// Settings of every probe: two attempts, each polling nine times 7 ms apart.
inline constexpr unsigned long kProbeRetryTimes = 2;
inline constexpr unsigned long kProbeWaitWriteMs = 7;
inline constexpr unsigned long kProbePreCountQueTimes = 8;

// Combinations a search with these selections tries at most.
int SearchCombinations(int portSel, int idSel, int formatSel);

// True when the user cancelled or the program is closing.
bool SearchStopRequested(const CPortdeskApp& app, const SharedContext& ctx);

// Runs the search with app.iPortSel/iIdSel/iFormatSel. On success the port
// stays open with its time-outs set, and port number, slave address, line
// settings and handle are published in `ctx`; app.iFoundFormat holds the
// format. Returns 1 found, 0 not found or stopped (see SearchStopRequested).
int SearchDrive(CPortdeskApp& app, SharedContext& ctx);
