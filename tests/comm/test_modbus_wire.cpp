// The Modbus master on the wire: request bytes, reply judging (length, CRC,
// slave address, function code), drain labels, pauses and retry counts, against
// a scripted far end on a pseudo-terminal.
#include "FarEnd.h"
#include "Modbus.h"
#include "SerialFormat.h"
#include "WaitUntil.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace {

class ModbusWire : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(mb.hPort, 0);
        ASSERT_EQ(mb._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
        mb.waitWriteTime = 1;
        mb.preCountQueTimes = 400; // well over 400 ms for a far end that answers at once
        mb.monitorEnable = 1;
    }
    void TearDown() override { mb.CloseComPort(); }

    std::vector<std::string> Log() {
        std::vector<std::string> lines;
        std::string line;
        while (mb.MonitorGetPacket(line))
            lines.push_back(line);
        return lines;
    }
    // Far-end bytes that the port has seen arrive.
    void SendAndWait(const Bytes& bytes) {
        const unsigned long before = mb.PreCountInQue();
        pty.Send(bytes);
        ASSERT_TRUE(WaitUntil("the far end's bytes",
                              [&] { return mb.PreCountInQue() >= before + bytes.size(); }));
    }
    // Everything the master sent that no far end consumed.
    Bytes Sent() { return pty.Receive(4096, 50); }

    struct Outcome {
        int result;
        std::vector<Bytes> requests;
        std::vector<std::string> log;
        std::size_t slowDrains; // drains after the 300 ms pause
    };
    // One call against a far end answering every request of `requestLength`
    // bytes with `reply`.
    Outcome Exchange(std::size_t requestLength, const Bytes& reply,
                     const std::function<int()>& call) {
        sleeps.Clear();
        const LinkOutcome done = ExchangeWith(pty, requestLength, reply, call);
        Outcome o{done.result, done.requests, Log(), sleeps.Count(300)};
        mb.GarbageCollection("", 0); // whatever a failed request left behind
        mb.MonitorInit();
        return o;
    }

    PtyPair pty;
    SleepRecorder sleeps;
    CModbus mb;
};

// A packet log line: the label, then each byte and a space.
std::string Line(const char* label, const Bytes& bytes) {
    return label + ToHex(bytes) + " ";
}

// --- request frames --------------------------------------------------------

TEST_F(ModbusWire, RequestFramesAreTheGoldenBytes) {
    unsigned char coils[2] = {0xCD, 0x01};
    unsigned short words[2] = {0x1234, 0xABCD};
    unsigned char coilOut[2];
    unsigned short wordOut[2];
    char text[8];
    unsigned char capacity = sizeof text;
    mb.preCountQueTimes = 2;
    struct Case {
        const char* name;
        std::function<void()> call;
        const char* wire;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
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
        EXPECT_EQ(o.result, c.result);
        EXPECT_EQ(o.requests, std::vector<Bytes>{Hex("01 03 10 90 00 02 C0 E6")});
        EXPECT_EQ(o.log, c.log);
        if (c.reply == good) {
            EXPECT_EQ(words[0], 0x1234);
            EXPECT_EQ(words[1], 0xABCD);
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
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.requests.size(), 3u);
    EXPECT_EQ(o.log, std::vector<std::string>(3, "RReg: 77 "));
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
            EXPECT_EQ(bits[0], 0xCD);
            EXPECT_EQ(bits[1], 0x01);
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
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.requests, std::vector<Bytes>(2, Hex("01 0F 00 13 00 0A 02 CD 01 72 CB")));
    EXPECT_EQ(o.log, (std::vector<std::string>{Line("PrWc:", exception)}));
}

// --- Report Slave ID --------------------------------------------------------

TEST_F(ModbusWire, ReportSlaveIdJudging) {
    const Bytes good = WithCrc({0x01, 0x11, 0x06, 0x0A, 0xFF, 'T', '5', 'v', '2'});
    const Bytes identException = WithCrc({0x01, 0x91, 0x01});
    const std::string exceptionLine =
        Line("RSlv: ", Bytes(identException.begin() + 3, identException.end()));
    Bytes badCrc = good;
    badCrc[5] = 'X';
    struct Case {
        Judged judged;
        unsigned char capacity, capacityAfter;
    };
    const Case cases[] = {
        {{"good", good, 1, {}, 0}, 10, 10},
        {{"exact capacity", good, 1, {}, 0}, 4, 4},
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
    for (const Case& c : cases) {
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
            EXPECT_EQ(std::string(text), "T5v2");
            EXPECT_EQ(id, 0x0A);
            EXPECT_EQ(run, 0xFF);
        }
    }
}

// --- the asked slave's answer only -----------------------------------------

// Another slave's reply, another function code or an exception is no answer
// to slave 17; a refused read leaves its destination alone.
TEST_F(ModbusWire, OnlyTheAskedSlavesAnswerIsTaken) {
    mb.SetSlaveAddress(17);
    unsigned short word = 0, zero = 0;
    unsigned char bits = 0;
    char text[8] = {};
    unsigned char capacity = sizeof text;
    const auto readRegister = [&] { return mb.ReadHoldingRegisters(0x1090, 1, &word); };
    const auto readCoils = [&] { return mb.ReadCoils(0, 8, &bits); };
    const auto writeRegister = [&] { return mb.WriteMultipleRegisters(0x1090, 1, &zero); };
    const auto ident = [&] { return mb.ReportSlaveID(text, &capacity, nullptr, nullptr); };
    const char* const kRead = "11 03 10 90 00 01 82 77";
    const char* const kCoils = "11 01 00 00 00 08 3F 5C";
    const char* const kWrite = "11 10 10 90 00 01 02 00 00 67 01";
    const struct {
        const char* name;
        std::function<int()> call;
        const char *request, *reply;
        int result;
        std::size_t slowDrains;
    } rows[] = {
        {"slave 17 answers", readRegister, kRead, "11 03 02 00 2A F8 58", 1, 0},
        {"slave 18 answers, valid crc", readRegister, kRead, "12 03 02 00 2A BC 58", 0, 0},
        {"slave 17, another function", readRegister, kRead, "11 04 02 00 2A F9 2C", 0, 0},
        {"exception of slave 17", readRegister, kRead, "11 83 02 C1 34", 0, 0},
        {"exception of slave 18", readRegister, kRead, "12 83 02 31 34", 0, 0},
        {"coils of slave 17", readCoils, kCoils, "11 01 01 55 95 77", 1, 0},
        {"coils of slave 18", readCoils, kCoils, "12 01 01 55 95 33", 0, 1},
        {"coil exception of slave 17", readCoils, kCoils, "11 81 02 C0 54", 0, 0},
        {"echo of slave 17", writeRegister, kWrite, "11 10 10 90 00 01 07 B4", 1, 0},
        {"echo of slave 18", writeRegister, kWrite, "12 10 10 90 00 01 07 87", 0, 1},
        {"write exception of slave 17", writeRegister, kWrite, "11 90 02 CC 04", 0, 0},
        {"identity of slave 17", ident, "11 11 CD EC", "11 11 03 0A FF 5A 1E D4", 1, 0},
        {"identity of slave 18", ident, "11 11 CD EC", "12 11 03 0A FF 5A 1E E7", 0, 1},
        {"identity exception of slave 17", ident, "11 11 CD EC", "11 91 01 8D 95", 0, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        word = 0x5555;
        capacity = sizeof text;
        const Bytes request = Hex(r.request);
        const Outcome o = Exchange(request.size(), Hex(r.reply), r.call);
        EXPECT_EQ(std::tie(o.result, o.slowDrains), std::tie(r.result, r.slowDrains));
        EXPECT_EQ(o.requests, std::vector<Bytes>{request});
        if (r.request == kRead) {
            EXPECT_EQ(word, r.result ? 0x2A : 0x5555);
        }
    }
}

// The capacity a failed attempt reports must not widen the next attempt.
TEST_F(ModbusWire, IdentityTooLargeForTheBufferNeverOverrunsItOnRetries) {
    mb.SetRetryTimes(3);
    const Bytes reply = Hex("01 11 06 0A FF 54 35 76 32 12 95"); // four text bytes
    for (unsigned char given : {3, 4}) {
        char buffer[12];
        std::fill(std::begin(buffer), std::end(buffer), '#');
        unsigned char capacity = given;
        const Outcome o = Exchange(
            4, reply, [&] { return mb.ReportSlaveID(buffer, &capacity, nullptr, nullptr); });
        EXPECT_EQ(o.result, given == 4 ? 1 : 0);
        EXPECT_EQ(o.requests.size(), given == 4 ? 1u : 3u);
        EXPECT_EQ(capacity, 4) << "the size the reply needs";
        EXPECT_EQ(std::string(buffer + given, 12 - given), std::string(12 - given, '#'));
        if (given == 4) {
            EXPECT_EQ(std::string(buffer, 4), "T5v2");
        }
    }
}

TEST_F(ModbusWire, RequestsOverTheLimitsFailOnceWithoutPauses) {
    mb.SetRetryTimes(20);
    mb.SetRetryInterval(150);
    std::vector<unsigned short> words(200);
    std::vector<unsigned char> bits(300);
    const std::function<int()> calls[] = {
        [&] { return mb.ReadHoldingRegisters(0, 126, words.data()); },
        [&] { return mb.WriteMultipleRegisters(0, 124, words.data()); },
        [&] { return mb.ReadCoils(0, 2001, bits.data()); },
        [&] { return mb.WriteMultipleCoils(0, 1969, bits.data()); },
        [&] { return mb.Tx_WriteMultipleRegisters(0, 124, words.data()); },
    };
    for (const auto& call : calls) {
        sleeps.Clear();
        EXPECT_EQ(call(), 0);
        EXPECT_TRUE(sleeps.Pauses().empty()) << "no retry pauses for a request never sent";
    }
    EXPECT_TRUE(Sent().empty());
}

// --- retries and pauses -----------------------------------------------------

TEST_F(ModbusWire, RetryCountsAndIntervals) {
    struct Case {
        unsigned retryTimes;
        unsigned retryInterval;
        std::size_t attempts;
        std::size_t pauses;
    };
    const Case cases[] = {{0, 100, 1, 0}, {1, 100, 1, 0}, {2, 0, 2, 0}, {5, 100, 5, 5}};
    mb.preCountQueTimes = 3;
    unsigned short word;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.retryTimes);
        sleeps.Clear();
        mb.SetRetryTimes(c.retryTimes);
        mb.SetRetryInterval(c.retryInterval);
        EXPECT_EQ(mb.ReadHoldingRegisters(0, 1, &word), 0);
        EXPECT_EQ(Sent().size(), 8 * c.attempts);
        EXPECT_EQ(sleeps.Count(100), c.pauses);
    }
}

TEST_F(ModbusWire, SuccessAfterFailuresStopsRetrying) {
    mb.SetRetryTimes(5);
    mb.SetRetryInterval(20);
    mb.preCountQueTimes = 60;
    unsigned short word = 0;
    const LinkOutcome o =
        RunAgainstFarEnd(pty, 8, {{}, {}, WithCrc({0x01, 0x03, 0x02, 0x00, 0x01})},
                         [&] { return mb.ReadHoldingRegisters(0, 1, &word); });
    EXPECT_EQ(o.result, 1);
    EXPECT_EQ(o.requests.size(), 3u);
    EXPECT_EQ(word, 1);
    EXPECT_EQ(sleeps.Count(20), 2u);
}

TEST_F(ModbusWire, LatePollsTakeTheExtraPause) {
    mb.waitWriteTime = 0;
    mb.preCountQueTimes = 10;
    mb.latePollCount = 3;
    mb.latePollPause = 7;
    unsigned short word;
    EXPECT_EQ(mb._ReadHoldingRegisters(0, 1, &word), 0);
    EXPECT_EQ(sleeps.Pauses(), (std::vector<unsigned>{7, 7, 7, 7}));

    sleeps.Clear();
    mb.latePollCount = 10; // not smaller than the poll count: off
    EXPECT_EQ(mb._ReadHoldingRegisters(0, 1, &word), 0);
    EXPECT_TRUE(sleeps.Pauses().empty());
}

TEST_F(ModbusWire, WriteDelayPrecedesEveryTransmission) {
    mb.writeDelay = 9;
    mb.preCountQueTimes = 0;
    unsigned short word = 0;
    mb._ReadHoldingRegisters(0, 1, &word);
    mb.Tx_WriteMultipleRegisters(0, 1, &word);
    EXPECT_EQ(sleeps.Count(9), 2u);
}

// Order and single delivery are checked with the pre-drain above.
TEST_F(ModbusWire, PacketLogIsClearedByInitAndSilentWhenDisabled) {
    mb.preCountQueTimes = 0;
    unsigned short word;
    std::string line;
    SendAndWait({0x43});
    mb._ReadHoldingRegisters(0, 1, &word);
    mb.MonitorInit();
    EXPECT_EQ(mb.MonitorGetPacket(line), 0);

    mb.monitorEnable = 0;
    SendAndWait({0x44});
    mb._ReadHoldingRegisters(0, 1, &word);
    EXPECT_EQ(mb.MonitorGetPacket(line), 0);
    mb.monitorEnable = 1;
    SendAndWait({0x45});
    mb._ReadHoldingRegisters(0, 1, &word);
    EXPECT_EQ(Log(), std::vector<std::string>{"PrRg:45 "});
}

} // namespace
