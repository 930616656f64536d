// Line settings and the serial format table.
#include "LineSettings.h"
#include "SerialFormat.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <tuple>

using namespace wirelay;

TEST(SerialFormat, SixteenFormatsByBitFields) {
    const DWORD bauds[4] = {19200, 38400, 57600, 115200};
    const char* framing[4] = {"N,8,1", "N,8,2", "E,8,1", "O,8,1"};
    for (int i = 0; i < kSerialFormatCount; ++i) {
        const DCB dcb = MakeSerialDcb(i);
        EXPECT_EQ(dcb.BaudRate, bauds[i & 3]);
        EXPECT_EQ(dcb.ByteSize, 8);
        EXPECT_EQ(std::string(SerialFormatName(i)),
                  std::to_string(bauds[i & 3]) + "," + framing[(i >> 2) & 3]);
        EXPECT_EQ(FindSerialFormat(dcb), i);
    }
    EXPECT_EQ(MakeSerialDcb(6).StopBits, TWOSTOPBITS);
    EXPECT_EQ(MakeSerialDcb(9).Parity, EVENPARITY);
    EXPECT_EQ(MakeSerialDcb(13).Parity, ODDPARITY);
    EXPECT_EQ(MakeSerialDcb(0).Parity, NOPARITY);
    DCB other = MakeSerialDcb(0);
    other.BaudRate = 9600;
    EXPECT_EQ(FindSerialFormat(other), -1);
}

TEST(LineSettings, DcbAndTermiosRoundTrip) {
    const struct {
        DWORD baud;
        BYTE size, parity, stop;
        tcflag_t set, clear;
    } cases[] = {
        {19200, 8, NOPARITY, ONESTOPBIT, CS8, PARENB | CSTOPB},
        {115200, 8, EVENPARITY, ONESTOPBIT, CS8 | PARENB, PARODD | CSTOPB},
        {57600, 8, ODDPARITY, TWOSTOPBITS, CS8 | PARENB | PARODD | CSTOPB, 0},
    };
    for (const auto& c : cases) {
        DCB dcb{};
        dcb.BaudRate = c.baud;
        dcb.ByteSize = c.size;
        dcb.Parity = c.parity;
        dcb.StopBits = c.stop;
        termios t{};
        MakeRawLine(t);
        ASSERT_TRUE(DcbToTermios(dcb, t)) << c.baud;
        EXPECT_EQ(t.c_cflag & c.set, c.set) << c.baud;
        EXPECT_EQ(t.c_cflag & c.clear, 0u) << c.baud;
        DCB back{};
        TermiosToDcb(t, back);
        EXPECT_EQ(
            std::tie(back.BaudRate, back.ByteSize, back.Parity, back.StopBits, back.DCBlength),
            std::tuple(c.baud, c.size, c.parity, c.stop, sizeof(DCB)));
    }
    DCB flow = MakeSerialDcb(0);
    flow.fOutxCtsFlow = 1;
    flow.fOutX = 1;
    termios t{};
    ASSERT_TRUE(DcbToTermios(flow, t));
    EXPECT_TRUE(t.c_cflag & CRTSCTS);
    EXPECT_TRUE(t.c_iflag & IXON);
    EXPECT_FALSE(t.c_iflag & IXOFF);
}

TEST(LineSettings, UnknownRatesAndSizesAreRefusedUnchanged) {
    termios t{};
    MakeRawLine(t);
    const termios before = t;
    DCB dcb = MakeSerialDcb(0);
    dcb.BaudRate = 12345;
    EXPECT_FALSE(DcbToTermios(dcb, t));
    dcb = MakeSerialDcb(0);
    dcb.ByteSize = 9;
    EXPECT_FALSE(DcbToTermios(dcb, t));
    dcb.ByteSize = 4;
    EXPECT_FALSE(DcbToTermios(dcb, t));
    EXPECT_EQ(std::memcmp(&t, &before, sizeof t), 0);
}
