// The capture engine on a pseudo-terminal whose far end is a scripted drive:
// the set-up writes, triggered streaming, a lost port, the link claims and
// the clear commands. The test plays the
// window (publishing requests) and the host (running cycles).
#include "CaptureMath.h"
#include "FarEnd.h"
#include "ScopeFarEnd.h"
#include "SerialFormat.h"
#include "StandaloneContext.h"
#include "TimeOut.h"
#include "TracelensApp.h"
#include "WaitUntil.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>

namespace tracelens {
namespace {

// A tick counter the test can move ahead, so 2000 ms time-outs pass at once.
inline std::atomic<std::uint32_t> gTickOffset{0};
inline std::uint32_t TestTicks() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
               std::chrono::duration_cast<std::chrono::milliseconds>(now).count()) +
           gTickOffset.load();
}

class EngineTest : public testing::Test {
protected:
    EngineTest() {
        gTickOffset = 0;
        SetTickSource(&TestTicks);
        EXPECT_EQ(opener._OpenDevicePort(pty.SlavePath().c_str(), dcb, 1), 1);
        context.PublishPort(opener.hPort, 0, dcb);
        app.Attach(&context.Context());
    }
    ~EngineTest() override {
        if (app.link.hPort > 0)
            app.link.CloseComPort();
        SetTickSource(nullptr);
    }

    // Runs cycles until `done` holds; a time-out fails naming `what`.
    void RunUntil(const std::function<bool()>& done, const char* what) {
        ASSERT_TRUE(
            WaitUntil(what, done, std::chrono::seconds(10), [this] { app.ExternThread(); }));
    }

    // The window publishes; the next cycle takes the request and applies
    // settings whose counters moved.
    void Publish() {
        app.WorkingRequest().word[ScopeRequest::kRedraw] = 1;
        ASSERT_TRUE(app.PublishRequest());
        app.ExternThread();
    }
    void SetDriveWords(bool wideA, bool wideC, std::array<int, 4> codes) {
        app.MasterChannels()[0].wide = wideA;
        app.MasterChannels()[2].wide = wideC;
        app.WorkingRequest().word[ScopeRequest::kDriveWords] = PairingWord(wideA, wideC);
        for (int i = 0; i < 4; ++i)
            app.WorkingRequest().word[ScopeRequest::kDriveWords + 1 + i] = codes[i];
    }
    void Run(int mode) {
        app.WorkingRequest().word[ScopeRequest::kRunMode] = mode;
        Publish();
    }
    // "Continue" with codes 1..4 on plain channels.
    void Stream() {
        SetDriveWords(false, false, {1, 2, 3, 4});
        Run(kModeContinue);
    }
    const ScopeStatus& Status() {
        app.WorkingRequest().word[ScopeRequest::kRedraw] = 0;
        app.PublishRequest();
        app.ExternThread();
        app.PublishRequest(); // the window's copy of what the cycle published
        return app.WindowStatus();
    }

    SleepRecorder pauses;
    PtyPair pty;
    ScopeFarEnd farEnd{pty};
    DCB dcb = wirelay::MakeSerialDcb(3); // 115200 N,1
    CUARTComm opener;
    StandaloneContext context;
    CTracelensApp app;
};

// The frames on the wire of a streaming set-up with a wide channel A.
TEST_F(EngineTest, SetUpWritesTheSamplingRegistersInOrder) {
    SetDriveWords(true, false, {1, 2, 3, 4});
    Run(kModeContinue);
    RunUntil([&] { return app.CaptureState() == 3; }, "streaming");
    const std::vector<Bytes> requests = farEnd.Requests();
    ASSERT_GE(requests.size(), 7u);
    const char* golden[] = {"01 10 00 90 00 01 02 00 00", "01 10 00 A1 00 01 02 00 11",
                            "01 10 00 A2 00 01 02 00 01", "01 10 00 A3 00 01 02 00 02",
                            "01 10 00 A4 00 01 02 00 03", "01 10 00 A5 00 01 02 00 04",
                            "01 10 00 90 00 01 02 00 01"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(ToHex(requests[i]), ToHex(WithCrc(Hex(golden[i])))) << "request " << i;
}

// Channel A rises 0..999 and starts again: a level of 500 on a rising edge
// completes a frame of 100 samples once per 1000 samples.
class RisingFrames : public EngineTest {
protected:
    // Codes 1..4 on plain channels, every timing counter raised, then `mode`.
    void Start(int mode) {
        ScopeTiming& timing = app.MasterTiming();
        timing.timeBase = 10;
        timing.trigger = TriggerDatas{1, 0, 0, TrigRising, TrigRising, 500, 0, 50};
        timing.delay = 50;
        for (int counter : {ScopeRequest::kTimeBaseCounter, ScopeRequest::kDelayCounter,
                            ScopeRequest::kTriggerCounter})
            ++app.WorkingRequest().word[counter];
        SetDriveWords(false, false, {1, 2, 3, 4});
        Publish();
        Run(mode);
    }
};

TEST_F(RisingFrames, NormalStreamingCompletesFramesAndRearms) {
    Start(kModeNormal);
    RunUntil([&] { return Status().counter[ScopeStatus::kTriggerCounter] >= 2; }, "two frames");
    EXPECT_EQ(app.CaptureState(), 4);
    EXPECT_EQ(farEnd.Count({0x0090, 0}), 1u); // only the set-up's stop
    const CCirBuf& shown = app.Chart().ShownBuf(0);
    EXPECT_LT(shown.SatGet(49), 500);
    EXPECT_GE(shown.SatGet(50), 500);
}

TEST_F(RisingFrames, SingleStreamingStopsTheDriveAfterTheFirstFrame) {
    Start(kModeSingle);
    RunUntil([&] { return app.CaptureState() == 0; }, "the single frame");
    const ScopeStatus& status = Status();
    EXPECT_EQ(
        std::tie(status.counter[ScopeStatus::kTriggerCounter], status.stopReason, status.triggered),
        std::make_tuple(1, kStopStopped, 1));
    EXPECT_EQ(farEnd.Writes().back(), (RegisterAccess{0x0090, 0}));
}

TEST_F(EngineTest, FiveProbeFailuresOnALostPortStopWithoutAMessage) {
    Stream();
    RunUntil([&] { return app.SampleCount() > 5; }, "samples");
    app.link.CloseComPort(); // the port is gone and cannot be reopened (COM 0)
    RunUntil(
        [&] {
            gTickOffset += 300; // the 2000 ms waits pass within a few cycles
            return app.CaptureState() == 0;
        },
        "the stop");
    const ScopeStatus& status = Status();
    EXPECT_EQ(status.stopReason, kStopStopped);
    EXPECT_TRUE(status.message.empty());
    // Each request on the lost port waits 50 ms before it tries to reopen
    // it: five probes, then the stop command.
    EXPECT_EQ(pauses.Count(50), 6u);
}

TEST_F(EngineTest, AnotherToolsClaimPausesTheScopeAndAsksItToStop) {
    app.SetScopeActive(1);
    Stream();
    RunUntil([&] { return app.SampleCount() > 5; }, "samples");
    SharedContext& ctx = context.Context();
    EXPECT_EQ(ctx.Claim(kClaimTracelens).iState.load(), 1);
    EXPECT_EQ(ctx.Claim(kClaimTracelens).iDemand.load(), 1);
    ctx.Claim(kClaimKnobset).iDemand = 1;
    app.ExternThread();
    EXPECT_EQ(app.ExternalStop(), 1);
    ctx.Claim(kClaimKnobset).iState = 1;
    const std::size_t requests = farEnd.Requests().size();
    for (int i = 0; i < 20; ++i)
        app.ExternThread();
    EXPECT_TRUE(app.Paused());
    Run(kModeStop); // the window presses "Stop": nothing is sent while paused
    EXPECT_EQ(farEnd.Requests().size(), requests);
    ctx.Claim(kClaimKnobset).iState = 0;
    RunUntil([&] { return app.CaptureState() == 0; }, "the stop");
    EXPECT_EQ(ctx.Claim(kClaimTracelens).iState.load(), 0);
    EXPECT_EQ(app.ExternalStop(), 0);
}

TEST_F(EngineTest, ANewGenerationClearsTheResultWords) {
    Stream();
    RunUntil([&] { return Status().status == kStatusRunning; }, "running");
    Run(kModeStop);
    RunUntil([&] { return app.CaptureState() == 0; }, "the stop");
    farEnd.silent = true;
    Run(kModeContinue); // the set-up fails: stop reason 1
    RunUntil([&] { return app.CaptureState() == 0; }, "the failed set-up");
    EXPECT_EQ(Status().stopReason, kStopSetupFailed);
    ++app.WorkingRequest().word[ScopeRequest::kGeneration];
    const ScopeStatus& status = Status();
    EXPECT_EQ(status.stopReason, 0);
    EXPECT_EQ(status.status, 0);
    EXPECT_GE(status.counter[ScopeStatus::kStoppedCounter], 1); // counters are kept
}

TEST_F(EngineTest, ClearCommandsWriteTheirRegistersOnceAndAnswer) {
    const struct {
        int choice;
        std::uint16_t address;
    } cases[] = {{1, 0x139E}, {2, 0x139C}};
    for (const auto& c : cases) {
        ASSERT_TRUE(app.RequestClear(c.choice));
        EXPECT_FALSE(app.RequestClear(3 - c.choice)) << "a second clear while one is pending";
        RunUntil([&] { return app.TakeClearResult().result == 2; }, "the clear");
        EXPECT_EQ(farEnd.Count({c.address, 0}), 1u) << c.choice;
    }
    EXPECT_EQ(farEnd.Writes().size(), 2u);
}

TEST_F(EngineTest, StreamingAt57600ReportsThatTheLineIsTooSlow) {
    app.link.dcb.BaudRate = CBR_57600;
    Stream();
    RunUntil([&] { return app.CaptureState() == 3; }, "streaming");
    EXPECT_EQ(Status().lineTooSlow, 1);
}

} // namespace
} // namespace tracelens
