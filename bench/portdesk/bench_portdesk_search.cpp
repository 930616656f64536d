// Time to find a drive with a fixed port and automatic address and format,
// against the simulator pacing its bytes at wire speed, next to the probe
// budget: every combination tried before the drive answers may take two
// attempts of nine polls 7 ms apart (126 ms).
//
//   build/bench/bench_portdesk_search                         both cases
//   build/bench/bench_portdesk_search --benchmark_filter=First the quick one
#include "../BenchAppDir.h"
#include "ContextStorage.h"
#include "DriveSearch.h"
#include "DriveSim.h"
#include "PortdeskCommLoop.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace {

constexpr int kPort = 1;
constexpr double kComboBudgetMs =
    kProbeRetryTimes * (kProbePreCountQueTimes + 1) * kProbeWaitWriteMs;

// Combinations the search tries up to and including the drive's: addresses
// are the outer loop, the automatic format order the inner one.
int CombinationsUntil(int address, int format) {
    int position = 1;
    while (kAutoFormatOrder[position - 1] != format)
        ++position;
    return (address - 1) * static_cast<int>(kAutoFormatOrder.size()) + position;
}

void FindDrive(benchmark::State& state) {
    const int address = static_cast<int>(state.range(0));
    const int format = static_cast<int>(state.range(1));
    drivesim::SimConfig config;
    config.model = drivesim::DriveModel::T5;
    config.address = static_cast<std::uint8_t>(address);
    config.format = format;
    config.dataDir = AppDir();
    drivesim::DriveSim sim(config);
    sim.Start();

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("portdesk-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "Velmora.ini")
        << "[PortMap]\nCOM" << kPort << "=" << sim.SlavePath() << "\n";
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(folder);

    ContextStorage storage;
    storage.CreateParmStore(nullptr);
    HostConfig settings;
    settings.waitWriteTime = 1;
    settings.preCountQueTimes = 400;
    storage.Fill(settings, folder.string(), nullptr);
    SharedContext& ctx = storage.Context();

    double searchMs = 0;
    int found = 0;
    for (auto _ : state) {
        CPortdeskApp app;
        app.iPortSel = kPort;
        app.iIdSel = 0;
        app.iFormatSel = 0;
        const auto start = std::chrono::steady_clock::now();
        found = SearchDrive(app, ctx);
        searchMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        state.SetIterationTime(searchMs / 1000.0);
        app.link.modbus.CloseComPort();
    }
    const int combinations = CombinationsUntil(address, format);
    const double budgetMs = combinations * kComboBudgetMs;
    state.counters["found"] = found;
    state.counters["combinations"] = combinations;
    state.counters["budget_ms"] = budgetMs;
    state.counters["search_ms"] = searchMs;
    state.counters["over_budget_pct"] = 100.0 * (searchMs - budgetMs) / budgetMs;

    std::filesystem::current_path(old);
    std::filesystem::remove_all(folder);
}

} // namespace

// Address 1, 115200 N,1: the first combination of the automatic order.
BENCHMARK(FindDrive)
    ->Name("FirstCombination/address1/115200N1")
    ->Args({1, 3})
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
// Address 128, 19200 O,1: the last of 2048 combinations.
BENCHMARK(FindDrive)
    ->Name("WorstCase/address128/19200O1")
    ->Args({128, 12})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
