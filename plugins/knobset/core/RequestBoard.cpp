#include "RequestBoard.h"

namespace knobset {

bool RequestBoard::Post(int state, std::atomic<int>& progressCount) {
    std::unique_lock lock(stateLock);
    if (requestState != kIdle || requestResult != kResultNone)
        return false;
    if (state != kTranSingle) {
        progressCount = 0;
        progressDone = 0;
    }
    requestResult = kResultPending;
    requestState = state;
    // The single transfer raises the claim inside the same section.
    if (state != kTranSingle)
        lock.unlock();
    std::lock_guard claim(claimLock);
    busyMirror = 1;
    return true;
}

void RequestBoard::Read(int& state, int& result) {
    std::lock_guard lock(stateLock);
    state = requestState;
    result = requestResult;
}

void RequestBoard::Release() {
    std::lock_guard lock(stateLock);
    requestState = kIdle;
    requestResult = kResultNone;
}

bool RequestBoard::Busy() {
    int state, result;
    Read(state, result);
    return state != kIdle || result != kResultNone;
}

TransferTiming::TransferTiming(CModbus& master, SharedContext& ctx)
    : master_(master), retries_(master.GetRetryTimes()), waitWrite_(master.GetWaitWriteTime()),
      polls_(master.GetPreCountQueTimes()) {
    master.SetWaitWriteTime(static_cast<unsigned long>(ctx.Int(kWaitWriteTime).load()));
    master.SetPreCountQueTimes(static_cast<unsigned long>(ctx.Int(kPreCountQueTimes).load()));
    master.SetRetryTimes(0);
    master.SetRetryInterval(0);
}

TransferTiming::~TransferTiming() {
    master_.SetRetryTimes(retries_);
    master_.SetWaitWriteTime(waitWrite_);
    master_.SetPreCountQueTimes(polls_);
}

bool RunJobCycle(SharedContext& ctx, RequestBoard& board, ParmJobs& jobs, RegisterLink& link) {
    LinkClaim& own = ctx.Claim(kClaimKnobset);
    auto othersWith = [&ctx](auto test) {
        for (int owner = 0; owner < kLinkClaims; ++owner) {
            if (owner != kClaimKnobset && test(ctx.Claim(owner)))
                return true;
        }
        return false;
    };
    // Another plug-in waits for the link while the editor holds it: ask to yield.
    if (own.iState.load() == 1 && othersWith([](LinkClaim& c) { return c.iDemand.load() == 1; }))
        own.iYieldRequest.store(1);

    int state = kIdle, result = kResultNone;
    if (board.stateLock.try_lock()) { // a lost race only delays the job one cycle
        state = board.requestState;
        result = board.requestResult;
        board.stateLock.unlock();
    }
    {
        std::lock_guard claim(board.claimLock);
        own.iDemand.store(board.busyMirror);
    }
    if (othersWith([](LinkClaim& c) { return c.iState.load() == 1; }))
        return false;

    bool ran = false;
    if (IsRequestState(state)) {
        {
            TransferTiming timing(link.Master(), ctx);
            result = jobs.Run(state, link);
        }
        state += 1;
        ran = true;
    }
    if (own.iYieldRequest.load() == 1)
        own.iYieldRequest.store(0);
    if (IsFinishingState(state)) {
        own.iState.store(1);
        std::lock_guard claim(board.claimLock);
        board.busyMirror = 0;
    }
    if (ran) {
        std::lock_guard lock(board.stateLock);
        board.requestState = state;
        board.requestResult = result;
    }
    return ran;
}

} // namespace knobset
