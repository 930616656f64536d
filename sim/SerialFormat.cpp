#include "SerialFormat.h"

namespace drivesim {

SerialFormat SerialFormatFromIndex(int index) {
    if (index < 0 || index >= kSerialFormatCount)
        index = 0;
    static constexpr int kBauds[4] = {19200, 38400, 57600, 115200};
    SerialFormat format;
    format.baud = kBauds[index & 3];
    switch ((index >> 2) & 3) {
    case 0:
        break;
    case 1:
        format.stopBits = 2;
        break;
    case 2:
        format.parity = Parity::Even;
        break;
    default:
        format.parity = Parity::Odd;
        break;
    }
    return format;
}

int CharacterBits(const SerialFormat& format) {
    return 1 + 8 + (format.parity == Parity::None ? 0 : 1) + format.stopBits;
}

const char* FramingText(const SerialFormat& format) {
    if (format.parity == Parity::Even)
        return "E,1";
    if (format.parity == Parity::Odd)
        return "O,1";
    return format.stopBits == 2 ? "N,2" : "N,1";
}

} // namespace drivesim
