// Items refreshed per second with every shipped item ticked, the monitor's
// poll step against the simulator over a pty with the monitor's own link
// timing (a poll every 1 ms), next to the wire limit of the same requests:
// request and reply on the wire plus the drive's 1 ms turnaround each.
// One iteration is one rotation over all four lists.
#include "../BenchAppDir.h"
#include "DriveSim.h"
#include "LineTiming.h"
#include "Modbus.h"
#include "MonitorData.h"
#include "MonitorPoll.h"
#include "SerialFormat.h"

#include <array>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>

namespace {

// The wire time of one rotation: every item's request (8 bytes) and reply.
double RotationWireSeconds(const monitor::MonitorItems& items, int format, int& count) {
    const wirelay::SerialFormat line = wirelay::GetSerialFormat(format);
    std::chrono::nanoseconds total{0};
    count = 0;
    for (const monitor::ItemGroup& group : items.groups)
        for (int i = 0; i < group.count; ++i) {
            const monitor::MonitorItem& item = group.items[i];
            const std::size_t reply =
                item.datasize <= 2 ? 5 + 2 * item.datasize : 5 + (item.datasize + 7) / 8;
            total += drivesim::WireTime(8 + reply, line) + drivesim::kTurnaround;
            ++count;
        }
    return std::chrono::duration<double>(total).count();
}

void RefreshAllItems(benchmark::State& state) {
    const int format = static_cast<int>(state.range(0));
    const std::string app = AppDir();
    drivesim::SimConfig config;
    config.format = format;
    config.dataDir = app;
    config.motion = drivesim::MotionMode::Demo;
    drivesim::DriveSim sim(config);
    sim.Start();
    CModbus master;
    if (!master._OpenDevicePort(sim.SlavePath().c_str(), wirelay::MakeSerialDcb(format), 1)) {
        state.SkipWithError("cannot open the simulator");
        return;
    }
    master.SetWaitWriteTime(1); // the monitor's link timing
    master.SetPreCountQueTimes(10000);
    master.latePollCount = 2;
    master.latePollPause = 40;

    auto items = std::make_unique<monitor::MonitorItems>();
    monitor::LoadDescriptions(*items, app);
    for (monitor::ItemGroup& group : items->groups)
        for (int i = 0; i < group.count; ++i)
            group.items[i].check = 1;
    int perRotation = 0;
    const double wire = RotationWireSeconds(*items, format, perRotation);
    if (perRotation == 0) {
        state.SkipWithError("no product data");
        return;
    }

    SharedInt online{1};
    std::array<LinkClaim, kLinkClaims> claims;
    SharedContext ctx;
    ctx.slot[kOnline] = reinterpret_cast<std::intptr_t>(&online);
    for (int c = 0; c < kLinkClaims; ++c)
        ctx.slot[kLinkClaim0 + c] = reinterpret_cast<std::intptr_t>(&claims[c]);
    monitor::MonitorBoard board;
    monitor::OpenCom(board);
    monitor::ServeWindowTimer(board);
    monitor::ItemLinkOn<CModbus> link(master);

    double seconds = 0;
    unsigned reads = 0;
    for (auto _ : state) {
        const unsigned before = board.reads.load();
        const auto start = std::chrono::steady_clock::now();
        while (board.reads.load() - before < static_cast<unsigned>(perRotation)) {
            if (std::chrono::steady_clock::now() - start > std::chrono::seconds(30)) {
                state.SkipWithError("the drive stopped answering");
                return;
            }
            monitor::PollStep(ctx, board, *items, link);
        }
        const double took =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(took);
        seconds += took;
        reads += board.reads.load() - before;
    }
    master.CloseComPort();
    state.counters["items_per_s"] = reads / seconds;
    state.counters["wire_items_per_s"] = perRotation / wire;
    state.counters["ratio_to_wire"] = (reads / seconds) / (perRotation / wire);
}

BENCHMARK(RefreshAllItems)
    ->Arg(3) // 115200 N,1
    ->Arg(0) // 19200 N,1
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
