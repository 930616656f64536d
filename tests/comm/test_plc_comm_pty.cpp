// The controller link on the wire: request frames with their sum check, and
// the answers a controller gives or fails to give, against a scripted far end
// on a pty.
#include "FarEnd.h"
#include "PLCComm.h"
#include "SerialFormat.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace {

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}
Bytes Enq(const std::string& text) {
    return Text("\x05" + text);
}

const std::string kAckText = std::string(1, '\x06') + "00FF";
const Bytes kAck = Text(kAckText);
const Bytes kNak = Text(std::string(1, '\x15') + "00FF06");

class PLCCommWire : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(plc._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
        plc.SetPreCountQueTimes(200000); // a poll takes microseconds: well over 100 ms
    }
    void TearDown() override { plc.CloseComPort(); }

    PtyPair pty;
    CPLCComm plc;
    SleepRecorder pauses{&plc, {50, 100}};
};

// The golden frames below prove the sum check; this is its carry and case.
TEST_F(PLCCommWire, SumCheckIsTwoUpperCaseHexDigits) {
    unsigned char frame[] = {0x05, 0xFF, 0xA4, 0, 0}; // after ENQ: 0xFF + 0xA4 = 0x1A3
    plc.SetCheckSum(frame, sizeof frame);
    EXPECT_EQ(std::string(frame + 3, frame + 5), "A3");
    frame[4] = 'a';
    EXPECT_FALSE(plc.IsCheckSumOk(frame, sizeof frame));
    EXPECT_FALSE(plc.IsCheckSumOk(frame, 2));
}

TEST_F(PLCCommWire, WritesSendTheirFramesAndJudgeTheAnswer) {
    const Bytes word = Enq("00FFWW0D0100011234FA");
    const auto writeWord = [&] { return plc.PLC_WW16("D0100", 0x1234); };
    const struct {
        const char* name;
        std::function<int()> call;
        Bytes request, reply;
        int result;
    } rows[] = {
        {"one bit", [&] { return plc.PLC_BW1("M0100", 1); }, Enq("00FFBW0M010001155"), kAck, 0},
        {"bits", [&] { return plc.PLC_BW("M0100", 5, "10110"); }, Enq("00FFBW0M010005101101B"),
         kAck, 0},
        {"word", writeWord, word, kAck, 0},
        {"double word", [&] { return plc.PLC_DWW("D0100", 0x12345678); },
         Enq("00FFWW0D01000256781234D5"), kAck, 0},
        {"ACK and one byte more", writeWord, word, Text(kAckText + "X"), 3},
        {"NAK", writeWord, word, kNak, 1},
        {"no answer", writeWord, word, Bytes{}, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const LinkOutcome o = RunAgainstFarEnd(pty, row.request.size(), {row.reply}, row.call);
        EXPECT_EQ(o.result, row.result);
        EXPECT_EQ(o.requests, std::vector<Bytes>{row.request});
        EXPECT_EQ(plc.PreCountInQue(), 0u);
    }
}

// A data reply: STX, the text, ETX and the two sum digits as given.
Bytes Data(const std::string& text, const std::string& sum) {
    return Text("\x02" + text + "\x03" + sum);
}

TEST_F(PLCCommWire, ReadsTakeTheirRepliesApart) {
    unsigned char bits[3] = {9, 9, 9};
    unsigned short words[2] = {7, 7};
    const struct {
        const char* name;
        bool bitRead;
        Bytes reply;
        int result;
    } rows[] = {
        {"bits", true, Data("00FF101", "81"), 0},
        {"bits cut short", true, Data("00FF10", "81"), 3},
        {"bits too long", true, Data("00FF1011", "81"), 3},
        {"bits, bad sum", true, Data("00FF111", "81"), 3},
        {"bits, not bits", true, Data("00FF1A1", "92"), 3},
        {"bits refused", true, kNak, 1},
        {"bits unanswered", true, {}, 2},
        {"words", false, Data("00FF12ABFFFE", "EC"), 0},
        {"words cut short", false, Data("00FF12ABFFF", "EC"), 3},
        {"words, bad sum", false, Data("00FF12ABFFFE", "ED"), 3},
        {"words, not hex", false, Data("00FF12AB0G0E", "C1"), 3},
        {"words refused", false, kNak, 1},
        {"words unanswered", false, {}, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::fill(bits, bits + 3, 9);
        std::fill(words, words + 2, 7);
        const Bytes request = Enq(row.bitRead ? "00FFBR0M01000321" : "00FFWR0D0100022C");
        const LinkOutcome o = RunAgainstFarEnd(pty, request.size(), {row.reply}, [&] {
            return row.bitRead ? plc._PLC_BR("M0100", "03", bits) : plc.PLC_WR16("D0100", 2, words);
        });
        EXPECT_EQ(o.result, row.result);
        EXPECT_EQ(o.requests, std::vector<Bytes>{request});
        EXPECT_EQ(plc.PreCountInQue(), 0u);
        // Only a good reply reaches the caller's values.
        const bool good = row.result == 0;
        EXPECT_EQ(Bytes(bits, bits + 3), good && row.bitRead ? (Bytes{1, 0, 1}) : (Bytes{9, 9, 9}));
        EXPECT_EQ(words[0] << 16 | words[1], good && !row.bitRead ? 0x12ABFFFE : 0x70007);
    }
}

TEST_F(PLCCommWire, RefusedArgumentsSendNothing) {
    unsigned char bits[4] = {};
    unsigned short words[1] = {};
    const std::string many(161, '1');
    const struct {
        const char* name;
        std::function<int()> call;
    } rows[] = {
        {"161 bits", [&] { return plc.PLC_BW("M0100", 161, many.c_str()); }},
        {"data shorter than count", [&] { return plc.PLC_BW("M0100", 4, "101"); }},
        {"device too short", [&] { return plc.PLC_WW16("D100", 1); }},
        {"device too long", [&] { return plc.PLC_DWW("D01000", 1); }},
        {"no device", [&] { return plc.PLC_BW1(nullptr, 1); }},
        {"count not hex", [&] { return plc._PLC_BR("M0100", "0x", bits); }},
        {"word count beyond two digits", [&] { return plc.PLC_WR16("D0100", 256, words); }},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.call(), 3) << row.name;
    EXPECT_TRUE(pty.Receive(4096, 50).empty());
}

TEST_F(PLCCommWire, BitReadRetriesAsConfigured) {
    unsigned char bits[3] = {};
    plc.SetRetryTimes(3);
    LinkOutcome o = RunAgainstFarEnd(pty, 17, {}, [&] { return plc.PLC_BR("M0100", "03", bits); });
    EXPECT_EQ(std::tuple(o.result, o.requests.size()), std::tuple(1, 3u));
    o = RunAgainstFarEnd(pty, 17, {Data("00FF011", "81")},
                         [&] { return plc.PLC_BR("M0100", "03", bits); });
    EXPECT_EQ(std::tuple(o.result, o.requests.size(), Bytes(bits, bits + 3)),
              std::tuple(0, 1u, Bytes{0, 1, 1}));
}

} // namespace
