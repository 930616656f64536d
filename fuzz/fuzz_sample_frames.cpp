// The sample-frame readers (third and second generation) and the one-shot
// block read fed an arbitrary byte stream in arbitrary pieces.
#include "CommPlot.h"
#include "FuzzInput.h"
#include "MemoryPort.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::uint8_t mode = in.Byte();
    wirelay::MemoryPort port;
    CCommPlot plot;
    plot.hPort = port.Handle();
    plot.SetPreCountQueTimes(mode & 0x0F);
    plot.logEnable = mode & 0x10;

    unsigned long v3[4];
    unsigned short status;
    short v2[3];
    unsigned short words[CCommPlot::kMaxReadDataWords];
    while (in.RestSize() > 0) {
        const std::uint8_t* piece;
        const std::size_t n = in.Take(in.Byte() % 24, piece);
        port.Feed(piece, n);
        for (int call = 0; call < 3; ++call) {
            if (mode & 0x20) {
                plot.ReadData2(&status, v2);
            } else if (mode & 0x40) {
                plot.ReadData(mode, static_cast<unsigned short>(n % 140), words);
            } else {
                plot.ReadData_V3(v3);
            }
            if (plot.frameHeld < 0 || plot.frameHeld >= CCommPlot::kFrameV3Length)
                __builtin_trap();
        }
        if (mode & 0x80)
            plot.GarbageCollection();
    }
    return 0;
}
