// What the drive can tell of the master's line settings on a pseudo-terminal,
// and how long bytes take on a real line of a serial format.
//
// On a Linux pty the master end sees the termios the program set on its end:
// baud rate, CSTOPB and PARODD come through, but PARENB is always cleared, so
// even parity cannot be told from none: formats E,1 and N,1 look alike there.
#pragma once

#include "SerialFormat.h" // Wirelay's table of the 16 formats

#include <chrono>
#include <cstddef>
#include <termios.h>

namespace drivesim {

// True when the master's settings would let it talk to a drive set to `format`:
// same baud rate and stop bits, and odd parity exactly when the format has it.
bool LineMatches(const termios& settings, const wirelay::SerialFormat& format);

// Bits one character occupies on the wire: start, 8 data, parity, stop bits.
int CharacterBits(const wirelay::SerialFormat& format);

// Wire time of `bytes` characters.
std::chrono::nanoseconds WireTime(std::size_t bytes, const wirelay::SerialFormat& format);

// The silence that ends a frame: 3.5 characters, at least 1.75 ms.
std::chrono::nanoseconds FrameSilence(const wirelay::SerialFormat& format);

// termios speed constant of a baud rate (B0 when unknown).
speed_t SpeedConstant(int baud);

} // namespace drivesim
