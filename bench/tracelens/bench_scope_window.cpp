// The scope window streaming the simulated drive (demo move) at 115200 baud
// for a minute (default 60 s, or argv[1] seconds): four channels (frame
// number in A), 3000 samples on screen, the window at 1280 x 760 on the
// offscreen platform with its 47 ms tick, and a communication thread that
// runs the capture cycle as the host's does. Prints frames lost, pictures
// per second that reached the chart area, and the processor time of the
// user-interface thread and of the communication thread.
#include "PluginModule.h"
#include "ScopeChartArea.h"
#include "SimulatedScope.h"
#include "TracelensApp.h"
#include "TracelensStrings.h"
#include "TracelensView.h"
#include "VtCh.h"

#include <QApplication>
#include <QComboBox>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <pthread.h>
#include <thread>

namespace {

using namespace tracelens;
using Clock = std::chrono::steady_clock;

double ThreadCpuSeconds(pthread_t thread) {
    clockid_t clock{};
    timespec used{};
    if (pthread_getcpuclockid(thread, &clock) != 0 || clock_gettime(clock, &used) != 0)
        return 0;
    return double(used.tv_sec) + double(used.tv_nsec) * 1e-9;
}

struct FrameCount { // written by the communication thread only
    std::atomic<long> received{0};
    long lost = 0;
    long last = -1;
};

void Settle(Clock::duration span) {
    const auto until = Clock::now() + span;
    while (Clock::now() < until) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication gui(argc, argv);
    const char* appDirVariable = std::getenv("VELMORA_APP_DIR");
    const std::string appDir = appDirVariable != nullptr ? appDirVariable : BENCH_APP_DIR;
    std::filesystem::current_path(appDir); // language files and cd.dat

    SimulatedScope scope(appDir);
    if (!scope.PortOpen()) {
        std::fprintf(stderr, "cannot open the simulator's port\n");
        return 1;
    }
    CTracelensApp& app = scope.app;
    StandaloneContext& context = scope.context;
    FrameCount frames;
    app.sampleTap = [&frames](const std::array<long, 4>& v) {
        if (frames.last >= 0)
            frames.lost += ((v[0] - frames.last) & 0xFFFF) - 1;
        frames.last = v[0];
        ++frames.received;
    };
    scope.StartCycles();

    PluginModule module({"Trace", kLangTracelens, MenuEnableFlags::kTracelens, 1280, 800},
                        &kTracelensStrings);
    module.Attach(&context.Context());
    auto view = std::make_unique<CTracelensView>(module, app, appDir);
    view->resize(1280, 760);
    view->show();
    // Frame number, speed feedback, speed command, torque command (list order
    // of the program's cd.dat: 90 is the last entry).
    const int entries[4] = {view->Vertical()->Channel(0).signal->count() - 1, 0, 1, 2};
    for (int ch = 0; ch < 4; ++ch)
        view->Settings().SelectSignal(ch, entries[ch]);
    view->Settings().SetTimeBase(300);
    view->PressRun(RunButton::Continue);
    const auto streaming = Clock::now() + std::chrono::seconds(30);
    while (frames.received < 1000 && Clock::now() < streaming)
        Settle(std::chrono::milliseconds(10));
    if (frames.received < 1000) {
        std::fprintf(stderr, "the drive did not stream\n");
        return 1;
    }

    const long picturesStart = view->Chart()->PicturesShown();
    const long receivedStart = frames.received;
    const double uiStart = ThreadCpuSeconds(pthread_self());
    const double commStart = ThreadCpuSeconds(scope.CommThread().native_handle());
    const auto start = Clock::now();
    Settle(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    const double ui = ThreadCpuSeconds(pthread_self()) - uiStart;
    const double cpu = ThreadCpuSeconds(scope.CommThread().native_handle()) - commStart;
    const long pictures = view->Chart()->PicturesShown() - picturesStart;
    const long received = frames.received - receivedStart;
    view.reset(); // the closing sequence stops the stream
    scope.StopCycles();

    std::printf("scope window streamed %.1f s at 115200 baud, 4 channels, 3000 samples shown\n",
                elapsed);
    std::printf("frames received: %ld (%.1f per second), frames lost: %ld\n", received,
                double(received) / elapsed, frames.lost);
    std::printf("pictures shown in the window: %ld = %.1f per second\n", pictures,
                double(pictures) / elapsed);
    std::printf("user-interface thread CPU: %.2f s = %.1f %% of one core\n", ui,
                100.0 * ui / elapsed);
    std::printf("communication thread CPU: %.2f s = %.1f %% of one core\n", cpu,
                100.0 * cpu / elapsed);
    return 0;
}
