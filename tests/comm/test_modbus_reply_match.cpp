// Which replies the Modbus master takes as the answer of the slave it asked,
// requests that can never be sent, retries, pauses and the packet log, against
// a scripted far end on a pseudo-terminal.
#include "ModbusWireFixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

namespace {

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
        // Capacity: the size the reply needs.
        EXPECT_EQ(std::tuple(o.result, o.requests.size(), capacity),
                  std::tuple(given == 4 ? 1 : 0, given == 4 ? 1u : 3u, 4));
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
    const struct {
        unsigned retryTimes;
        unsigned retryInterval;
        std::size_t attempts;
        std::size_t pauses;
    } cases[] = {{0, 100, 1, 0}, {1, 100, 1, 0}, {2, 0, 2, 0}, {5, 100, 5, 5}};
    mb.preCountQueTimes = 3;
    unsigned short word;
    for (const auto& c : cases) {
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
    EXPECT_EQ(std::tuple(o.result, o.requests.size(), word, sleeps.Count(20)),
              std::tuple(1, 3u, 1, 2u));
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
