// Translation between the DCB line settings and POSIX termios.
#pragma once

#include "CommTypes.h"

#include <termios.h>

namespace wirelay {

// Raw 8-bit transfer (no echo, no line editing, no character translation),
// receiver on, modem lines ignored, reads return at once.
void MakeRawLine(termios& t);

// Applies baud rate, byte size, parity, stop bits and flow control of `dcb`
// to `t`; false (and `t` unchanged) for a baud rate or byte size POSIX has no
// setting for.
bool DcbToTermios(const DCB& dcb, termios& t);

// Fills the same fields of `dcb` from `t` (DCBlength = sizeof(DCB), fBinary 1).
void TermiosToDcb(const termios& t, DCB& dcb);

} // namespace wirelay
