// The scope engine against the simulated drive on a pseudo-terminal at
// 115200 baud: numbered frames without loss and a stop that gets through the
// stream, and the recovery after the drive was unplugged. (A triggered High
// Sample block from the simulator is the command-line tool's scope test.)
#include "DriveSim.h"
#include "PortMapFolder.h"
#include "SerialFormat.h"
#include "StandaloneContext.h"
#include "TempDir.h"
#include "TracelensApp.h"
#include "WaitUntil.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace tracelens {
namespace {

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

    // Runs cycles, with the window's tick every 47 ms, until `done` holds.
    void RunUntil(const std::function<bool()>& done, const char* what) {
        auto publish = std::chrono::steady_clock::now();
        ASSERT_TRUE(WaitUntil(what, done, std::chrono::seconds(15), [&] {
            if (std::chrono::steady_clock::now() >= publish) {
                app.WorkingRequest().word[ScopeRequest::kRedraw] = 1;
                app.PublishRequest();
                publish = std::chrono::steady_clock::now() + std::chrono::milliseconds(47);
            }
            app.ExternThread();
        }));
    }
    // "Continue" with the frame number in channel A.
    void Stream() {
        const int codes[] = {90, 1, 2, 4}; // frame number, speed feedback and command, torque
        for (int i = 0; i < 4; ++i)
            app.WorkingRequest().word[ScopeRequest::kDriveWords + 1 + i] = codes[i];
        Run(kModeContinue);
    }
    void Run(int mode) { app.WorkingRequest().word[ScopeRequest::kRunMode] = mode; }

    std::filesystem::path data_ = std::filesystem::current_path(); // the product data
    TempDir link_;
    PortMapFolder folder_{{{5, link_.File("drive")}}};
    drivesim::DriveSim sim_;
    CUARTComm opener;
    StandaloneContext context;
    CTracelensApp app;
};

TEST_F(SimScope, StreamingLosesNoNumberedFrame) {
    std::vector<long> numbers;
    app.sampleTap = [&](const std::array<long, 4>& v) { numbers.push_back(v[0]); };
    Stream();
    RunUntil([&] { return numbers.size() >= 1500; }, "1500 frames");
    for (std::size_t i = 1; i < numbers.size(); ++i)
        ASSERT_EQ((numbers[i] - numbers[i - 1]) & 0xFFFF, 1) << "frame " << i << " lost";
    EXPECT_EQ(app.WindowStatus().lineTooSlow, 0);
    // The stop gets through the running stream.
    Run(kModeStop);
    RunUntil([&] { return app.CaptureState() == 0; }, "the stop");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    app.link.GarbageCollection();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(app.link.PreCountInQue(), 0u) << "the drive still streams";
}

// The drive's port goes away and comes back: Retry, the port reopened by its
// number, then streaming again.
TEST_F(SimScope, AnUnpluggedDriveIsProbedAndSetUpAgain) {
    Stream();
    RunUntil([&] { return app.SampleCount() > 100; }, "streaming");
    sim_.Unplug();
    RunUntil([&] { return app.WindowStatus().status == kStatusRetry; }, "Retry");
    sim_.Replug();
    const long before = app.SampleCount();
    RunUntil([&] { return app.CaptureState() == 3 && app.SampleCount() > before + 100; },
             "streaming again");
    EXPECT_EQ(app.WindowStatus().status, kStatusRunning);
}

} // namespace
} // namespace tracelens
