// Time from opening the editor window on-line (T5 drive simulated on a pty at
// 115200 baud, the editor's own worker running the jobs) to the list filled
// with the values read from the drive.
#include "CListCtrlEx.h"
#include "ContextStorage.h"
#include "DialogService.h"
#include "DriveSim.h"
#include "HostConfig.h"
#include "KnobsetApp.h"
#include "KnobsetView.h"
#include "SerialFormat.h"

#include <QApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>

namespace {

class SilentDialogs : public DialogService {
public:
    int MessageBox(QWidget*, const std::string&, const std::string&, unsigned) override {
        return kAnswerOk;
    }
    std::string GetOpenFileName(QWidget*, const std::string&, const std::string&,
                                const std::string&) override {
        return {};
    }
    std::string GetSaveFileName(QWidget*, const std::string&, const std::string&,
                                const std::string&) override {
        return {};
    }
};

void OpenOnline(benchmark::State& state) {
    drivesim::SimConfig config;
    config.model = drivesim::DriveModel::T5;
    drivesim::DriveSim sim(config);
    sim.Start();
    CModbus port;
    port._OpenDevicePort(sim.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1);

    ContextStorage storage;
    storage.CreateParmStore(nullptr);
    storage.Fill(ReadHostConfig("Velmora.ini"), ".", nullptr);
    SharedContext& ctx = storage.Context();
    ctx.SetLanguage(kLangKnobset, kLanguageEnglish);
    ctx.Parms().iModel = kModelT5;
    ctx.Int(kOnline) = 1;
    ctx.Int(kSuspendExtern) = 1;
    ctx.Identity().Set(1, "T5-400W");
    ctx.Identity().Set(2, "t5-400w");
    ctx.Identity().Set(3, "hq_417");
    ctx.ComHandle().store(port.hPort);
    knobset::CKnobsetApp& app = knobset::CKnobsetApp::Instance();
    app.Attach(&ctx);
    SilentDialogs dialogs;
    InstallDialogService(&dialogs);

    std::vector<double> times;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        knobset::CKnobsetView view(app);
        view.show();
        // The opening read runs inside the progress box's own loop.
        while (!view.ParametersRead())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        times.push_back(seconds * 1000);
        if (view.List()->GetItemCount() != 310)
            state.SkipWithError("list not filled");
    }
    if (!times.empty())
        state.counters["first_ms"] = times.front();
    std::sort(times.begin(), times.end());
    if (!times.empty())
        state.counters["median_ms"] = times[times.size() / 2];
    InstallDialogService(nullptr);
    app.StopWorker();
}

} // namespace

BENCHMARK(OpenOnline)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (const char* dir = std::getenv("VELMORA_APP_DIR"))
        std::filesystem::current_path(dir);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
