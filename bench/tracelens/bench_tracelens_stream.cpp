// Streaming for a minute (default 60 s, or argv[1] seconds; argv[2] "nodraw"
// gives the chart no area, so nothing is drawn) at 115200 baud
// from the simulated drive (demo move) through the host's communication
// thread and the scope's engine, with the benchmark playing the window:
// four channels, a 1280 x 800 chart drawn on every 47 ms publication.
// Prints frames received / frames the drive numbered, the communication
// thread's processor time and the rate of pictures handed to the window.
#include "CommThread.h"
#include "ContextStorage.h"
#include "DriveSim.h"
#include "HostConfig.h"
#include "PluginTable.h"
#include "SerialFormat.h"
#include "TracelensApp.h"

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using namespace tracelens;
using Clock = std::chrono::steady_clock;

// Processor seconds of one thread of this process.
double ThreadCpuSeconds(long tid) {
    std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            utime = std::stoull(field);
        if (i == 15)
            stime = std::stoull(field);
    }
    return double(utime + stime) / double(::sysconf(_SC_CLK_TCK));
}

struct FrameCount { // written by the communication thread only
    long received = 0;
    long lost = 0;
    long last = -1;
    long deepestQueue = 0; // bytes waiting when a frame was read
};

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication gui(argc, argv);

    drivesim::SimConfig config;
    // Product data and settings from the program's folder, wherever the
    // benchmark is started.
    const char* appDirVariable = std::getenv("VELMORA_APP_DIR");
    const std::string appDir = appDirVariable != nullptr ? appDirVariable : BENCH_APP_DIR;
    config.dataDir = appDir;
    config.motion = drivesim::MotionMode::Demo;
    drivesim::DriveSim sim(config);
    sim.Start();

    ContextStorage storage;
    storage.CreateParmStore(nullptr);
    storage.Fill(ReadHostConfig(appDir + "/Velmora.ini"), appDir, nullptr);
    SharedContext& ctx = storage.Context();
    ctx.Int(kOnline) = 1;
    CUARTComm port;
    const DCB dcb = wirelay::MakeSerialDcb(3);
    if (!port._OpenDevicePort(sim.SlavePath().c_str(), dcb, 1)) {
        std::fprintf(stderr, "cannot open the simulator's port\n");
        return 1;
    }
    std::memcpy(ctx.CommDcb().bytes, &dcb, sizeof dcb);
    ctx.ComHandle().store(port.hPort, std::memory_order_release);

    CommThread thread(ctx);
    thread.Start();
    PluginTable plugins;
    if (!plugins.LoadAll(BENCH_PLUGIN_DIR, ctx, nullptr) || plugins[kTracelens].module == nullptr) {
        std::fprintf(stderr, "cannot load %s/Tracelens.so\n", BENCH_PLUGIN_DIR);
        return 1;
    }
    auto* const app = reinterpret_cast<CTracelensApp* (*)()>(
        ::dlsym(plugins[kTracelens].module, "BenchScopeApp"))();
    auto commThreadId =
        reinterpret_cast<long (*)()>(::dlsym(plugins[kTracelens].module, "BenchCommThreadId"));
    FrameCount frames;
    app->sampleTap = [&frames, app](const std::array<long, 4>& v) {
        frames.deepestQueue = std::max<long>(frames.deepestQueue, app->link.lastInQue);
        if (frames.last >= 0)
            frames.lost += ((v[0] - frames.last) & 0xFFFF) - 1;
        frames.last = v[0];
        ++frames.received;
    };
    // Frame number, speed feedback, speed command, torque command.
    ScopeRequest& request = app->WorkingRequest();
    const int codes[4] = {90, 1, 2, 4};
    for (int i = 0; i < 4; ++i)
        request.word[ScopeRequest::kDriveWords + 1 + i] = codes[i];
    for (int i = 0; i < 4; ++i) {
        app->MasterChannels()[i].unitPerDiv = i == 0 ? 20000 : 500;
        app->MasterChannels()[i].caption = "CH";
    }
    app->MasterTiming().timeBase = 300; // 3000 samples on screen
    for (int c : {ScopeRequest::kTimeBaseCounter, ScopeRequest::kUnitPerDivCounter})
        ++request.word[c];
    const bool draw = !(argc > 2 && std::strcmp(argv[2], "nodraw") == 0);
    request.word[ScopeRequest::kRectLeft + 2] = draw ? 1280 : 0;
    request.word[ScopeRequest::kRectLeft + 3] = draw ? 800 : 0;
    request.word[ScopeRequest::kRunMode] = kModeContinue;
    thread.Release(plugins, nullptr);

    QImage picture;
    long pictures = 0;
    double cpuStart = 0;
    Clock::time_point start{};
    Clock::time_point streamStart{};
    auto next = Clock::now();
    bool measuring = false;
    for (;;) {
        std::this_thread::sleep_until(next);
        next += std::chrono::milliseconds(47);
        request.word[ScopeRequest::kRedraw] = 1;
        if (app->PublishRequest())
            ctx.RingCommThread();
        if (app->TakePicture(picture) && measuring)
            ++pictures;
        if (app->SampleCount() > 0 && streamStart == Clock::time_point{})
            streamStart = Clock::now();
        if (!measuring && app->SampleCount() > 1000) { // streaming runs: start the clock
            measuring = true;
            start = Clock::now();
            cpuStart = ThreadCpuSeconds(commThreadId());
        }
        if (measuring && Clock::now() - start >= std::chrono::duration<double>(seconds))
            break;
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    const double totalSeconds = std::chrono::duration<double>(Clock::now() - streamStart).count();
    const double cpu = ThreadCpuSeconds(commThreadId()) - cpuStart;
    request.word[ScopeRequest::kRunMode] = kModeStop;
    for (int i = 0; i < 100 && app->CaptureState() != 0; ++i) {
        app->PublishRequest();
        ctx.RingCommThread();
        std::this_thread::sleep_for(std::chrono::milliseconds(47));
    }
    thread.Stop();
    app->sampleTap = nullptr;
    const long sent = frames.received + frames.lost;
    std::printf("streamed %.1f s at 115200 baud, 4 channels, %s\n", elapsed,
                draw ? "chart 1280 x 800" : "no drawing");
    std::printf("frames received / numbered by the drive: %ld / %ld (%.3f %%)\n", frames.received,
                sent, sent > 0 ? 100.0 * double(frames.received) / double(sent) : 0.0);
    std::printf("frames per second: %.1f (the drive samples 1000 per second; it sends the\n"
                "newest when the line was busy); deepest input queue: %ld bytes\n",
                double(frames.received) / totalSeconds, frames.deepestQueue);
    std::printf("communication thread CPU: %.2f s = %.1f %% of one core\n", cpu,
                100.0 * cpu / elapsed);
    std::printf("pictures handed to the window: %ld = %.1f per second\n", pictures,
                double(pictures) / elapsed);
    plugins.DeleteTemplates();
    port.CloseComPort();
    return 0;
}
