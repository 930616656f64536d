// The Modbus master on the wire: request bytes and reply judging by length
// and CRC, with the drain labels, against a scripted far end on a pty.
#include "ModbusWireFixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

namespace {

// --- request frames --------------------------------------------------------

TEST_F(ModbusWire, RequestFramesAreTheGoldenBytes) {
    unsigned char coils[2] = {0xCD, 0x01};
    unsigned short words[2] = {0x1234, 0xABCD};
    unsigned char coilOut[2];
    unsigned short wordOut[2];
    char text[8];
    unsigned char capacity = sizeof text;
    mb.preCountQueTimes = 2;
    const struct {
        const char* name;
        std::function<void()> call;
        const char* wire;
    } cases[] = {
        {"read coils", [&] { mb._ReadCoils(0x13, 10, coilOut); }, "01 01 00 13 00 0A 4D C8"},
        {"read registers", [&] { mb._ReadHoldingRegisters(0x1090, 2, wordOut); },
         "01 03 10 90 00 02 C0 E6"},
        {"write coils", [&] { mb._WriteMultipleCoils(0x13, 10, coils); },
         "01 0F 00 13 00 0A 02 CD 01 72 CB"},
        {"write registers", [&] { mb._WriteMultipleRegisters(0x1090, 2, words); },
         "01 10 10 90 00 02 04 12 34 AB CD CD 10"},
        {"split write", [&] { mb.Tx_WriteMultipleRegisters(0x1090, 2, words); },
         "01 10 10 90 00 02 04 12 34 AB CD CD 10"},
        {"report slave id", [&] { mb._ReportSlaveID(text, &capacity, nullptr, nullptr); },
         "01 11 C0 2C"},
        {"other slave",
         [&] {
             mb.SetSlaveAddress(7);
             mb._ReadHoldingRegisters(0, 1, wordOut);
             mb.SetSlaveAddress(1);
         },
         "07 03 00 00 00 01 84 6C"},
    };
    for (const auto& c : cases) {
        c.call();
        EXPECT_EQ(Sent(), Hex(c.wire)) << c.name;
    }
}

// --- Read Holding Registers ------------------------------------------------

// How one reply is judged: the call's result, the drain log lines and the
// drains after the 300 ms pause.
struct Judged {
    const char* name;
    Bytes reply; // answer to the request; empty = silence
    int result;
    std::vector<std::string> log;
    std::size_t slowDrains;
};

TEST_F(ModbusWire, RegisterRepliesAreJudgedByLengthAndCrc) {
    const Bytes good = WithCrc({0x01, 0x03, 0x04, 0x12, 0x34, 0xAB, 0xCD});
    Bytes badCrc = good;
    badCrc.back() ^= 0xFF;
    Bytes withStray = badCrc;
    withStray.push_back(0x77);
    Bytes tooLong = good;
    tooLong.push_back(0x55);
    tooLong.push_back(0x66);
    const Bytes exception = WithCrc({0x01, 0x83, 0x02});
    const Judged cases[] = {
        {"good", good, 1, {}, 0},
        {"wrong crc", badCrc, 0, {}, 0}, // read whole: nothing left to drain
        {"wrong crc and a stray byte", withStray, 0, {"RReg: 77 "}, 0},
        {"exception reply", exception, 0, {Line("RReg: ", exception)}, 0},
        {"short with valid crc", WithCrc({0x01, 0x03, 0x02, 0x12, 0x34}), 0, {}, 0},
        {"too long", tooLong, 0, {"RReg: 55 66 "}, 0},
        {"silence", {}, 0, {}, 0},
    };
    for (const Judged& c : cases) {
        SCOPED_TRACE(c.name);
        unsigned short words[2] = {0, 0};
        const Outcome o =
            Exchange(8, c.reply, [&] { return mb.ReadHoldingRegisters(0x1090, 2, words); });
        EXPECT_EQ(std::tie(o.result, o.log), std::tie(c.result, c.log));
        EXPECT_EQ(o.requests, std::vector<Bytes>{Hex("01 03 10 90 00 02 C0 E6")});
        if (c.reply == good) {
            EXPECT_EQ(words[0] << 16 | words[1], 0x1234ABCD);
        }
        // Register drains wait waitWriteTime, never 300 ms.
        const auto pauses = sleeps.Pauses();
        EXPECT_TRUE(std::all_of(pauses.begin(), pauses.end(), [](unsigned ms) { return ms == 1; }));
    }
}

TEST_F(ModbusWire, RegisterFailuresOfTheirOwn) {
    unsigned short words[1];
    // Zero registers expect five bytes and fail on them.
    Outcome o = Exchange(8, WithCrc({0x01, 0x03, 0x00}),
                         [&] { return mb.ReadHoldingRegisters(0, 0, words); });
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.requests.at(0), Hex("01 03 00 00 00 00 45 CA"));

    // A wrong CRC is retried and each reply drained.
    Bytes bad = WithCrc({0x01, 0x03, 0x02, 0x00, 0x01});
    bad[4] ^= 0x10;
    bad.push_back(0x77);
    mb.SetRetryTimes(3);
    o = Exchange(8, bad, [&] { return mb.ReadHoldingRegisters(5, 1, words); });
    EXPECT_EQ(std::tuple(o.result, o.requests.size(), o.log),
              std::tuple(0, 3u, std::vector<std::string>(3, "RReg: 77 ")));
}

TEST_F(ModbusWire, StrayBytesAndLateRepliesArePreDrained) {
    SendAndWait({0x41});
    FarEnd far(pty, 8, [](std::size_t index, const Bytes&) {
        // The first request is answered too late for its attempt: its reply
        // is found by the second request's pre-drain.
        return index == 0 ? Bytes{} : WithCrc({0x01, 0x03, 0x02, 0x00, 0x2A});
    });
    unsigned short word = 0;
    ASSERT_EQ(mb.preCountQueTimes, 400u);
    EXPECT_EQ(mb._ReadHoldingRegisters(1, 1, &word), 0);
    const Bytes late = WithCrc({0x01, 0x03, 0x02, 0x00, 0x07});
    SendAndWait(late);
    EXPECT_EQ(mb._ReadHoldingRegisters(1, 1, &word), 1);
    EXPECT_EQ(word, 0x2A);
    // Each line once, in order.
    EXPECT_EQ(Log(), (std::vector<std::string>{"PrRg:41 ", Line("PrRg:", late)}));
}

// --- coils and writes -------------------------------------------------------

TEST_F(ModbusWire, CoilRepliesAreJudgedByLengthAndCrc) {
    const Bytes good = WithCrc({0x01, 0x01, 0x02, 0xCD, 0x01});
    Bytes badCrc = good;
    badCrc[3] ^= 0x01;
    Bytes withStray = badCrc;
    withStray.push_back(0x77);
    const Judged cases[] = {
        {"good", good, 1, {}, 0},
        {"wrong crc", badCrc, 0, {}, 1},
        {"wrong crc and a stray byte", withStray, 0, {"RCoil: 77 "}, 1},
        {"exception reply", WithCrc({0x01, 0x81, 0x02}), 0, {}, 0},
        {"four bytes", {0x01, 0x01, 0x02, 0xCD}, 0, {"RCoil: 01 01 02 CD "}, 0},
        {"silence", {}, 0, {}, 0},
    };
    for (const Judged& c : cases) {
        SCOPED_TRACE(c.name);
        unsigned char bits[2] = {0, 0};
        const Outcome o = Exchange(8, c.reply, [&] { return mb.ReadCoils(0x13, 10, bits); });
        EXPECT_EQ(std::tie(o.result, o.log, o.slowDrains), std::tie(c.result, c.log, c.slowDrains));
        EXPECT_EQ(o.requests.size(), 1u);
        if (c.result == 1) {
            EXPECT_EQ(bits[0] << 8 | bits[1], 0xCD01);
        }
    }
}

TEST_F(ModbusWire, WriteEchoesNeedCrcAndFunctionCode) {
    unsigned short words[2] = {0x1234, 0xABCD};
    const Bytes echo = WithCrc({0x01, 0x10, 0x10, 0x90, 0x00, 0x02});
    Bytes badCrc = echo;
    badCrc[7] ^= 1;
    const Judged cases[] = {
        {"good", echo, 1, {}, 0},
        {"count is not compared", WithCrc({0x01, 0x10, 0, 0, 0, 9}), 1, {}, 0},
        {"wrong function, right crc", WithCrc({0x01, 0x06, 0x10, 0x90, 0x00, 0x02}), 0, {}, 1},
        {"wrong crc", badCrc, 0, {}, 1},
        {"exception reply", WithCrc({0x01, 0x90, 0x02}), 0, {}, 0},
        {"silence", {}, 0, {}, 0},
    };
    for (const Judged& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome o =
            Exchange(13, c.reply, [&] { return mb.WriteMultipleRegisters(0x1090, 2, words); });
        EXPECT_EQ(std::tie(o.result, o.slowDrains), std::tie(c.result, c.slowDrains));
        EXPECT_EQ(o.requests.size(), 1u);
    }
}

TEST_F(ModbusWire, CoilWriteEchoes) {
    unsigned char bits[2] = {0xCD, 0x01};
    // A wrong echo drains the leftovers after the pause.
    Bytes wrong = WithCrc({0x01, 0x0E, 0x00, 0x13, 0x00, 0x0A});
    wrong.push_back(0x99);
    Outcome o = Exchange(11, wrong, [&] { return mb.WriteMultipleCoils(0x13, 10, bits); });
    EXPECT_EQ(std::tie(o.result, o.log, o.slowDrains),
              std::make_tuple(0, std::vector<std::string>{"WCoil: 99 "}, std::size_t(1)));

    // A short echo stays for the next attempt's pre-drain.
    const Bytes exception = WithCrc({0x01, 0x8F, 0x02});
    mb.SetRetryTimes(2);
    o = Exchange(11, exception, [&] { return mb.WriteMultipleCoils(0x13, 10, bits); });
    EXPECT_EQ(std::tie(o.result, o.log),
              std::tuple(0, std::vector<std::string>{Line("PrWc:", exception)}));
    EXPECT_EQ(o.requests, std::vector<Bytes>(2, Hex("01 0F 00 13 00 0A 02 CD 01 72 CB")));
}

// --- Report Slave ID --------------------------------------------------------

TEST_F(ModbusWire, ReportSlaveIdJudging) {
    const Bytes good = WithCrc({0x01, 0x11, 0x06, 0x0A, 0xFF, 'T', '5', 'v', '2'});
    const Bytes identException = WithCrc({0x01, 0x91, 0x01});
    const std::string exceptionLine =
        Line("RSlv: ", Bytes(identException.begin() + 3, identException.end()));
    Bytes badCrc = good;
    badCrc[5] = 'X';
    const struct {
        Judged judged;
        unsigned char capacity, capacityAfter;
    } cases[] = {
        {{"good", good, 1, {}, 0}, 10, 10},
        {{"capacity too small", good, 0, {}, 1}, 3, 4},
        {{"wrong crc", badCrc, 0, {}, 1}, 10, 10},
        {{"header only", {0x01, 0x11, 0x06}, 0, {}, 0}, 10, 10},
        {{"partial remainder", {0x01, 0x11, 0x06, 0x0A, 0xFF}, 0, {"RSlv: 0A FF "}, 0}, 10, 10},
        {{"exception reply", identException, 0, {exceptionLine}, 1}, 10, 10},
        {{"byte count 250", {0x01, 0x11, 250, 0x01}, 0, {"RSlv: 01 "}, 1}, 10, 10},
        {{"two bytes", {0x01, 0x11}, 0, {"RSlv: 01 11 "}, 1}, 10, 10},
        {{"no identifier bytes", WithCrc({0x01, 0x11, 0x01, 0x0A}), 0, {}, 1}, 10, 10},
        {{"silence", {}, 0, {}, 1}, 10, 10},
    };
    for (const auto& c : cases) {
        const Judged& j = c.judged;
        SCOPED_TRACE(j.name);
        char text[16] = {};
        unsigned char capacity = c.capacity;
        unsigned char id = 0, run = 0;
        const Outcome o =
            Exchange(4, j.reply, [&] { return mb.ReportSlaveID(text, &capacity, &id, &run); });
        EXPECT_EQ(std::tie(o.result, o.log, o.slowDrains), std::tie(j.result, j.log, j.slowDrains));
        EXPECT_EQ(o.requests.size(), 1u);
        EXPECT_EQ(capacity, c.capacityAfter);
        if (j.result == 1) {
            EXPECT_EQ(std::tuple(std::string(text), id, run), std::tuple("T5v2", 0x0A, 0xFF));
        }
    }
}

} // namespace
