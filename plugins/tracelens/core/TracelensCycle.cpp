// One cycle of the scope on the communication thread: link upkeep, presets,
// the request hand-off, the link claims, mode changes, the capture state,
// drawing and the clear commands.
#include "CaptureMath.h"
#include "CommHooks.h"
#include "TracelensApp.h"

#include <cstring>

namespace tracelens {

namespace {
// Words of the ScopeRequestBlock a preset uses (words 0..33 are the settings).
constexpr int kPresetSeen = 34;
constexpr int kPresetRaised = 35;
constexpr int kPresetServed = 36;
constexpr int kPresetApplied = 38;
} // namespace

void CTracelensApp::ExternThread() {
    if (ctx_ == nullptr)
        return;
    AdoptPort();
    ApplyPreset();
    LinkClaim& own = ctx_->Claim(kClaimTracelens);
    if (AnyOtherClaim(&LinkClaim::iDemand) && own.iState.load() == 1)
        own.iYieldRequest.store(1);
    TakeRequest();
    {
        std::lock_guard lock(activeLock_);
        own.iDemand.store(scopeActive_);
    }
    paused_ = AnyOtherClaim(&LinkClaim::iState);
    {
        std::unique_lock lock(debugLock_, std::try_to_lock);
        if (lock)
            debug_ = debugRequested_;
    }
    if (!paused_) {
        ChangeMode();
        RunState();
    }
    if (request_.word[ScopeRequest::kRedraw] != 0)
        Draw();
    ServeRecordedCopy();
    ServeClearAndHandOff();
}

// The host's port is adopted once, at the first cycle that sees a handle
// other than the link's own.
void CTracelensApp::AdoptPort() {
    if (adoptPending_ != 0 && ctx_->ComHandle().load(std::memory_order_acquire) != link.hPort) {
        wirelay::SleepMs(100);
        link.hPort = ctx_->ComHandle().load(std::memory_order_acquire);
        link.SetSlaveAddress(static_cast<std::uint8_t>(ctx_->Int(kSlaveId).load() & 0xFF));
        std::memcpy(&link.dcb, ctx_->CommDcb().bytes, sizeof link.dcb);
        link.port = ctx_->Int(kComPort).load();
        adoptPending_ = 0;
    }
    const auto slave = static_cast<std::uint8_t>(ctx_->Int(kSlaveId).load() & 0xFF);
    if (link.GetSlaveAddress() != slave) {
        wirelay::SleepMs(100);
        link.SetSlaveAddress(slave);
    }
}

void CTracelensApp::ApplyPreset() {
    ScopeRequestBlock& block = ctx_->ScopeRequest();
    const int raised = block.word[kPresetRaised].load();
    if (block.word[kPresetSeen].load() == raised)
        return;
    for (int w = 0; w < static_cast<int>(status_.settings.size()); ++w)
        status_.settings[w] = block.word[w].load();
    ++status_.counter[ScopeStatus::kSettingsCounter];
    block.word[kPresetApplied].fetch_add(1);
    block.word[kPresetServed].fetch_add(1);
    block.word[kPresetSeen].store(raised);
}

bool CTracelensApp::AnyOtherClaim(SharedInt LinkClaim::*word) const {
    for (int owner = 0; owner < kLinkClaims; ++owner)
        if (owner != kClaimTracelens && (ctx_->Claim(owner).*word).load() == 1)
            return true;
    return false;
}

void CTracelensApp::TakeRequest() {
    std::unique_lock lock(requestLock_, std::try_to_lock);
    if (!lock || publishedRequest_.word[ScopeRequest::kPending] == 0)
        return;
    if (publishedRequest_.word[ScopeRequest::kGeneration] != generation_) {
        generation_ = publishedRequest_.word[ScopeRequest::kGeneration];
        status_.ClearResults();
    }
    request_ = publishedRequest_;
    std::swap(current_, published_);
    publishedStatus_ = status_;
    publishedRequest_.ClearOneShotWords();
}

void CTracelensApp::ChangeMode() {
    const int mode = request_.word[ScopeRequest::kRunMode];
    if (mode == lastMode_)
        return;
    failedSteps_ = 0;
    if (mode == kModeStop) {
        captureState_ = 9;
        captureStep_ = 0;
    } else if (lastMode_ == kModeStop) {
        ClearChannelBuffers();
        startTimeBase_ = timings_[current_].timeBase;
        captureState_ = 1;
        captureStep_ = 0;
    } else if (mode == kModeNormal || mode == kModeSingle) {
        chart_->Trig_Reset();
        SetStatus(kStatusIdle);
        captureStep_ = 1;
        captureState_ = mode == kModeNormal ? 4 : 5;
    } else if (mode == kModeContinue) {
        ClearChannelBuffers();
        captureState_ = 3;
        captureStep_ = 0;
    } else {
        captureState_ = 1;
        captureStep_ = 0;
    }
    lastMode_ = mode;
}

void CTracelensApp::ServeClearAndHandOff() {
    if (!paused_ && ctx_->Int(kOnline).load() != 0) {
        int choice = 0;
        {
            std::lock_guard lock(clearLock_);
            if (clear_.pending != 0)
                choice = clear_.choice;
        }
        if (choice != 0) {
            const unsigned short reg = choice == 1 ? kRegClearEncoder : kRegClearPosition;
            const int ok = link.GuardedWrite(reg, 0);
            std::lock_guard lock(clearLock_);
            clear_.pending = 0;
            clear_.result = ok ? 2 : 3;
        }
    }
    LinkClaim& own = ctx_->Claim(kClaimTracelens);
    if (own.iYieldRequest.load() == 1) {
        own.iYieldRequest.store(0);
        externalStop_ = 1;
    }
    if (captureState_ == 0) {
        externalStop_ = 0;
        own.iState.store(0);
        std::lock_guard lock(activeLock_);
        scopeActive_ = 0;
    }
}

} // namespace tracelens
