#include "LineSettings.h"

namespace wirelay {
namespace {

struct BaudEntry {
    DWORD rate;
    speed_t speed;
};

constexpr BaudEntry kBauds[] = {
    {110, B110},       {300, B300},       {600, B600},       {1200, B1200},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},
    {38400, B38400},   {57600, B57600},   {115200, B115200}, {230400, B230400},
    {460800, B460800}, {500000, B500000}, {921600, B921600}, {1000000, B1000000},
};

bool FindSpeed(DWORD rate, speed_t& speed) {
    for (const BaudEntry& e : kBauds) {
        if (e.rate == rate) {
            speed = e.speed;
            return true;
        }
    }
    return false;
}

DWORD FindRate(speed_t speed) {
    for (const BaudEntry& e : kBauds) {
        if (e.speed == speed)
            return e.rate;
    }
    return 0;
}

} // namespace

void MakeRawLine(termios& t) {
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~HUPCL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
}

bool DcbToTermios(const DCB& dcb, termios& t) {
    speed_t speed;
    if (!FindSpeed(dcb.BaudRate, speed) || dcb.ByteSize < 5 || dcb.ByteSize > 8)
        return false;
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);

    constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag = (t.c_cflag & ~CSIZE) | kSizes[dcb.ByteSize - 5];

    t.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (dcb.Parity) {
    case ODDPARITY:
        t.c_cflag |= PARENB | PARODD;
        break;
    case EVENPARITY:
        t.c_cflag |= PARENB;
        break;
    case MARKPARITY:
        t.c_cflag |= PARENB | PARODD | CMSPAR;
        break;
    case SPACEPARITY:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    // 1.5 stop bits exist only with 5 data bits; POSIX gives 2 for both.
    if (dcb.StopBits == ONESTOPBIT)
        t.c_cflag &= ~CSTOPB;
    else
        t.c_cflag |= CSTOPB;

    if (dcb.fOutxCtsFlow)
        t.c_cflag |= CRTSCTS;
    else
        t.c_cflag &= ~CRTSCTS;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (dcb.fOutX)
        t.c_iflag |= IXON;
    if (dcb.fInX)
        t.c_iflag |= IXOFF;
    return true;
}

void TermiosToDcb(const termios& t, DCB& dcb) {
    dcb.DCBlength = sizeof(DCB);
    dcb.fBinary = 1;
    dcb.BaudRate = FindRate(::cfgetospeed(&t));
    switch (t.c_cflag & CSIZE) {
    case CS5:
        dcb.ByteSize = 5;
        break;
    case CS6:
        dcb.ByteSize = 6;
        break;
    case CS7:
        dcb.ByteSize = 7;
        break;
    default:
        dcb.ByteSize = 8;
        break;
    }
    if (!(t.c_cflag & PARENB))
        dcb.Parity = NOPARITY;
    else if (t.c_cflag & CMSPAR)
        dcb.Parity = (t.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
    else
        dcb.Parity = (t.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
    dcb.fParity = (t.c_cflag & PARENB) ? 1 : 0;
    dcb.StopBits = (t.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fOutxCtsFlow = (t.c_cflag & CRTSCTS) ? 1 : 0;
    dcb.fRtsControl = (t.c_cflag & CRTSCTS) ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fOutX = (t.c_iflag & IXON) ? 1 : 0;
    dcb.fInX = (t.c_iflag & IXOFF) ? 1 : 0;
    dcb.XonChar = static_cast<char>(t.c_cc[VSTART]);
    dcb.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
}

} // namespace wirelay
