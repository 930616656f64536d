#include "SerialFormat.h"

namespace wirelay {
namespace {

constexpr DWORD kBauds[4] = {CBR_19200, CBR_38400, CBR_57600, CBR_115200};

struct Framing {
    BYTE parity;
    BYTE stopBits;
};
constexpr Framing kFramings[4] = {{NOPARITY, ONESTOPBIT},
                                  {NOPARITY, TWOSTOPBITS},
                                  {EVENPARITY, ONESTOPBIT},
                                  {ODDPARITY, ONESTOPBIT}};

constexpr const char* kNames[kSerialFormatCount] = {
    "19200,N,8,1", "38400,N,8,1",  "57600,N,8,1", "115200,N,8,1", "19200,N,8,2", "38400,N,8,2",
    "57600,N,8,2", "115200,N,8,2", "19200,E,8,1", "38400,E,8,1",  "57600,E,8,1", "115200,E,8,1",
    "19200,O,8,1", "38400,O,8,1",  "57600,O,8,1", "115200,O,8,1",
};

} // namespace

SerialFormat GetSerialFormat(int index) {
    const Framing& f = kFramings[(index >> 2) & 3];
    return SerialFormat{kBauds[index & 3], f.parity, f.stopBits};
}

void ApplySerialFormat(int index, DCB& dcb) {
    const SerialFormat format = GetSerialFormat(index);
    dcb.BaudRate = format.baudRate;
    dcb.ByteSize = 8;
    dcb.Parity = format.parity;
    dcb.StopBits = format.stopBits;
}

DCB MakeSerialDcb(int index) {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.fBinary = 1;
    ApplySerialFormat(index, dcb);
    return dcb;
}

const char* SerialFormatName(int index) {
    return kNames[index & (kSerialFormatCount - 1)];
}

int FindSerialFormat(const DCB& dcb) {
    for (int i = 0; i < kSerialFormatCount; ++i) {
        const SerialFormat f = GetSerialFormat(i);
        if (f.baudRate == dcb.BaudRate && f.parity == dcb.Parity && f.stopBits == dcb.StopBits &&
            dcb.ByteSize == 8)
            return i;
    }
    return -1;
}

} // namespace wirelay
