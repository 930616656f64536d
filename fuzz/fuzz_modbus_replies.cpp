// Reply judging of the five Modbus functions fed arbitrary far-end bytes: the
// first reply arrives with the request, leftovers meet the retry's pre-drain.
#include "CommHooks.h"
#include "FuzzInput.h"
#include "MemoryPort.h"
#include "Modbus.h"

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wirelay::SetSleepFunction([](unsigned) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const unsigned function = in.Byte() % 6;
    const unsigned count = in.Word();
    const std::uint8_t capacity = in.Byte();
    const std::uint8_t* stray;
    const std::size_t strayCount = in.Take(in.Byte() % 8, stray);

    wirelay::MemoryPort port;
    port.Feed(stray, strayCount);
    bool answered = false;
    port.SetResponder([&](const std::uint8_t*, std::size_t) {
        if (!answered)
            port.Feed(in.Rest(), in.RestSize());
        answered = true;
    });
    CModbus mb;
    mb.hPort = port.Handle();
    mb.preCountQueTimes = 2;
    mb.retryTimes = 2;
    mb.monitorEnable = 1;
    mb.latePollCount = 1;

    // Destinations as large as the caller's limits allow, exactly.
    std::vector<unsigned char> bits((CModbus::kMaxReadCoils + 7) / 8, 0x5A);
    std::vector<unsigned short> words(CModbus::kMaxReadRegisters, 0x5A5A);
    std::vector<char> text(capacity);
    unsigned char cap = capacity, id, run;
    switch (function) {
    case 0:
        mb.ReadCoils(0, static_cast<unsigned short>(count % 2100), bits.data());
        break;
    case 1:
        mb.WriteMultipleCoils(0, static_cast<unsigned short>(count % 2100), bits.data());
        break;
    case 2:
        mb.ReadHoldingRegisters(0, static_cast<unsigned short>(count % 130), words.data());
        break;
    case 3:
        mb.WriteMultipleRegisters(0, static_cast<unsigned short>(count % 130), words.data());
        break;
    case 4:
        mb.ReportSlaveID(text.data(), &cap, &id, &run);
        break;
    default: {
        unsigned char reply[8] = {};
        std::memcpy(reply, in.Rest(), in.RestSize() < 8 ? in.RestSize() : 8);
        mb.Rx_WriteMultipleRegisters(static_cast<unsigned short>(count), capacity, reply);
    }
    }
    std::string line;
    while (mb.MonitorGetPacket(line)) {
    }
    return 0;
}
