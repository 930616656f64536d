// The drive service protocol on the wire: service frames and their check
// byte, replies good, short, refused and late; the Modbus conveniences as
// golden requests; the beeping retries. Against scripted far ends on a pty.
#include "FarEnd.h"
#include "MCComm.h"
#include "SerialFormat.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <numeric>
#include <tuple>

namespace {

class MCCommWire : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(mc._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
        mc.waitWriteTime = 1;
        mc.preCountQueTimes = 400;
    }
    void TearDown() override { mc.CloseComPort(); }

    LinkOutcome Exchange(std::size_t requestLength, std::vector<Bytes> replies,
                         const std::function<int()>& call) {
        pauses.Clear();
        return RunAgainstFarEnd(pty, requestLength, std::move(replies), call);
    }

    PtyPair pty;
    CMCComm mc;
    SleepRecorder pauses{&mc, {100, 50}};
};

Bytes Counting(std::size_t n, std::uint8_t from = 0) {
    Bytes bytes(n);
    std::iota(bytes.begin(), bytes.end(), from);
    return bytes;
}

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The golden requests below prove the check byte of whole frames, and its
// wrap ("save serial", "all DIO flags"); a frame too short for a sum gets 0.
TEST_F(MCCommWire, AppendCheckSumSparesShortFrames) {
    unsigned char frame[2] = {0x05, 0x77};
    mc.AppendCheckSum(frame, 2);
    EXPECT_EQ(frame[1], 0x00);
}

// --- service frames ----------------------------------------------------------

TEST_F(MCCommWire, ServiceFramesGoOutAndRepliesAreTakenApart) {
    std::int32_t value = 0;
    unsigned char serial[32] = {}, info[27] = {};
    std::int32_t positions[3] = {};
    const auto readBatch = [&] {
        std::fill(positions, positions + 3, 7);
        return mc.ReadDIOPositionBatch(4, 3, positions);
    };
    const Bytes batchRequest = Hex("05 00 05 02 04 03 0E"),
                batchReply = Hex("06 00 05 00 00 00 01 FF FF FF FF 00 01 00 00 03 00");
    const Bytes serialData = Counting(32);
    const auto readParm = [&] { return mc.EM_ReadParm(7, value = 55); };
    const auto saveParm = [&] { return mc.EM_SaveParm(5, 0x01020304); };
    const auto readSerial = [&] { return mc.ReadSerialData(serial); };
    const Bytes readParmRequest = Hex("05 00 03 01 07 0B"),
                readSerialRequest = Hex("05 00 09 00 09");
    const Bytes saveParmRequest = Hex("05 00 15 05 05 01 02 03 04 29");
    const struct {
        const char* name;
        std::function<int()> call;
        Bytes request, reply;
        int result;
        std::function<void()> check;
        std::size_t pauses = 1; // of 100 ms, after the request
    } rows[] = {
        {"read parm 7", readParm, readParmRequest, Hex("06 00 03 12 34 56 78 CF"), 1,
         [&] { EXPECT_EQ(value, 0x12345678); }, 2},
        {"read parm cut short", readParm, readParmRequest, Hex("06 00 03 12 34 56"), 0,
         [&] { EXPECT_EQ(value, 55); }, 2},
        {"save parm accepted", saveParm, saveParmRequest, Hex("06 00 15 15"), 1, [] {}, 2},
        {"save parm refused", saveParm, saveParmRequest, Hex("15 00 15 15"), 0, [] {}, 2},
        {"save parm unanswered", [&] { return mc.EM_SaveParm(5, -1); },
         Hex("05 00 15 05 05 FF FF FF FF 1B"), Bytes{}, 0, [] {}, 2},
        // A batch reads its fixed length; one byte short, nothing is stored.
        {"position batch", readBatch, batchRequest, batchReply, 1,
         [&] {
             EXPECT_EQ(std::vector<std::int32_t>(positions, positions + 3),
                       (std::vector<std::int32_t>{1, -1, 0x10000}));
         },
         0},
        {"position batch cut short", readBatch, batchRequest,
         Bytes(batchReply.begin(), batchReply.end() - 1), 0, [&] { EXPECT_EQ(positions[2], 7); },
         0},
        {"all DIO flags", [&] { return mc.SetAllDIOFlag(); },
         Cat(Cat(Hex("05 00 06 10"), Bytes(16, 0xFF)), Hex("06")), Hex("06"), 1, [] {}},
        {"save serial", [&] { return mc.SaveSerialData(serialData.data()); },
         Cat(Cat(Hex("05 00 08 20"), serialData), Hex("18")), Hex("06"), 1, [] {}},
        {"read serial", readSerial, readSerialRequest,
         Cat(Cat(Hex("06 00 09"), Counting(32, 0x40)), Hex("00")), 1,
         [&] { EXPECT_EQ(Bytes(serial, serial + 32), Counting(32, 0x40)); }},
        {"read serial cut short", readSerial, readSerialRequest, Cat(Hex("06 00 09"), Counting(31)),
         0, [] {}},
        {"read info", [&] { return mc.ReadInfoData(info); }, Hex("05 00 0A 00 0A"),
         Cat(Cat(Hex("06 00 0A"), Counting(27, 0x61)), Hex("00")), 1,
         [&] { EXPECT_EQ(Bytes(info, info + 27), Counting(27, 0x61)); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const LinkOutcome o = Exchange(row.request.size(), {row.reply}, row.call);
        EXPECT_EQ(o.result, row.result);
        EXPECT_EQ(o.requests, std::vector<Bytes>{row.request});
        row.check();
        // Nothing the far end sent is left for the next exchange.
        EXPECT_EQ(mc.PreCountInQue(), 0u);
        EXPECT_EQ(pauses.Count(100), row.pauses);
    }
}

TEST_F(MCCommWire, AnAcceptanceAfterAnotherReplyIsTaken) {
    bool sent = false;
    pauses.OnPause([&](unsigned ms) {
        if (ms == 50 && !sent)
            pty.Send(Hex("06 00 06 06"));
        sent = sent || ms == 50;
    });
    LinkOutcome o = Exchange(21, {Hex("15 00 06")}, [&] { return mc.SetAllDIOFlag(); });
    EXPECT_EQ(std::tuple(o.result, pauses.Count(50)), std::tuple(1, 1u));
    pauses.OnPause(nullptr);

    // Refused and nothing after it: ten looks at the queue, then a failure.
    o = Exchange(21, {Hex("15 00 06")}, [&] { return mc.SetAllDIOFlag(); });
    EXPECT_EQ(std::tuple(o.result, pauses.Count(50)), std::tuple(0, 10u));
}

// --- Modbus conveniences -----------------------------------------------------

TEST_F(MCCommWire, ConveniencesSendTheirRegistersAndCoils) {
    std::int32_t value = 0;
    unsigned char flags[16] = {};
    const struct {
        const char* name;
        std::function<int()> call;
        const char* request; // without CRC
        const char* reply;   // without CRC
        std::int32_t expected;
    } rows[] = {
        {"read parm 6", [&] { return mc.ReadParm(6, value); }, "01 03 00 64 00 02",
         "01 03 04 00 02 00 01", 0x00010002},
        {"read parm 17", [&] { return mc.ReadParm(17, value); }, "01 03 00 0C 00 01",
         "01 03 02 12 34", 0x1234},
        {"read parm 22", [&] { return mc.ReadParm(22, value); }, "01 01 00 00 00 0E",
         "01 01 02 CD 01", 0x01CD},
        {"read parm 23", [&] { return mc.ReadParm(23, value); }, "01 03 00 96 00 02",
         "01 03 04 FF FF 7F FF", 0x7FFFFFFF},
        {"save parm 0", [&] { return mc.SaveParm(0, 0x12345); }, "01 10 00 50 00 01 02 23 45",
         "01 10 00 50 00 01", 0},
        {"save parm 21", [&] { return mc.SaveParm(21, 7); }, "01 10 00 53 00 01 02 00 07",
         "01 10 00 53 00 01", 0},
        {"loop back", [&] { return mc.LoopBackTest(); }, "01 10 00 50 00 01 02 00 01",
         "01 10 00 50 00 01", 0},
        {"save position 3", [&] { return mc.SaveDIOPosition(3, 0x00020001); },
         "01 10 00 CE 00 02 04 00 01 00 02", "01 10 00 CE 00 02", 0},
        {"read position 3", [&] { return mc.ReadDIOPosition(3, value); }, "01 03 00 CE 00 02",
         "01 03 04 00 01 00 02", 0x00020001},
        {"reset acc flags", [&] { return mc.ResetAccFlag(); },
         "01 0F 00 C0 00 80 10 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
         "01 0F 00 C0 00 80", 0},
        {"reset DIO flags", [&] { return mc.ResetDIOFlag(); },
         "01 0F 00 20 00 80 10 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
         "01 0F 00 20 00 80", 0},
        {"read DIO flags", [&] { return mc.ReadDIOFlag(flags); }, "01 01 00 20 00 80",
         "01 01 10 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        value = 0;
        const Bytes request = WithCrc(Hex(row.request));
        const LinkOutcome o = Exchange(request.size(), {WithCrc(Hex(row.reply))}, row.call);
        EXPECT_EQ(o.result, 1);
        EXPECT_EQ(o.requests, std::vector<Bytes>{request});
        EXPECT_EQ(value, row.expected);
        EXPECT_EQ(pauses.Beeps(), 0u);
    }
    EXPECT_EQ(Bytes(flags, flags + 16), Counting(16, 1));
    EXPECT_EQ(mc.readCount, 1);
}

TEST_F(MCCommWire, ResetAllRegisterWritesTenPairs) {
    const LinkOutcome o = Exchange(13, std::vector<Bytes>(10, WithCrc(Hex("01 10 00 00 00 02"))),
                                   [&] { return mc.ResetAllRegister(); });
    EXPECT_EQ(o.result, 1);
    std::vector<unsigned> addresses;
    for (const Bytes& request : o.requests) {
        EXPECT_EQ(ToHex(Bytes(request.begin() + 4, request.end() - 2)), "00 02 04 FF FF FF FF");
        addresses.push_back(request[2] << 8 | request[3]);
    }
    EXPECT_EQ(addresses, (std::vector<unsigned>{202, 204, 208, 216, 232, 264, 328, 456, 200, 454}));
}

TEST_F(MCCommWire, UnknownChannelsSendNothing) {
    std::int32_t value = 3;
    EXPECT_EQ(mc.SaveParm(5, 1), 0);
    EXPECT_EQ(mc.ReadParm(9, value), 0);
    EXPECT_EQ(mc.SaveDIOPosition(-1, 1), 0);
    EXPECT_EQ(mc.ReadDIOPosition(40000, value), 0);
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(pty.Receive(4096, 50).empty());
    EXPECT_EQ(pauses.Beeps(), 0u);
}

TEST_F(MCCommWire, RetriesPauseAndBeep) {
    mc.preCountQueTimes = 20;
    mc.retryLimit = 3;
    std::int32_t value = 0;
    // Never answered: retryLimit+1 attempts, a pause and beep after each
    // retry, and one beep more because the attempts reached the limit.
    LinkOutcome o = Exchange(8, {}, [&] { return mc.ReadParm(17, value); });
    EXPECT_EQ(
        std::tuple(o.result, o.requests.size(), pauses.Count(300), pauses.Beeps(), mc.retryCount),
        std::tuple(0, 4u, 3u, 4u, 3));

    // Answered at the third attempt, well inside a larger limit.
    mc.retryLimit = 5;
    const Bytes answer = WithCrc(Hex("01 03 02 00 09"));
    o = Exchange(8, {{}, {}, answer}, [&] { return mc.ReadParm(17, value); });
    EXPECT_EQ(std::tuple(o.result, value, o.requests.size(), pauses.Count(300), pauses.Beeps(),
                         mc.retryCount),
              std::tuple(1, 9, 3u, 2u, 2u, 5));

    // The flag operations retry alike, without counting.
    unsigned char flags[16] = {};
    o = Exchange(8, {}, [&] { return mc.ReadDIOFlag(flags); });
    EXPECT_EQ(std::tuple(o.result, o.requests.size(), pauses.Beeps(), mc.retryCount),
              std::tuple(0, 6u, 5u, 5));
}

} // namespace
