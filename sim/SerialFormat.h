// The sixteen serial formats a drive can be set to: index & 3 selects the baud
// rate, (index >> 2) & 3 the framing; data bits are always 8.
#pragma once

namespace drivesim {

enum class Parity { None, Even, Odd };

struct SerialFormat {
    int baud = 19200;
    int stopBits = 1;
    Parity parity = Parity::None;
};

constexpr int kSerialFormatCount = 16;

// Index 0..15 to its settings; out-of-range indexes give format 0.
SerialFormat SerialFormatFromIndex(int index);

// Bits one character occupies on the wire: start, 8 data, parity, stop bits.
int CharacterBits(const SerialFormat& format);

// "115200 O,1" and the like, for messages.
const char* FramingText(const SerialFormat& format);

} // namespace drivesim
