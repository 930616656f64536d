// Which replies the Modbus master takes as the answer of the slave it asked:
// the slave address and function code must match the request, an exception
// reply of the right slave stays a failed request, and requests that can never
// be sent or answered fail without wasting retries. Golden frames against a
// scripted far end on a pseudo-terminal.
#include "FarEnd.h"
#include "Modbus.h"
#include "SerialFormat.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

class ModbusReplyMatch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(mb._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
        mb.waitWriteTime = 1;
        mb.preCountQueTimes = 400;
        mb.SetSlaveAddress(17);
    }
    void TearDown() override { mb.CloseComPort(); }

    struct Outcome {
        int result;
        std::vector<Bytes> requests;
        std::size_t slowDrains;
    };
    Outcome Exchange(std::size_t requestLength, const Bytes& reply,
                     const std::function<int()>& call) {
        sleeps.Clear();
        const LinkOutcome done = ExchangeWith(pty, requestLength, reply, call);
        mb.GarbageCollection("", 0); // whatever a failed request left behind
        return {done.result, done.requests, sleeps.Count(300)};
    }

    PtyPair pty;
    SleepRecorder sleeps;
    CModbus mb;
};

struct MatchCase {
    const char* name;
    const char* reply;
    int result;
    std::size_t slowDrains;
};

TEST_F(ModbusReplyMatch, RegisterReadTakesOnlyTheAskedSlavesAnswer) {
    const MatchCase cases[] = {
        {"slave 17 answers", "11 03 02 00 2A F8 58", 1, 0},
        {"slave 18 answers, valid crc", "12 03 02 00 2A BC 58", 0, 0},
        {"slave 17, another function", "11 04 02 00 2A F9 2C", 0, 0},
        {"exception of slave 17", "11 83 02 C1 34", 0, 0},
        {"exception of slave 18", "12 83 02 31 34", 0, 0},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        unsigned short word = 0x5555;
        const Outcome o =
            Exchange(8, Hex(c.reply), [&] { return mb.ReadHoldingRegisters(0x1090, 1, &word); });
        EXPECT_EQ(o.result, c.result);
        EXPECT_EQ(o.requests, std::vector<Bytes>{Hex("11 03 10 90 00 01 82 77")});
        EXPECT_EQ(word, c.result ? 0x2A : 0x5555) << "a refused reply leaves the destination";
    }
}

TEST_F(ModbusReplyMatch, CoilReadWriteAndIdentityCheckTheSlave) {
    unsigned char bits = 0;
    unsigned short zero = 0;
    char text[8] = {};
    unsigned char capacity = sizeof text;
    const auto readCoils = [&] { return mb.ReadCoils(0, 8, &bits); };
    const auto writeRegister = [&] { return mb.WriteMultipleRegisters(0x1090, 1, &zero); };
    const auto ident = [&] {
        capacity = sizeof text;
        return mb.ReportSlaveID(text, &capacity, nullptr, nullptr);
    };
    struct Row {
        MatchCase match;
        std::function<int()> call;
        const char* request;
    };
    const Row rows[] = {
        {{"coils of slave 17", "11 01 01 55 95 77", 1, 0}, readCoils, "11 01 00 00 00 08 3F 5C"},
        {{"coils of slave 18", "12 01 01 55 95 33", 0, 1}, readCoils, "11 01 00 00 00 08 3F 5C"},
        {{"coil exception of slave 17", "11 81 02 C0 54", 0, 0},
         readCoils,
         "11 01 00 00 00 08 3F 5C"},
        {{"echo of slave 17", "11 10 10 90 00 01 07 B4", 1, 0},
         writeRegister,
         "11 10 10 90 00 01 02 00 00 67 01"},
        {{"echo of slave 18", "12 10 10 90 00 01 07 87", 0, 1},
         writeRegister,
         "11 10 10 90 00 01 02 00 00 67 01"},
        {{"write exception of slave 17", "11 90 02 CC 04", 0, 0},
         writeRegister,
         "11 10 10 90 00 01 02 00 00 67 01"},
        {{"identity of slave 17", "11 11 03 0A FF 5A 1E D4", 1, 0}, ident, "11 11 CD EC"},
        {{"identity of slave 18", "12 11 03 0A FF 5A 1E E7", 0, 1}, ident, "11 11 CD EC"},
        {{"identity exception of slave 17", "11 91 01 8D 95", 0, 1}, ident, "11 11 CD EC"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.match.name);
        const Bytes request = Hex(r.request);
        const Outcome o = Exchange(request.size(), Hex(r.match.reply), r.call);
        EXPECT_EQ(o.result, r.match.result);
        EXPECT_EQ(o.slowDrains, r.match.slowDrains);
        EXPECT_EQ(o.requests, std::vector<Bytes>{request});
    }
}

TEST_F(ModbusReplyMatch, IdentityTooLargeForTheBufferNeverOverrunsItOnRetries) {
    mb.SetSlaveAddress(1);
    mb.SetRetryTimes(3);
    // Four text bytes for a buffer of three, with guard bytes around it.
    const Bytes reply = Hex("01 11 06 0A FF 54 35 76 32 12 95");
    char buffer[3 + 8];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    unsigned char capacity = 3;
    const Outcome o =
        Exchange(4, reply, [&] { return mb.ReportSlaveID(buffer, &capacity, nullptr, nullptr); });
    EXPECT_EQ(o.result, 0);
    EXPECT_EQ(o.requests.size(), 3u);
    EXPECT_EQ(capacity, 4) << "the size the reply needs";
    EXPECT_EQ(std::string(buffer + 3, 8), "########") << "nothing written past the buffer";

    capacity = 4;
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(
        Exchange(4, reply, [&] { return mb.ReportSlaveID(buffer, &capacity, nullptr, nullptr); })
            .result,
        1);
    EXPECT_EQ(std::string(buffer, 5), "T5v2#");
}

TEST_F(ModbusReplyMatch, RequestsOverTheLimitsFailOnceWithoutPauses) {
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
    EXPECT_TRUE(pty.Receive(4096, 50).empty());
}

} // namespace
