#include "RouteplanCycle.h"

#include <utility>

namespace routeplan {
namespace {

bool AnyOtherClaim(SharedContext& ctx, SharedInt LinkClaim::*field) {
    for (int owner = 0; owner < kLinkClaims; ++owner)
        if (owner != kClaimRouteplan && (ctx.Claim(owner).*field).load() == 1)
            return true;
    return false;
}

// The window's request, taken with the jog flags it raised: they are sent
// once, and a new jog speed goes from "to send" to "sent".
MotionValues TakeMotion(MotionValues& shared) {
    MotionValues taken = shared;
    shared.stepForward = shared.stepBackward = shared.runForward = shared.runBackward = false;
    shared.jogPending = false;
    if (shared.speedUpdate == 1)
        shared.speedUpdate = 2;
    return taken;
}

// What the cycle learnt goes back to the window's copy.
void Report(const MotionValues& from, MotionValues& to) {
    to.gear = from.gear;
    to.feedback = from.feedback;
    to.controlMode = from.controlMode;
    to.motionState = from.motionState;
    to.alarmCode = from.alarmCode;
    to.servoOn = from.servoOn;
    to.pointPosition = from.pointPosition;
    to.pointSpeed = from.pointSpeed;
    to.lastEndPoint = from.lastEndPoint;
    to.lastDelayMs = from.lastDelayMs;
}

} // namespace

bool RouteplanBoard::Post(int code) {
    std::lock_guard lock(requestLock);
    if (newRequest || current.code != CS_Idle)
        return false;
    request = {code, kResultPending};
    newRequest = true;
    if (code == CS_ReadAllParms || code == CS_TransAllParms)
        transferDone = 0;
    std::lock_guard demandGuard(demandLock);
    demand = 1;
    return true;
}

bool RouteplanBoard::PostCurrent(int code) {
    std::lock_guard lock(requestLock);
    if (newRequest || current.code != CS_Idle)
        return false;
    current = {code, kResultPending};
    return true;
}

CommandPair RouteplanBoard::Current() {
    std::lock_guard lock(requestLock);
    return current;
}

void RouteplanBoard::Release() {
    std::lock_guard lock(requestLock);
    current = {};
}

bool RouteplanBoard::Busy() {
    std::lock_guard lock(requestLock);
    return newRequest || current.code != CS_Idle;
}

void RouteplanBoard::Close() {
    std::lock_guard lock(requestLock);
    closing = true;
    if (!IsRequest(current.code))
        current = {};
}

void RouteplanBoard::Open() {
    std::lock_guard lock(requestLock);
    closing = false;
    if (!IsRequest(current.code))
        current = {};
}

bool RouteplanBoard::TakeStoppedByYield() {
    std::lock_guard lock(demandLock);
    return std::exchange(stoppedByYield, false);
}

bool RunCycle(SharedContext& ctx, RouteplanBoard& board, RouteplanJobs& jobs, MotionLink& link) {
    LinkClaim& own = ctx.Claim(kClaimRouteplan);
    CommandPair pair;
    if (board.requestLock.try_lock()) { // a lost race only delays the command one cycle
        if (board.newRequest) {
            board.current = board.request;
            board.newRequest = false;
        }
        pair = board.current;
        board.requestLock.unlock();
    }
    {
        std::lock_guard demand(board.demandLock);
        own.iDemand.store(board.demand);
    }
    if (own.iState.load() == 1 && AnyOtherClaim(ctx, &LinkClaim::iDemand))
        own.iYieldRequest.store(1);
    if (AnyOtherClaim(ctx, &LinkClaim::iState))
        return false; // another plug-in's job holds the link
    own.iDemand.store(0);

    bool ran = false;
    MotionValues motion;
    if (IsRequest(pair.code) && board.requestLock.try_lock()) {
        motion = TakeMotion(board.motion);
        board.requestLock.unlock();
        pair.result = jobs.Run(pair.code, link, motion);
        pair.code += 1;
        own.iState.store(1);
        ran = true;
    }
    if (own.iYieldRequest.load() == 1) {
        own.iYieldRequest.store(0);
        own.iState.store(0);
        std::lock_guard demand(board.demandLock);
        board.stoppedByYield = true;
    }
    if (ran) {
        std::lock_guard lock(board.requestLock);
        Report(motion, board.motion);
        if (board.closing && pair.code == CS_ServoOff + 1) {
            board.closing = false;
            board.current = board.request = {};
            own.iState.store(0); // no window is left to use the link
        } else {
            board.current = pair;
        }
        if (pair.code == CS_ReadAllParms + 1 || pair.code == CS_TransAllParms + 1)
            board.transferDone = 1;
        std::lock_guard demand(board.demandLock);
        board.demand = 0;
    }
    return ran;
}

} // namespace routeplan
