// The scope engine on a pseudo-terminal whose far end is scripted: the test
// plays the window (publishing requests) and the host (running cycles).
#pragma once

#include "CaptureMath.h"
#include "FarEnd.h"
#include "ScopeFarEnd.h"
#include "StandaloneContext.h"
#include "TimeOut.h"
#include "TracelensApp.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>

namespace tracelens {

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
    explicit EngineTest(ScopeFarEnd::Generator generator = Ramp())
        : farEnd(pty, std::move(generator)) {
        gTickOffset = 0;
        SetTickSource(&TestTicks);
        dcb.DCBlength = sizeof dcb;
        dcb.BaudRate = CBR_115200;
        dcb.ByteSize = 8;
        EXPECT_EQ(opener._OpenDevicePort(pty.SlavePath().c_str(), dcb, 1), 1);
        context.PublishPort(opener.hPort, 0, dcb);
        app.Attach(&context.Context());
    }
    ~EngineTest() override {
        if (app.link.hPort > 0)
            app.link.CloseComPort();
        SetTickSource(nullptr);
    }

    static ScopeFarEnd::Generator Ramp() {
        return [](long i) {
            return ScopeFarEnd::Sample{std::uint16_t(i % 1000), 0xFFFF, 0x8000, 7};
        };
    }

    // Runs cycles until `done` holds; fails with `what` after `seconds`.
    bool RunUntil(const std::function<bool()>& done, const char* what, int seconds = 10) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "timed out waiting for " << what;
                return false;
            }
            app.ExternThread();
        }
        return true;
    }

    // The window publishes; the next cycle takes the request and applies
    // settings whose counters moved.
    void Publish() {
        app.WorkingRequest().word[ScopeRequest::kRedraw] = 1;
        ASSERT_TRUE(app.PublishRequest());
        app.ExternThread();
    }
    void Raise(int counter) { ++app.WorkingRequest().word[counter]; }
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
    // Codes 1..4 on plain channels and the timing as `set` leaves it, every
    // timing counter raised, then `mode`.
    void Start(int mode, const std::function<void(ScopeTiming&)>& set) {
        set(app.MasterTiming());
        for (int counter : {ScopeRequest::kTimeBaseCounter, ScopeRequest::kDelayCounter,
                            ScopeRequest::kTriggerCounter})
            Raise(counter);
        SetDriveWords(false, false, {1, 2, 3, 4});
        Publish();
        Run(mode);
    }
    const ScopeStatus& Status() {
        app.WorkingRequest().word[ScopeRequest::kRedraw] = 0;
        app.PublishRequest();
        app.ExternThread();
        app.PublishRequest(); // the window's copy of what the cycle published
        return app.WindowStatus();
    }
    std::vector<RegisterAccess> Writes() const {
        std::vector<RegisterAccess> writes;
        for (const RegisterAccess& a : farEnd.Accesses())
            if (a.kind == 'W')
                writes.push_back(a);
        return writes;
    }

    SleepRecorder pauses;
    PtyPair pty;
    ScopeFarEnd farEnd;
    DCB dcb{};
    CUARTComm opener;
    StandaloneContext context;
    CTracelensApp app;
};

} // namespace tracelens
