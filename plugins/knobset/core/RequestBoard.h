// The request words between the editor window (UI thread) and the job
// routine (comm thread or the editor's own worker), and the routine itself.
#pragma once

#include "ParmJobs.h"
#include "SharedContext.h"

#include <atomic>
#include <mutex>

namespace knobset {

class RequestBoard {
public:
    // Window side: posts request `state` when the machine is idle (state and
    // result 0). The single transfer (5) has no progress box. False when busy.
    bool Post(int state, std::atomic<int>& progressCount);
    // State and result, read under stateLock.
    void Read(int& state, int& result);
    // Window side, after the outcome of a finishing state was shown.
    void Release();
    bool Busy();

    std::mutex stateLock; // guards requestState and requestResult
    std::mutex claimLock; // guards busyMirror
    int requestState = 0;
    int requestResult = 0;
    int busyMirror = 0;
    std::atomic<int> progressDone{0};
};

// The transfer timing of the context (its wait time and polling count, no
// retries) on a link's master while it lives; the master's own settings
// come back afterwards (the retry interval stays 0).
class TransferTiming {
public:
    TransferTiming(CModbus& master, SharedContext& ctx);
    ~TransferTiming();
    TransferTiming(const TransferTiming&) = delete;
    TransferTiming& operator=(const TransferTiming&) = delete;

private:
    CModbus& master_;
    unsigned long retries_, waitWrite_, polls_;
};

// One cycle of the job routine: yield rule, request pick-up, claim mirror,
// the job with the transfer timing of the context, and the result. Returns
// true when a job ran. Link upkeep (handle adoption) is the caller's part.
bool RunJobCycle(SharedContext& ctx, RequestBoard& board, ParmJobs& jobs, RegisterLink& link);

} // namespace knobset
