// The capture states of the cycle: idle, set-up, communication retry,
// streaming and stopping (block capture is in BlockCapture.cpp).
#include "CaptureMath.h"
#include "CommHooks.h"
#include "TracelensApp.h"

namespace tracelens {

namespace {
constexpr unsigned long kSetupRetries = 3;
constexpr unsigned long kProbeRetries = 1;
constexpr int kProbeFailuresToStop = 5;
constexpr unsigned long kQueueForNoPause = 20;
constexpr unsigned long kQueueForOneFrame = 10;
// One frame per millisecond needs 10 bytes of 10 bits per ms.
constexpr unsigned kStreamingBaud = 115200;
} // namespace

void CTracelensApp::RunState() {
    switch (captureState_.load()) {
    case 0:
        wirelay::SleepMs(10);
        break;
    case 1:
        SetUp();
        break;
    case 2:
        Retry();
        break;
    case 3:
    case 4:
    case 5:
        Stream();
        break;
    case 6:
    case 7:
    case 8:
        Block();
        break;
    case 9:
        Stop();
        break;
    default:
        captureState_ = 0;
    }
}

int CTracelensApp::WriteWithRetries(unsigned short address, unsigned short value,
                                    unsigned long retries) {
    const unsigned long kept = link.GetRetryTimes();
    link.SetRetryTimes(retries);
    const int ok = link.GuardedWrite(address, value);
    link.SetRetryTimes(kept);
    return ok;
}

void CTracelensApp::SetUp() {
    const int mode = request_.word[ScopeRequest::kRunMode];
    probeFailures_ = 0;
    link.linkOk = 1;
    sampleCount_ = 0;
    const unsigned long kept = link.GetRetryTimes();
    link.SetRetryTimes(kSetupRetries);
    link.GuardedWrite(kRegSampling, kSampleStop);
    int ok = 0;
    for (int i = 0; i < 5; ++i)
        ok = link.GuardedWrite(
            static_cast<unsigned short>(kRegPairing + i),
            static_cast<unsigned short>(request_.word[ScopeRequest::kDriveWords + i]));
    if (ok) {
        if (mode == kModeContinue)
            ClearChannelBuffers();
        if (mode >= kModeContinue && mode <= kModeSingle) {
            link.GuardedWrite(kRegSampling, kSampleStream);
        } else if (mode == kModeBlockContinue) {
            ok = link.GuardedWrite(kRegHighSample, highSampleWord_);
        } else {
            pendingWrites_ = 1 | 2 | 4 | 8;
            WritePending();
        }
    }
    if (ok) {
        if (mode == kModeNormal || mode == kModeSingle) {
            chart_->Trig_Reset();
            SetStatus(kStatusIdle);
            captureState_ = mode == kModeNormal ? 4 : 5;
            captureStep_ = 1;
        } else if (mode == kModeContinue) {
            SetStatus(kStatusRunning);
            captureState_ = 3;
        } else if (mode == kModeBlockNormal || mode == kModeBlockSingle) {
            chart_->Trig_Reset();
            SetStatus(kStatusIdle);
            captureState_ = mode == kModeBlockNormal ? 7 : 8;
            captureStep_ = 1;
        } else {
            chart_->Trig_Reset();
            SetStatus(kStatusRunning);
            captureState_ = 6;
            captureStep_ = 1;
        }
        watch_ = kWatchQuiet;
        failedSteps_ = 0;
        const int slow = mode <= kModeSingle && link.dcb.BaudRate < kStreamingBaud ? 1 : 0;
        if (slow != status_.lineTooSlow) {
            status_.lineTooSlow = slow;
            ++status_.counter[ScopeStatus::kStatusCounter];
        }
    } else {
        link.GuardedWrite(kRegSampling, kSampleStop);
        captureState_ = 0;
        SetStopReason(kStopSetupFailed);
    }
    link.SetRetryTimes(kept);
}

void CTracelensApp::Retry() {
    if (watch_ == kWatchProbeDue) {
        // A drive that kept streaming through the loss buries the probe's
        // reply in its frames: it is told to stop first.
        if (link.PreCountInQue() >= kQueueForOneFrame)
            WriteWithRetries(kRegSampling, kSampleStop, kProbeRetries);
        if (WriteWithRetries(kRegProbe, 0, kProbeRetries)) {
            watch_ = kWatchQuiet;
            captureState_ = 1;
            SetStatus(kStatusIdle);
            return;
        }
        silence_.Reset();
        watch_ = kWatchWaiting;
        if (link.lastPropertyQuery != 0) {
            link.linkOk = 1;
        } else {
            if (++probeFailures_ == kProbeFailuresToStop) {
                probeFailures_ = 0;
                captureState_ = 9;
                SetStopReason(kStopStopped);
            }
            link.linkOk = 0;
        }
    } else if (watch_ == kWatchWaiting) {
        wirelay::SleepMs(1);
        if (silence_.IsTimeOut())
            watch_ = kWatchProbeDue;
    } else {
        watch_ = kWatchProbeDue;
    }
}

void CTracelensApp::EnterRetry() {
    captureState_ = 2;
    watch_ = kWatchProbeDue;
    SetStatus(kStatusRetry);
}

void CTracelensApp::Stream() {
    ctx_->Claim(kClaimTracelens).iState.store(1);
    const unsigned long queued = link.PreCountInQue();
    if (queued < kQueueForNoPause)
        wirelay::SleepMs(1);
    if (queued < kQueueForOneFrame) {
        if (watch_ == kWatchQuiet) {
            silence_.Reset();
            watch_ = kWatchWaiting;
        } else if (silence_.IsTimeOut()) {
            EnterRetry();
            return;
        }
    } else {
        watch_ = kWatchQuiet;
    }
    unsigned long words[4];
    if (link.ReadData_V3(words) != 0)
        return;
    ctx_->NoteDriveTraffic();
    ++sampleCount_;
    if (firstFrameShown_ != 0) {
        firstFrameShown_ = 0;
        chart_->ShowAllChannel(1);
    }
    const ChannelTable& channels = channels_[current_];
    const std::array<long, 4> values = AssembleSample(words, channels[0].wide, channels[2].wide);
    if (sampleTap)
        sampleTap(values);
    const int state = captureState_;
    if (state == 3) {
        for (int ch = 0; ch < kChannels; ++ch)
            chart_->ShownBuf(ch).SatAdd(&values[ch]);
    } else {
        if (captureStep_ == 1) {
            chart_->Trig_Reset();
            captureStep_ = 2;
        }
        chart_->TrigAdd_CirBuf(values[0], values[1], values[2], values[3]);
        if (chart_->Trig_CheckTrig_SwpCirBuf())
            CompleteFrame(state == 5);
        if (chart_->trigState != TrigWaiting && chart_->trigState != TrigTriggered)
            return;
    }
    if (status_.status == kStatusIdle)
        SetStatus(kStatusRunning);
}

void CTracelensApp::Stop() {
    WriteWithRetries(kRegSampling, kSampleStop, kSetupRetries);
    SetStatus(kStatusIdle);
    captureState_ = 0;
}

void CTracelensApp::SetStatus(int status) {
    if (status_.status == status)
        return;
    status_.status = status;
    ++status_.counter[ScopeStatus::kStatusCounter];
}

void CTracelensApp::SetStopReason(int reason) {
    status_.stopReason = reason;
    ++status_.counter[ScopeStatus::kStoppedCounter];
}

void CTracelensApp::CompleteFrame(bool singleShot) {
    SetStatus(kStatusIdle);
    status_.triggered = 1;
    ++status_.counter[ScopeStatus::kTriggerCounter];
    if (singleShot) {
        captureState_ = 9;
        SetStopReason(kStopStopped);
    } else {
        captureStep_ = 1; // re-arm
    }
}

void CTracelensApp::ClearChannelBuffers() {
    for (int ch = 0; ch < kChannels; ++ch)
        chart_->ShownBuf(ch).Clear();
}

} // namespace tracelens
