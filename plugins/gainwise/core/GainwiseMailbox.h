// The command mailbox between the tuning window (UI thread) and the
// plug-in's cycle (the host's communication thread), and one cycle: the
// link-sharing steps on LinkClaim 5 and the drive exchange of each command.
#pragma once

#include "GainMath.h"
#include "SharedContext.h"
#include "TuningLink.h"

#include <mutex>

namespace gainwise {

// Commands (odd); each one's completion is the number plus one.
enum Command : int {
    kIdle = 0,
    kServoOn = 1,
    kServoOff = 3,
    kTransAllParms = 5,
    kWriteDrvEEp = 7,
    kExecute = 9,
    kReadSingleParm = 11,
    kCheckServoOnStatus = 13,
};
enum CommandResult : int { kResultNone = 0, kResultSuccess = 2, kResultFailure = 3 };

// "CS_ServoOn", "CS_ServoOn_Finish", ... ("CS_Idle" for 0, "" for others).
const char* StateName(int state);

class Mailbox {
public:
    // --- Window side ---
    // Posts a command with its argument (the pattern for kExecute); false
    // while another one is in flight.
    bool Post(int command, int argument = 0);
    bool Busy();
    // A completed command (its number plus one, and 2 or 3), taken once.
    struct Answer {
        int resultCode = 0;
        int result = 0;
    };
    std::optional<Answer> TakeAnswer();
    void SetPattern(int pattern); // 0..7
    void SetValues(const GainValues& values);
    int ServoState();
    bool ServoWasAlreadyOn();
    int InertiaRatio();
    void SetLinkDemand(int demand);
    // True once after the cycle gave the link up on another tool's request.
    bool TakeYieldNote();

    // --- Cycle side ---
    // Step 2: takes a posted command when the lock is free at once.
    void PickUp(int& current);
    // Step 6: publishes a completion (false when the lock was busy).
    bool Publish(int resultCode, int result);
    int LinkDemand();
    void NoteYield();

    // What the cycle reads and fills, under `lock`.
    std::mutex lock;
    int posted = kIdle;
    int argument = 0;
    int newCommand = 0;
    int resultCode = kIdle;
    int result = kResultNone;
    int pattern = 0;
    int servoState = 0;
    int servoAlreadyOn = 0;
    int inertiaRatio = 0;
    GainValues values{};

private:
    std::mutex demandLock_; // guards linkDemand_
    int linkDemand_ = 0;
    int yieldNote_ = 0;
};

// The cycle's own state and one pass of it (ExternThread).
class GainwiseCycle {
public:
    GainwiseCycle(Mailbox& mailbox, TuningLink& link) : mailbox_(mailbox), link_(link) {}
    // Steps 2 to 6 (link upkeep is the caller's part). True when a drive
    // exchange ran.
    bool Run(SharedContext& ctx);
    int Current() const { return current_; }

private:
    int Execute(SharedContext& ctx, int command);
    bool ServoOn();
    bool TransferAll(int model);
    bool SaveToEeprom(SharedContext& ctx, int model);
    bool ReadResult(int model);

    Mailbox& mailbox_;
    TuningLink& link_;
    int current_ = kIdle;
    int currentResult_ = kResultNone;
};

} // namespace gainwise
