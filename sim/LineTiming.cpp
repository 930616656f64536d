#include "LineTiming.h"

namespace drivesim {

speed_t SpeedConstant(int baud) {
    switch (baud) {
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B0;
    }
}

int CharacterBits(const wirelay::SerialFormat& format) {
    return 1 + 8 + (format.parity == NOPARITY ? 0 : 1) + (format.stopBits == TWOSTOPBITS ? 2 : 1);
}

bool LineMatches(const termios& settings, const wirelay::SerialFormat& format) {
    const speed_t want = SpeedConstant(static_cast<int>(format.baudRate));
    if (cfgetospeed(&settings) != want)
        return false;
    const bool twoStops = (settings.c_cflag & CSTOPB) != 0;
    if (twoStops != (format.stopBits == TWOSTOPBITS))
        return false;
    // PARENB never shows on a pty; PARODD does.
    const bool odd = (settings.c_cflag & PARODD) != 0;
    return odd == (format.parity == ODDPARITY);
}

std::chrono::nanoseconds WireTime(std::size_t bytes, const wirelay::SerialFormat& format) {
    const long long bits = static_cast<long long>(bytes) * CharacterBits(format);
    return std::chrono::nanoseconds(bits * 1'000'000'000LL / format.baudRate);
}

std::chrono::nanoseconds FrameSilence(const wirelay::SerialFormat& format) {
    const auto t35 = WireTime(7, format) / 2;
    return std::max<std::chrono::nanoseconds>(t35, std::chrono::microseconds(1750));
}

} // namespace drivesim
