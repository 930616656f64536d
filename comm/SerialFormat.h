// The 16 serial formats the drive tools search and offer: index & 3 selects
// the baud rate (19200, 38400, 57600, 115200), (index >> 2) & 3 the framing
// (8N1, 8N2, 8E1, 8O1).
#pragma once

#include "CommTypes.h"

namespace wirelay {

inline constexpr int kSerialFormatCount = 16;

struct SerialFormat {
    DWORD baudRate;
    BYTE parity;   // NOPARITY, EVENPARITY or ODDPARITY
    BYTE stopBits; // ONESTOPBIT or TWOSTOPBITS
};

// Indexes outside 0..15 wrap like the bit fields above.
SerialFormat GetSerialFormat(int index);

// Writes the format's baud rate, 8 data bits, parity and stop bits into `dcb`,
// leaving every other field alone.
void ApplySerialFormat(int index, DCB& dcb);

// A DCB with only the format's line settings filled in.
DCB MakeSerialDcb(int index);

// "115200,E,8,1".
const char* SerialFormatName(int index);

// The index of the format matching `dcb`, or -1.
int FindSerialFormat(const DCB& dcb);

} // namespace wirelay
