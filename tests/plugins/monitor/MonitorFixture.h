// Helpers of the monitor tests: a context with the records the poll step
// uses, items built in memory, and a link straight on a simulated drive's
// state that logs every request.
#pragma once

#include "DriveState.h"
#include "MonitorData.h"
#include "MonitorPoll.h"
#include "SharedContext.h"

#include <array>
#include <string>
#include <vector>

// The slots the poll step reads: the on-line flag and the seven claims.
struct PollContext {
    SharedInt online{1};
    std::array<LinkClaim, kLinkClaims> claims;
    SharedContext ctx;
    PollContext() {
        ctx.slot[kOnline] = reinterpret_cast<std::intptr_t>(&online);
        for (int c = 0; c < kLinkClaims; ++c)
            ctx.slot[kLinkClaim0 + c] = reinterpret_cast<std::intptr_t>(&claims[c]);
    }
};

// Appends a ticked item to a group.
inline monitor::MonitorItem& AddItem(monitor::ItemGroup& group, int address, int datasize,
                                     int clear = 0) {
    monitor::MonitorItem& item = group.items[group.count++];
    item.address = address;
    item.datasize = datasize;
    item.clear = clear;
    item.check = 1;
    return item;
}

struct LoggedRequest {
    char op; // 'R' registers, 'C' coils, 'W' write
    int start;
    int count;
    bool operator==(const LoggedRequest&) const = default;
};

class StateItemLink : public monitor::ItemLink {
public:
    StateItemLink()
        : state(drivesim::ParameterTable::Load(drivesim::DriveModel::T5, "."),
                drivesim::IdentityLayout::Layout2, "") {}

    int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) override {
        log.push_back({'R', start, count});
        std::vector<std::uint16_t> out;
        if (failing || state.ReadRegisters(start, count, out) != drivesim::kNoException)
            return 0;
        std::copy(out.begin(), out.end(), dest);
        return 1;
    }
    int ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) override {
        log.push_back({'C', start, count});
        std::vector<bool> bits;
        if (failing || state.ReadCoils(start, count, bits) != drivesim::kNoException)
            return 0;
        for (std::size_t i = 0; i < bits.size(); ++i)
            dest[i / 8] = static_cast<unsigned char>(dest[i / 8] | (bits[i] ? 1 << (i % 8) : 0));
        return 1;
    }
    int WriteRegisters(unsigned short start, unsigned short count,
                       unsigned short* source) override {
        log.push_back({'W', start, count});
        written.assign(source, source + count);
        return !failing && state.WriteRegisters(start, written) == drivesim::kNoException;
    }

    drivesim::DriveState state;
    std::vector<LoggedRequest> log;
    std::vector<std::uint16_t> written;
    bool failing = false;
};

// Monitoring switched on as "Open com" and the window's first timer tick do.
inline void StartMonitoring(monitor::MonitorBoard& board) {
    monitor::OpenCom(board);
    monitor::ServeWindowTimer(board);
}
