// Construction, the plug-in start and the window's side of the hand-offs.
#include "TracelensApp.h"

#include "CaptureMath.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace tracelens {

CTracelensApp::CTracelensApp() : chart_(std::make_unique<CChartPlot>()) {
    chart_->SetXaxisLen(kAxisLength);
    for (ScopeTiming& timing : timings_) {
        const int delay = timing.trigger.position;
        CChartPlot::Trig_Init(&timing.trigger);
        timing.trigger.position = delay;
    }
    chart_->TrigSetup(&timings_[kMaster].trigger);
    lastTrigger_ = timings_[kMaster].trigger;
    silence_.SetTime(2000);
}

CTracelensApp::~CTracelensApp() = default;

void CTracelensApp::Attach(SharedContext* ctx) {
    ctx_ = ctx;
    link.AttachContext(ctx);
    link.hPort = ctx->ComHandle().load(std::memory_order_acquire);
    // A port published before the plug-in started comes with its settings.
    std::memcpy(&link.dcb, ctx->CommDcb().bytes, sizeof link.dcb);
    link.port = ctx->Int(kComPort).load();
    link.writeDelay = static_cast<std::uint32_t>(ctx->Int(kPreWaitTime).load());
    link.SetSlaveAddress(static_cast<std::uint8_t>(ctx->Int(kSlaveId).load() & 0xFF));
    link.SetRetryTimes(static_cast<unsigned long>(ctx->Int(kRetryTimes).load()));
    link.SetRetryInterval(static_cast<unsigned long>(ctx->Int(kRetryInterval).load()));
    // Modbus timing of the scope's own requests; the frame reader keeps its
    // own poll count.
    link.SetWaitWriteTime(1);
    link.CModbus::SetPreCountQueTimes(10000);
    link.latePollCount = 2;
    link.latePollPause = 40;
    adoptPending_ = 1;
}

bool CTracelensApp::PublishRequest() {
    std::unique_lock lock(requestLock_, std::try_to_lock);
    if (!lock)
        return false;
    channels_[published_] = channels_[kMaster];
    timings_[published_] = timings_[kMaster];
    publishedRequest_ = workingRequest_;
    publishedRequest_.word[ScopeRequest::kPending] = 1;
    workingRequest_.ClearOneShotWords();
    windowStatus_ = publishedStatus_;
    return true;
}

void CTracelensApp::StopForClose() {
    workingRequest_.word[ScopeRequest::kRunMode] = kModeStop;
    bool published = false;
    for (int attempt = 0; attempt < 500 && !published; ++attempt) {
        published = PublishRequest();
        if (!published)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (ctx_ != nullptr)
        ctx_->RingCommThread();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    if (!published) {
        captureState_ = 9;
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
}

bool CTracelensApp::TakePicture(QImage& into) {
    std::unique_lock lock(pictureLock_, std::try_to_lock);
    if (!lock || !newPicture_)
        return false;
    into = picture_; // shared until the cycle draws again, which then detaches
    newPicture_ = false;
    return true;
}

void CTracelensApp::SetScopeActive(int active) {
    std::lock_guard lock(activeLock_);
    scopeActive_ = active;
}

void CTracelensApp::SetDebug(int on) {
    std::lock_guard lock(debugLock_);
    debugRequested_ = on;
}

bool CTracelensApp::RequestClear(int choice) {
    {
        std::lock_guard lock(clearLock_);
        if (clear_.choice != 0)
            return false;
        clear_ = {choice, 1, 0};
    }
    SetScopeActive(1);
    return true;
}

ClearCommand CTracelensApp::TakeClearResult() {
    std::lock_guard lock(clearLock_);
    const ClearCommand answered = clear_;
    if (clear_.result != 0)
        clear_ = {};
    return answered;
}

} // namespace tracelens
