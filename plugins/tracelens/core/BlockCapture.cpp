// High Sample block capture (states 6, 7, 8): arm the drive, wait for its
// block, read the block's frames into the trigger buffers, and write changed
// settings while a block is armed.
#include "CaptureMath.h"
#include "CommHooks.h"
#include "TracelensApp.h"

namespace tracelens {

namespace {
constexpr unsigned kProgressPollMs = 5;
constexpr unsigned kSettleBeforeWriteMs = 501;
constexpr int kFailedStepsToRetry = 11;
constexpr unsigned long kQueueForOneFrame = 10;

enum PendingBit : int { kPendTrigger = 1, kPendHighSample = 2, kPendLevel1 = 4, kPendLevel2 = 8 };
} // namespace

void CTracelensApp::Block() {
    ctx_->Claim(kClaimTracelens).iState.store(1);
    const int step = captureStep_;
    int ok = 1;
    if (pendingWrites_ == 0) {
        ok = BlockStep();
    } else {
        link.PreCountInQue();
        if (captureState_ == 6 && (pendingWrites_ & kPendHighSample) == 0) {
            pendingWrites_ = 0;
            ok = 0;
        } else {
            wirelay::SleepMs(kSettleBeforeWriteMs);
            link.GarbageCollection();
            if (captureState_ == 6)
                pendingWrites_ &= kPendHighSample;
            ok = WritePending();
        }
    }
    if (step >= 1 && step <= 3 && ok == 0) {
        if (++failedSteps_ >= kFailedStepsToRetry) {
            failedSteps_ = 0;
            EnterRetry();
        }
    } else {
        failedSteps_ = 0;
    }
}

int CTracelensApp::BlockStep() {
    switch (captureStep_) {
    case 1: {
        const unsigned short arm = captureState_ == 6 ? kSampleArmFree : kSampleArmTriggered;
        if (!link.GuardedWrite(kRegSampling, arm))
            return 0;
        chart_->Trig_Reset();
        captureStep_ = 2;
        silence_.Reset();
        return 1;
    }
    case 2: {
        wirelay::SleepMs(kProgressPollMs);
        unsigned short progress = 0;
        if (!link.GuardedRead(kRegTrigger, &progress))
            return 0;
        if (progress == kBlockWaiting) {
            SetStatus(kStatusRunning);
        } else if (progress == kBlockComplete) {
            SetStatus(kStatusRunning);
            if (!link.GuardedWrite(kRegSampling, kSampleSendBlock))
                return 0;
            captureStep_ = 3;
            silence_.Reset();
        }
        return 1;
    }
    case 3: {
        unsigned long words[4];
        if (link.ReadData_V3(words) == 0) {
            ctx_->NoteDriveTraffic();
            silence_.Reset();
            AddToTrigger(words);
        } else if (link.lastInQue < static_cast<std::int32_t>(kQueueForOneFrame)) {
            // The block's frames come at wire speed; a block that stopped
            // coming counts as failed steps once the line was silent 2 s.
            wirelay::SleepMs(1);
            if (silence_.IsTimeOut())
                return 0;
        }
        if (chart_->TrigBuf(0).GetSatValidLen() >= blockLength_)
            CompleteBlock();
        return 1;
    }
    default:
        return 1;
    }
}

void CTracelensApp::AddToTrigger(const unsigned long (&words)[4]) {
    ++sampleCount_;
    const ChannelTable& channels = channels_[current_];
    const std::array<long, 4> v = AssembleSample(words, channels[0].wide, channels[2].wide);
    chart_->TrigAdd_CirBuf(v[0], v[1], v[2], v[3]);
}

void CTracelensApp::CompleteBlock() {
    chart_->Trig_SwpCirBuf();
    CompleteFrame(captureState_ == 8);
    firstFrameShown_ = 1;
    const int timeBase = timings_[current_].timeBase;
    chart_->ShowAllChannel(startTimeBase_ == timeBase && firstFrameShown_ != 0 ? 1 : 0);
    startTimeBase_ = timeBase;
}

int CTracelensApp::WritePending() {
    const auto level = [&](int bit, unsigned short reg, std::int32_t value) {
        if ((pendingWrites_ & bit) == 0)
            return true;
        const auto bits = static_cast<std::uint32_t>(value);
        if (!link.GuardedWrite(reg, static_cast<unsigned short>(bits & 0xFFFF)) ||
            !link.GuardedWrite(static_cast<unsigned short>(reg + 1),
                               static_cast<unsigned short>(bits >> 16)))
            return false;
        pendingWrites_ &= ~bit;
        return true;
    };
    int ok = 1;
    if ((pendingWrites_ & kPendTrigger) != 0) {
        ok = link.GuardedWrite(kRegTrigger, TriggerWord(lastTrigger_));
        if (ok)
            pendingWrites_ &= ~kPendTrigger;
    }
    if (ok && (pendingWrites_ & kPendHighSample) != 0) {
        ok = link.GuardedWrite(kRegHighSample, highSampleWord_);
        if (ok)
            pendingWrites_ &= ~kPendHighSample;
    }
    if (ok)
        ok = level(kPendLevel1, kRegLevel1, lastTrigger_.level1) ? 1 : 0;
    if (ok)
        ok = level(kPendLevel2, kRegLevel2, lastTrigger_.level2) ? 1 : 0;
    if (captureStep_ == 2 || captureStep_ == 3)
        captureStep_ = 1;
    return ok;
}

} // namespace tracelens
