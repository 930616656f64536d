// The hand-off between the internal-position window (UI thread) and the
// plug-in's cycle entry (the host's comm thread): the request and the
// current pair, the motion values, the window's link demand, and the cycle
// itself with the turn-taking of link claim 6.
#pragma once

#include "RouteplanJobs.h"

#include <atomic>
#include <mutex>

namespace routeplan {

struct CommandPair {
    int code = CS_Idle;
    int result = kResultNone;
};

class RouteplanBoard {
public:
    // Window side. Posts `code` when the current pair is idle and no request
    // waits; raises the window's demand for the link. False when busy.
    bool Post(int code);
    // Sets the current pair directly (position feedback while jogging).
    bool PostCurrent(int code);
    CommandPair Current();
    // After the answer was shown: the pair goes back to idle.
    void Release();
    bool Busy();
    // The window closes: the pair goes idle; a servo-off answer is dropped.
    void Close();
    // A window opens: an answer left from an earlier one is dropped.
    void Open();

    // Motion values under the request lock.
    template <class F>
    auto WithMotion(F&& f) {
        std::lock_guard lock(requestLock);
        return f(motion);
    }

    // True once after the cycle stopped on another plug-in's yield request.
    bool TakeStoppedByYield();

    std::mutex requestLock; // guards request, current, motion, closing
    CommandPair request;
    bool newRequest = false;
    CommandPair current;
    MotionValues motion;
    bool closing = false;

    // 1 once a read-all or transfer-all was answered (closes the progress window).
    std::atomic<int> transferDone{0};

    std::mutex demandLock; // guards demand and stoppedByYield
    int demand = 0;
    bool stoppedByYield = false;
};

// One call of the cycle entry. Returns true when a command was performed.
bool RunCycle(SharedContext& ctx, RouteplanBoard& board, RouteplanJobs& jobs, MotionLink& link);

} // namespace routeplan
