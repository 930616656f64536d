#include "GainwiseSession.h"

#include <utility>

namespace gainwise {

bool GainwiseSession::PostCommand(int command, int argument) {
    if (!Connected())
        return false;
    if (command != kReadSingleParm && reading_) {
        reading_ = false;
        if (Busy()) {
            pendingCommand_ = command;
            pendingArgument_ = argument;
            return true;
        }
    }
    if (!mailbox_.Post(command, argument))
        return false;
    mailbox_.SetLinkDemand(1);
    ctx_.RingCommThread();
    return true;
}

void GainwiseSession::Open() {
    PostCommand(kCheckServoOnStatus);
}

bool GainwiseSession::ServoOn() {
    return PostCommand(kServoOn);
}

bool GainwiseSession::Start(int pattern) {
    mailbox_.SetPattern(pattern);
    return PostCommand(kExecute, pattern);
}

bool GainwiseSession::ServoOff() {
    return PostCommand(kServoOff);
}

bool GainwiseSession::SaveEeprom() {
    return PostCommand(kWriteDrvEEp);
}

bool GainwiseSession::Transfer(const GainValues& values) {
    if (!Connected() || Busy())
        return false;
    mailbox_.SetValues(values);
    return PostCommand(kTransAllParms);
}

TickNews GainwiseSession::Tick() {
    TickNews news;
    mailbox_.TakeYieldNote();
    const auto answer = mailbox_.TakeAnswer();
    if (!answer) {
        if (reading_ && !Busy())
            PostCommand(kReadSingleParm);
        return news;
    }
    // The result is handled: the link is free for the others again.
    ctx_.Claim(kClaimGainwise).iState.store(2);
    news.finished = answer->resultCode - 1;
    news.success = answer->result == kResultSuccess;
    switch (news.finished) {
    case kServoOn:
        news.message = !news.success                  ? kMsgServoOnFailed
                       : mailbox_.ServoWasAlreadyOn() ? kMsgServoOnState
                                                      : 0;
        news.servoKnown = news.success;
        news.servoOn = news.success;
        break;
    case kCheckServoOnStatus:
        news.message = news.success ? 0 : kMsgServoOnFailed;
        news.servoKnown = news.success;
        news.servoOn = news.success && mailbox_.ServoState() != 0;
        break;
    case kServoOff:
        news.message = news.success ? 0 : kMsgServoOffFailed;
        news.servoKnown = news.success;
        news.servoOn = false;
        break;
    case kExecute:
        news.message = news.success ? 0 : kMsgStartFailed;
        reading_ = news.success;
        break;
    case kReadSingleParm:
        if (news.success) {
            news.inertiaRead = true;
            news.inertiaRatio = mailbox_.InertiaRatio();
        } else {
            news.message = kMsgReadStatusFailed;
            reading_ = false;
        }
        break;
    case kTransAllParms:
        news.message = news.success ? kMsgTransferSuccess : kMsgTransferFailed;
        break;
    case kWriteDrvEEp:
        news.message = news.success ? kMsgEepromSuccess : kMsgEepromFailed;
        break;
    default:
        break;
    }
    if (pendingCommand_ != kIdle)
        PostCommand(std::exchange(pendingCommand_, kIdle), pendingArgument_);
    else if (reading_ && !Busy())
        PostCommand(kReadSingleParm);
    return news;
}

} // namespace gainwise
