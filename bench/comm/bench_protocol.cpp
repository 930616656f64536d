// Protocol throughput without a device: the CRC and the sample-frame reader,
// against the byte rate of a 115200-baud line (11.52 kB/s).
#include "CommPlot.h"
#include "MemoryPort.h"
#include "ModbusCrc.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

void BM_ModbusCrc16(benchmark::State& state) {
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(state.range(0)));
    for (std::size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<std::uint8_t>(i * 31);
    for (auto _ : state)
        benchmark::DoNotOptimize(wirelay::ModbusCrc16(frame.data(), frame.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ModbusCrc16)->Arg(8)->Arg(256);

std::vector<std::uint8_t> SampleStream(int frames) {
    std::vector<std::uint8_t> stream;
    for (int i = 0; i < frames; ++i) {
        std::uint8_t f[10] = {0xC6, std::uint8_t(i >> 8), std::uint8_t(i), 1, 2, 3, 4, 5, 6, 0};
        unsigned sum = 0;
        for (int k = 0; k < 9; ++k)
            sum += f[k];
        f[9] = static_cast<std::uint8_t>(sum);
        stream.insert(stream.end(), f, f + 10);
    }
    return stream;
}

void BM_ReadDataV3(benchmark::State& state) {
    constexpr int kFrames = 100000;
    const std::vector<std::uint8_t> stream = SampleStream(kFrames);
    wirelay::MemoryPort port;
    CCommPlot plot;
    plot.hPort = port.Handle();
    unsigned long values[4];
    int left = 0;
    std::int64_t decoded = 0;
    for (auto _ : state) {
        if (left == 0) {
            state.PauseTiming();
            port.Feed(stream);
            left = kFrames;
            state.ResumeTiming();
        }
        decoded += plot.ReadData_V3(values) == 0;
        --left;
    }
    state.SetItemsProcessed(decoded);
    state.SetBytesProcessed(decoded * CCommPlot::kFrameV3Length);
    state.counters["x115200"] = benchmark::Counter(
        double(decoded * CCommPlot::kFrameV3Length) / 11520.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadDataV3);

} // namespace

BENCHMARK_MAIN();
