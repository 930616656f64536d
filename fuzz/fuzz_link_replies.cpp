// The replies of the drive service frames (CMCComm) and of the controller
// link (CPLCComm), fed arbitrary far-end bytes: one part arrives with the
// request, the rest at the library's first pause.
#include "CommHooks.h"
#include "FuzzInput.h"
#include "MCComm.h"
#include "MemoryPort.h"
#include "PLCComm.h"

#include <vector>

namespace {

wirelay::MemoryPort* gPort = nullptr;
const std::uint8_t* gLate = nullptr;
std::size_t gLateSize = 0;

void FeedLate(unsigned) {
    if (gPort != nullptr && gLateSize != 0)
        gPort->Feed(gLate, gLateSize);
    gLateSize = 0;
}

void RunService(unsigned op, std::uint8_t param, CMCComm& mc) {
    std::int32_t value = 0;
    std::vector<std::int32_t> positions(256);
    unsigned char block[CMCComm::kSerialDataSize] = {};
    switch (op % 8) {
    case 0:
        mc.EM_ReadParm(param, value);
        break;
    case 1:
        mc.EM_SaveParm(param, value);
        break;
    case 2:
        mc.SetAllDIOFlag();
        break;
    case 3:
        mc.SaveSerialData(block);
        break;
    case 4:
        mc.ReadSerialData(block);
        break;
    case 5:
        mc.ReadInfoData(block);
        break;
    case 6:
        mc.ReadDIOPositionBatch(0, param, positions.data());
        break;
    default:
        mc.ReadParm(param % 2 ? 22 : 23, value);
        break;
    }
}

void RunLink(unsigned op, std::uint8_t param, CPLCComm& plc) {
    unsigned char bits[256] = {};
    unsigned short words[256] = {};
    char count[3];
    count[0] = "0123456789ABCDEF"[param >> 4];
    count[1] = "0123456789ABCDEF"[param & 15];
    count[2] = 0;
    switch (op % 4) {
    case 0:
        plc._PLC_BR("M0100", count, bits);
        break;
    case 1:
        plc.PLC_WR16("D0100", param, words);
        break;
    case 2:
        plc.PLC_WW16("D0100", param);
        break;
    default:
        plc.PLC_BW("M0100", 3, "101");
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wirelay::SetSleepFunction(FeedLate);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const unsigned op = in.Byte();
    const std::uint8_t param = in.Byte();
    const std::uint8_t* first;
    const std::size_t firstSize = in.Take(in.Byte(), first);

    wirelay::MemoryPort port;
    gPort = &port;
    gLate = in.Rest();
    gLateSize = in.RestSize();
    bool answered = false;
    port.SetResponder([&](const std::uint8_t*, std::size_t) {
        if (!answered)
            port.Feed(first, firstSize);
        answered = true;
    });
    if (op & 0x80) {
        CPLCComm plc;
        plc.hPort = port.Handle();
        plc.plcPreCountQueTimes = 3;
        RunLink(op, param, plc);
    } else {
        CMCComm mc;
        mc.hPort = port.Handle();
        mc.preCountQueTimes = 3;
        mc.retryLimit = 1;
        RunService(op, param, mc);
    }
    gPort = nullptr;
    return 0;
}
