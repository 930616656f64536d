// Read all of a T5 table against the simulator over a pty, with the link
// timing of the shipped Velmora.ini, next to the pure wire time of its 32
// exchanges (8 + 205 bytes each) at 115200 and 19200 baud.
#include "../BenchAppDir.h"
#include "DriveSim.h"
#include "LineTiming.h"
#include "ParmJobs.h"
#include "ParmLoader.h"
#include "ParmTable.h"
#include "Profile.h"
#include "SerialFormat.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <vector>

namespace {

void ReadAllT5(benchmark::State& state) {
    const int format = static_cast<int>(state.range(0));
    const std::string app = AppDir();
    drivesim::SimConfig config;
    config.model = drivesim::DriveModel::T5;
    config.format = format;
    config.dataDir = app;
    drivesim::DriveSim sim(config);
    sim.Start();

    std::vector<ParmRecord> records;
    std::vector<std::int32_t> index(ParmStore::kIndexSize, -1);
    ParmStore store;
    store.records = &records;
    store.recordIndex = index.data();
    store.iModel = kModelT5;
    if (!knobset::LoadParmTable(store, kModelT5, app, "hq_417", "t5").ok()) {
        state.SkipWithError("no product data");
        return;
    }
    CModbus master;
    if (!master._OpenDevicePort(sim.SlavePath().c_str(), wirelay::MakeSerialDcb(format), 1)) {
        state.SkipWithError("cannot open the simulator");
        return;
    }
    const std::string ini = app + "/Velmora.ini";
    master.SetWaitWriteTime(
        GetPrivateProfileIntA("ComPortSetup", "iSetWaitWriteTime", 1, ini.c_str()));
    master.SetPreCountQueTimes(
        GetPrivateProfileIntA("ComPortSetup", "iSetPreCountQueTimes", 400, ini.c_str()));
    knobset::ModbusRegisterLink link(master);
    DriveIdentity identity;
    knobset::ParmJobs jobs(store, identity);

    std::vector<double> times;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (jobs.ReadAll(link) != knobset::kResultSuccess) {
            state.SkipWithError("read all failed");
            break;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        times.push_back(seconds * 1000);
    }
    master.CloseComPort();
    std::sort(times.begin(), times.end());
    const double wire = 32 * std::chrono::duration<double, std::milli>(
                                 drivesim::WireTime(8 + 205, wirelay::GetSerialFormat(format)))
                                 .count();
    if (!times.empty()) {
        state.counters["median_ms"] = times[times.size() / 2];
        state.counters["ratio_to_wire"] = times[times.size() / 2] / wire;
    }
    state.counters["wire_ms"] = wire;
}

} // namespace

BENCHMARK(ReadAllT5)
    ->Arg(3)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

BENCHMARK_MAIN();
