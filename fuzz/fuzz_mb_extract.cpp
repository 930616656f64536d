// The Modbus frame extractor over the byte log, fed arbitrary bytes in
// arbitrary pieces with arbitrary frame lengths.
#include "CommPlot.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    CCommPlot plot;
    plot.SetSlaveAddress(in.Byte());
    const int length = static_cast<int>(in.Word() % 600) - 20;
    while (in.RestSize() > 0) {
        const std::uint8_t* piece;
        const std::size_t n = in.Take(in.Word() % 5000, piece);
        plot.MB_Add(piece, static_cast<int>(n));
        for (int call = 0; call < 4; ++call) {
            plot.MB_Extract(length);
            if (plot.extractHeld < 0 || plot.extractHeld > CCommPlot::kExtractCapacity ||
                plot.logCount < 0 || plot.logCount > CCommPlot::kLogCapacity)
                __builtin_trap();
        }
    }
    return 0;
}
