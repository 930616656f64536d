// A Modbus master on a pseudo-terminal whose far end the test scripts: every
// call's result, the requests it sent, its packet log and its slow drains.
#pragma once

#include "FarEnd.h"
#include "Modbus.h"
#include "SerialFormat.h"
#include "WaitUntil.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

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
    // One call against a far end answering up to eight requests of
    // `requestLength` bytes with `reply`.
    Outcome Exchange(std::size_t requestLength, const Bytes& reply,
                     const std::function<int()>& call) {
        sleeps.Clear();
        const LinkOutcome done =
            RunAgainstFarEnd(pty, requestLength, std::vector<Bytes>(8, reply), call);
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
inline std::string Line(const char* label, const Bytes& bytes) {
    return label + ToHex(bytes) + " ";
}
