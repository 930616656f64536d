#include "MonitorPoll.h"

#include <algorithm>

namespace monitor {
namespace {

constexpr int kMaxCoils = 2000; // the largest coil read of the protocol

template <class Test>
bool AnyOtherClaim(SharedContext& ctx, Test test) {
    for (int owner = 0; owner < kLinkClaims; ++owner)
        if (owner != kClaimMonitor && test(ctx.Claim(owner)))
            return true;
    return false;
}

// The next ticked, readable item from the rotation position; null when no
// item of any group is ticked.
MonitorItem* NextTicked(MonitorBoard& board, MonitorItems& items) {
    int total = 0;
    for (const ItemGroup& g : items.groups)
        total += g.count;
    for (int step = 0; step <= total + kGroups; ++step) {
        ItemGroup& group = items[board.group];
        if (board.index >= group.count) {
            board.group = (board.group + 1) % kGroups;
            board.index = 0;
            continue;
        }
        MonitorItem& item = group.items[board.index];
        if (item.check.load() != 0 && item.Readable())
            return &item;
        ++board.index;
    }
    return nullptr;
}

// Registers: the first is the low 16 bits, a second the high 16 bits.
// Coils: the first data byte is the low part, the second lands at bits 16..23.
bool ReadItem(MonitorItem& item, ItemLink& link) {
    const auto address = static_cast<unsigned short>(item.address);
    if (item.datasize <= 2) {
        unsigned short words[2] = {0, 0};
        if (!link.ReadRegisters(address, static_cast<unsigned short>(item.datasize), words))
            return false;
        item.value = static_cast<std::int32_t>(words[0] | (std::uint32_t(words[1]) << 16));
        item.read.store(true, std::memory_order_release);
        return true;
    }
    const int coils = std::min(item.datasize, kMaxCoils);
    unsigned char bytes[kMaxCoils / 8] = {};
    if (!link.ReadCoils(address, static_cast<unsigned short>(coils), bytes))
        return false;
    item.value = static_cast<std::int32_t>(bytes[0] | (std::uint32_t(bytes[1]) << 16));
    item.read.store(true, std::memory_order_release);
    return true;
}

void RunStep(MonitorBoard& board, MonitorItems& items, ItemLink& link, int& status) {
    const int mode = board.mode.load();
    if (mode == kClearPending) {
        unsigned short zero = 0;
        if (link.WriteRegisters(static_cast<unsigned short>(board.clearAddress.load()), 1, &zero))
            board.mode = kReadNext;
        return;
    }
    if (mode != kReadNext) {
        status = kDoneNoMode;
        return;
    }
    MonitorItem* item = NextTicked(board, items);
    if (item == nullptr) {
        status = kDoneWithData;
        return;
    }
    if (!ReadItem(*item, link))
        return; // the same item again in the next step
    board.reads.fetch_add(1, std::memory_order_release);
    status = kDoneWithData;
    ++board.index;
    if (board.clearPending.exchange(0) != 0)
        board.mode = kClearPending;
}

} // namespace

void PollStep(SharedContext& ctx, MonitorBoard& board, MonitorItems& items, ItemLink& link) {
    int command = kIdle, status = kStatusNone;
    if (board.requestLock.try_lock()) {
        command = board.command;
        status = board.status;
        board.requestLock.unlock();
    }
    LinkClaim& own = ctx.Claim(kClaimMonitor);
    int monitorOn = 0;
    {
        std::lock_guard lock(board.monitorLock);
        own.iDemand.store(board.linkWish);
        monitorOn = board.monitorOn;
    }
    if (own.iState.load() == 1 && AnyOtherClaim(ctx, [](LinkClaim& c) { return c.iDemand == 1; }))
        own.iYieldRequest.store(1);
    if (AnyOtherClaim(ctx, [](LinkClaim& c) { return c.iState == 1; }))
        return;

    own.iDemand.store(0);
    // A step runs while a step is requested or the last one is done and not
    // yet taken by the window: monitoring never waits for the window timer.
    const bool ran = ctx.Int(kOnline).load() != 0 && monitorOn != 0 && command != kIdle;
    if (ran) {
        own.iState.store(1);
        RunStep(board, items, link, status);
        command = kStepDone;
    }
    if (own.iYieldRequest.load() == 1) {
        own.iState.store(2);
        own.iYieldRequest.store(0);
        board.stoppedByYield = 1;
    }
    if (monitorOn == 0 && (command == kIdle || command == kStepDone)) {
        board.stoppedByYield = 0;
        std::lock_guard lock(board.monitorLock);
        board.linkWish = 0;
    }
    if (ran) {
        std::lock_guard lock(board.requestLock);
        board.command = command;
        board.status = status;
    }
}

void OpenCom(MonitorBoard& board) {
    std::lock_guard lock(board.monitorLock);
    board.monitorOn = 1;
    board.linkWish = 1;
}

void StopCom(SharedContext& ctx, MonitorBoard& board) {
    std::lock_guard lock(board.monitorLock);
    board.monitorOn = 0;
    ctx.Claim(kClaimMonitor).iState.store(2);
}

bool RequestClear(MonitorBoard& board, const MonitorItem& item) {
    if (item.clear == 0 || !item.Readable())
        return false;
    board.clearAddress = item.address;
    board.clearSize = item.datasize;
    board.clearPending.store(1, std::memory_order_release);
    return true;
}

bool ServeWindowTimer(MonitorBoard& board) {
    int monitorOn = 0;
    {
        std::lock_guard lock(board.monitorLock);
        monitorOn = board.monitorOn;
    }
    std::lock_guard lock(board.requestLock);
    const bool done = board.command == kStepDone && board.status == kDoneWithData;
    if (done) {
        board.command = kIdle;
        board.status = kStatusNone;
    }
    if (board.command == kIdle && monitorOn == 1) {
        board.command = kStepRequested;
        board.status = kRequested;
        if (board.mode.load() != kClearPending)
            board.mode = kReadNext;
    }
    return done;
}

bool TakeYieldStop(SharedContext& ctx, MonitorBoard& board) {
    if (board.stoppedByYield.load() == 0)
        return false;
    std::lock_guard lock(board.monitorLock);
    if (board.monitorOn == 0)
        return false;
    ctx.Claim(kClaimMonitor).iState.store(2);
    board.monitorOn = 0;
    return true;
}

void CloseWindow(SharedContext& ctx, MonitorBoard& board) {
    board.mode = kNothing;
    std::lock_guard lock(board.monitorLock);
    ctx.Claim(kClaimMonitor).iState.store(2);
    board.monitorOn = 0;
}

} // namespace monitor
