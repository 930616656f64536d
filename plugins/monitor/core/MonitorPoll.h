// The monitor's request words between its window (UI thread) and its poll
// step (the host's comm thread), and the poll step itself: while monitoring
// runs, each step reads the next ticked item, rotating over the four groups.
#pragma once

#include "MonitorData.h"
#include "SharedContext.h"

#include <atomic>
#include <mutex>

namespace monitor {

// The drive requests of the poll step (the plug-in sends them through its
// DriveLink's guarded call; tests answer them from a simulated drive).
class ItemLink {
public:
    virtual ~ItemLink() = default;
    virtual int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) = 0;
    virtual int ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) = 0;
    virtual int WriteRegisters(unsigned short start, unsigned short count,
                               unsigned short* source) = 0;
};

// An ItemLink on anything that offers CModbus's request calls: a CModbus
// master itself, or a DriveLink's guarded call.
template <class Target>
class ItemLinkOn : public ItemLink {
public:
    explicit ItemLinkOn(Target& target) : target_(target) {}
    int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) override {
        return target_.ReadHoldingRegisters(start, count, dest);
    }
    int ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) override {
        return target_.ReadCoils(start, count, dest);
    }
    int WriteRegisters(unsigned short start, unsigned short count,
                       unsigned short* source) override {
        return target_.WriteMultipleRegisters(start, count, source);
    }

private:
    Target& target_;
};

// Request pair: command 0 idle, 1 a read step is requested, 2 a step is done;
// status 1 requested, 2 done with data, 3 done without a valid mode.
enum Command : int { kIdle = 0, kStepRequested = 1, kStepDone = 2 };
enum Status : int { kStatusNone = 0, kRequested = 1, kDoneWithData = 2, kDoneNoMode = 3 };
// iMode: what the next step does.
enum Mode : int { kNothing = 0, kClearPending = 1, kReadNext = 2 };

class MonitorBoard {
public:
    std::mutex requestLock; // guards command and status
    int command = kIdle;
    int status = kStatusNone;

    std::mutex monitorLock; // guards monitorOn and linkWish
    int monitorOn = 0;      // 1 from "Open com" until "Stop com", close or a yield
    int linkWish = 0;       // published as the own LinkClaim.iDemand

    std::atomic<int> mode{kNothing};
    std::atomic<int> stoppedByYield{0};
    // The chosen Motion item to clear after the next successful read.
    std::atomic<int> clearPending{0};
    std::atomic<int> clearAddress{0};
    std::atomic<int> clearSize{0};

    // The rotation (comm thread only).
    int group = kMotion;
    int index = 0;
    // Successful item reads, for the window's refresh and for measurements.
    std::atomic<unsigned> reads{0};
};

// One poll step (ExternThread). Link upkeep (adopting the published port) is
// the caller's part.
void PollStep(SharedContext& ctx, MonitorBoard& board, MonitorItems& items, ItemLink& link);

// Window side.
void OpenCom(MonitorBoard& board);
void StopCom(SharedContext& ctx, MonitorBoard& board);
// The chosen Motion row asks to be cleared (only an item whose Clear is set).
bool RequestClear(MonitorBoard& board, const MonitorItem& item);
// The window timer's request duties: a finished step is taken (true: the
// texts may have changed) and, while monitoring is on, the next is requested.
bool ServeWindowTimer(MonitorBoard& board);
// A yield stopped monitoring: true once, when the window must show it.
bool TakeYieldStop(SharedContext& ctx, MonitorBoard& board);
// The window closes: no more steps, the link is given back.
void CloseWindow(SharedContext& ctx, MonitorBoard& board);

} // namespace monitor
