// A Modbus read of 100 registers over a pseudo-terminal against a far end
// that answers at once: the cost of the master itself, without wire time.
#include "Modbus.h"
#include "ModbusCrc.h"
#include "PtyPair.h"
#include "SerialFormat.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <thread>

namespace {

// Answers every 8-byte request with 100 registers.
class InstantDrive {
public:
    explicit InstantDrive(PtyPair& pty) : pty_(pty), thread_([this] { Run(); }) {}
    ~InstantDrive() {
        stop_ = true;
        thread_.join();
    }

private:
    void Run() {
        std::vector<std::uint8_t> reply = {0x01, 0x03, 200};
        for (int i = 0; i < 100; ++i) {
            reply.push_back(0x12);
            reply.push_back(static_cast<std::uint8_t>(i));
        }
        reply.resize(reply.size() + 2);
        wirelay::AppendModbusCrc(reply.data(), reply.size());
        std::vector<std::uint8_t> pending;
        while (!stop_) {
            auto got = pty_.Receive(8 - pending.size(), 20);
            pending.insert(pending.end(), got.begin(), got.end());
            if (pending.size() == 8) {
                pty_.Send(reply);
                pending.clear();
            }
        }
    }
    PtyPair& pty_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

void BM_ReadHundredRegistersOverPty(benchmark::State& state) {
    PtyPair pty;
    InstantDrive drive(pty);
    CModbus mb;
    if (!mb._OpenDevicePort(pty.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1)) {
        state.SkipWithError("no pty");
        return;
    }
    mb.SetWaitWriteTime(static_cast<unsigned long>(state.range(0)));
    mb.SetPreCountQueTimes(state.range(0) ? 2000 : 60000);
    unsigned short words[100];
    std::int64_t failures = 0;
    for (auto _ : state)
        failures += mb.ReadHoldingRegisters(0, 100, words) == 0;
    state.counters["failures"] = double(failures);
    mb.CloseComPort();
}
BENCHMARK(BM_ReadHundredRegistersOverPty)
    ->ArgName("waitWriteTime_ms")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
