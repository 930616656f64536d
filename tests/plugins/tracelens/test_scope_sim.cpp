// The scope engine against the simulated drive on a pseudo-terminal at
// 115200 baud: numbered frames without loss, triggers on level crossings the
// servo loop's demo move produces (streamed and in High Sample blocks), and
// the recovery after the drive went away and came back.
#include "DriveSim.h"
#include "FarEnd.h"
#include "PortMapFolder.h"
#include "SerialFormat.h"
#include "StandaloneContext.h"
#include "TempDir.h"
#include "TracelensApp.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace tracelens {
namespace {

enum SignalCode : int { kSpeedFeedback = 1, kSpeedCommand = 2, kTorque = 4, kFrameNumber = 90 };

// The drive on COM5: the scratch working folder's Velmora.ini maps it to the
// simulator's link, so the engine can reopen the port by its number.
class SimScope : public testing::Test {
protected:
    SimScope() : sim_(Config(data_, link_)) {
        sim_.Start();
        const DCB dcb = wirelay::MakeSerialDcb(3);
        EXPECT_EQ(opener._OpenComPort(5, dcb, 1), 1);
        context.PublishPort(opener.hPort, 5, dcb);
        app.Attach(&context.Context());
    }
    ~SimScope() override {
        if (app.link.hPort > 0)
            app.link.CloseComPort();
    }
    static drivesim::SimConfig Config(const std::filesystem::path& data, const TempDir& dir) {
        drivesim::SimConfig config;
        config.dataDir = data.string();
        config.linkPath = dir.File("drive");
        config.motion = drivesim::MotionMode::Demo;
        return config;
    }

    bool RunUntil(const std::function<bool()>& done, const char* what, int seconds = 15) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        auto publish = std::chrono::steady_clock::now();
        while (!done()) {
            const auto now = std::chrono::steady_clock::now();
            if (now > deadline) {
                ADD_FAILURE() << "timed out waiting for " << what;
                return false;
            }
            if (now >= publish) { // the window's tick
                app.WorkingRequest().word[ScopeRequest::kRedraw] = 1;
                app.PublishRequest();
                publish = now + std::chrono::milliseconds(47);
            }
            app.ExternThread();
        }
        return true;
    }
    void Signals(std::array<int, 4> codes) {
        for (int i = 0; i < 4; ++i)
            app.WorkingRequest().word[ScopeRequest::kDriveWords + 1 + i] = codes[i];
    }
    void Trigger(int timeBase, int highSample, int delay, TriggerDatas trigger) {
        ScopeTiming& timing = app.MasterTiming();
        timing.timeBase = timeBase;
        timing.highSample = highSample;
        timing.delay = delay;
        timing.trigger = trigger;
        for (int c : {ScopeRequest::kTimeBaseCounter, ScopeRequest::kDelayCounter,
                      ScopeRequest::kTriggerCounter})
            ++app.WorkingRequest().word[c];
        RunUntil([&] { return app.PendingWrites() != 0 || highSample == 0; }, "the settings");
    }
    void Run(int mode) { app.WorkingRequest().word[ScopeRequest::kRunMode] = mode; }
    int Triggers() const { return app.WindowStatus().counter[ScopeStatus::kTriggerCounter]; }

    std::filesystem::path data_ = std::filesystem::current_path(); // the product data
    TempDir link_;
    PortMapFolder folder_{{{5, link_.File("drive")}}};
    drivesim::DriveSim sim_;
    CUARTComm opener;
    StandaloneContext context;
    CTracelensApp app;
};

TEST_F(SimScope, StreamingLosesNoNumberedFrame) {
    Signals({kFrameNumber, kSpeedFeedback, kSpeedCommand, kTorque});
    std::vector<long> numbers;
    app.sampleTap = [&](const std::array<long, 4>& v) { numbers.push_back(v[0]); };
    Run(kModeContinue);
    RunUntil([&] { return numbers.size() >= 1500; }, "1500 frames");
    for (std::size_t i = 1; i < numbers.size(); ++i)
        ASSERT_EQ((numbers[i] - numbers[i - 1]) & 0xFFFF, 1) << "frame " << i << " lost";
    // The stop gets through the running stream.
    Run(kModeStop);
    RunUntil([&] { return app.CaptureState() == 0; }, "the stop");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    app.link.GarbageCollection();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(app.link.PreCountInQue(), 0u) << "the drive still streams";
}

TEST_F(SimScope, NormalStreamingTriggersOnTheDemoMovesSpeed) {
    Signals({kSpeedCommand, kFrameNumber, kSpeedFeedback, kTorque});
    Trigger(20, 0, 100, TriggerDatas{1, 0, 0, TrigEitherEdge, TrigRising, 1000, 0, 100});
    Run(kModeNormal);
    RunUntil([&] { return Triggers() >= 2; }, "two triggered frames");
    const CCirBuf& speed = app.Chart().ShownBuf(0);
    const long before = speed.SatGet(99), at = speed.SatGet(100);
    EXPECT_TRUE((before < 1000 && at >= 1000) || (before > 1000 && at <= 1000))
        << before << " " << at;
    EXPECT_EQ(speed.GetSatValidLen(), 201);
}

TEST_F(SimScope, SingleHighSampleBlockHoldsTheCrossingAtItsDelay) {
    app.MasterChannels()[2].wide = 1; // C+D: position command, 32 bits
    app.WorkingRequest().word[ScopeRequest::kDriveWords] = 0x1100;
    Signals({kSpeedCommand, kFrameNumber, 26, 26});
    Trigger(7, 1, 175, TriggerDatas{1, 0, 0, TrigRising, TrigRising, 1000, 0, 175});
    Run(kModeBlockSingle);
    RunUntil([&] { return app.CaptureState() == 0 && Triggers() >= 1; }, "the block");
    EXPECT_EQ(app.WindowStatus().stopReason, kStopStopped);
    const CCirBuf& speed = app.Chart().ShownBuf(0);
    ASSERT_EQ(speed.GetSatValidLen(), 351);
    EXPECT_LT(speed.SatGet(174), 1000);
    EXPECT_GE(speed.SatGet(175), 1000);
    EXPECT_GT(app.Chart().ShownBuf(2).SatGet(350), 65535) << "the position needs 32 bits";
}

// The drive falls silent, or its port goes away: Retry, then streaming again.
TEST_F(SimScope, ALostDriveIsProbedAndSetUpAgain) {
    const std::pair<const char*, std::function<void(bool)>> losses[] = {
        {"silent",
         [&](bool lost) {
             drivesim::FaultSettings faults;
             faults.silent = lost;
             sim_.SetFaults(faults);
         }},
        {"unplugged", [&](bool lost) { lost ? sim_.Unplug() : sim_.Replug(); }},
    };
    Signals({kFrameNumber, kSpeedFeedback, kSpeedCommand, kTorque});
    Run(kModeContinue);
    for (const auto& [name, lose] : losses) {
        SCOPED_TRACE(name);
        RunUntil([&] { return app.SampleCount() > 100; }, "streaming");
        lose(true);
        RunUntil([&] { return app.WindowStatus().status == kStatusRetry; }, "Retry");
        lose(false);
        const long before = app.SampleCount();
        RunUntil([&] { return app.CaptureState() == 3 && app.SampleCount() > before + 100; },
                 "streaming again");
        EXPECT_EQ(app.WindowStatus().status, kStatusRunning);
    }
}

} // namespace
} // namespace tracelens
