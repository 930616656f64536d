// The tuning window's flow without its widgets: which command each step
// posts, the continuous reading of the estimate, and what each completion
// tells the user. The window asks its confirmations first, then calls the
// step, and on every 10 ms tick shows what Tick() returns.
#pragma once

#include "GainwiseMailbox.h"

namespace gainwise {

// Message ids of the automatic flow and the transfer.
enum FlowMessage : int {
    kMsgServoOnState = 242,
    kMsgServoOnFailed = 243,
    kMsgServoOffFailed = 244,
    kMsgReadStatusFailed = 245,
    kMsgTransferSuccess = 248,
    kMsgTransferFailed = 249,
    kMsgEepromSuccess = 250,
    kMsgEepromFailed = 251,
    kMsgStartFailed = 253,
    kMsgNotConnected = 256,
};

// What one tick brings to the window.
struct TickNews {
    int finished = kIdle; // the command that completed (its number), or kIdle
    bool success = false;
    int message = 0; // a message to show, 0 none
    bool servoKnown = false;
    bool servoOn = false;
    bool inertiaRead = false;
    int inertiaRatio = 0;
};

class GainwiseSession {
public:
    GainwiseSession(Mailbox& mailbox, SharedContext& ctx) : mailbox_(mailbox), ctx_(ctx) {}

    bool Connected() const { return ctx_.Int(kLinkFound).load() != 0; }
    bool Busy() const { return mailbox_.Busy(); }
    bool Reading() const { return reading_; }

    // The window opened: read the servo state when connected.
    void Open();
    // The steps; each returns false (and posts nothing) without a drive or
    // while a command runs. Posting any of them ends the result reading.
    bool ServoOn();
    bool Start(int pattern); // 0..7
    bool ServoOff();
    bool SaveEeprom();
    bool Transfer(const GainValues& values);

    TickNews Tick();

private:
    bool PostCommand(int command, int argument = 0);

    Mailbox& mailbox_;
    SharedContext& ctx_;
    bool reading_ = false;
    // A step asked for while a result read was in flight: posted when it ends.
    int pendingCommand_ = kIdle;
    int pendingArgument_ = 0;
};

} // namespace gainwise
