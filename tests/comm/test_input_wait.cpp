// One step of a reply wait over a real pseudo-terminal: it ends the wait once
// the awaited bytes or a failure are there, and sleeps on the port, not for
// the whole pause, until the first byte comes.
#include "PtyPair.h"
#include "SerialFormat.h"
#include "UARTComm.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

using std::chrono::microseconds;

class WaitingPort : public CUARTComm {
public:
    using CUARTComm::AwaitInputStep;
};

TEST(InputWaitStep, EndsOnlyWhenTheAwaitedBytesWaitOrThePortFailed) {
    const struct {
        const char* what;
        std::size_t sent;
        unsigned long awaited;
        bool unplug;
        bool ends;
    } cases[] = {
        {"nothing yet", 0, 5, false, false},      {"part of the reply", 3, 5, false, false},
        {"the whole reply", 5, 5, false, true},   {"more than the reply", 7, 5, false, true},
        {"the port went away", 0, 5, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PtyPair pty;
        WaitingPort port;
        ASSERT_EQ(port._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
        pty.Send(std::vector<std::uint8_t>(c.sent, 0x55));
        ASSERT_TRUE(WaitUntil("bytes at the port", [&] { return port.PreCountInQue() >= c.sent; }));
        if (c.unplug)
            pty.CloseMaster();
        EXPECT_EQ(port.AwaitInputStep(c.awaited, microseconds(2000)), c.ends);
        port.CloseComPort();
    }
}

// A step given ten minutes returns when the first byte comes; were it to sleep
// out its time, the suite's time-out would end the test.
TEST(InputWaitStep, WakesAtTheFirstByte) {
    PtyPair pty;
    WaitingPort port;
    ASSERT_EQ(port._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1), 1);
    std::thread farEnd([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        pty.Send({0x01});
    });
    EXPECT_FALSE(port.AwaitInputStep(5, std::chrono::minutes(10)));
    farEnd.join();
    EXPECT_EQ(port.PreCountInQue(), 1u);
    port.CloseComPort();
}

} // namespace
