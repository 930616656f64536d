// Portdesk's module-wide state: the request/result words the window and
// CommLoop exchange, the cancel word and the progress pair under their own
// locks, the search requests and findings, and Portdesk's own drive link.
// Nothing here touches a widget.
#pragma once

#include "DriveLink.h"
#include "SharedContext.h"

#include <array>
#include <atomic>
#include <mutex>
#include <string>

// iCommStep: the window asks (kSearchRequested), CommLoop answers
// (kSearchFinished), the window's timer takes the answer (kIdle).
enum CommStep : int { kStepIdle = 0, kStepSearchRequested = 3, kStepSearchFinished = 4 };

// iCommResult.
enum CommResult : int {
    kResultNone = 0,
    kResultStarted = 1,
    kResultIdentified = 2,
    kResultNotFound = 3,
    kResultIdentificationFailed = 4,
    kResultCancelled = 5
};

// Link settings the search changes and puts back.
struct LinkWaitSettings {
    unsigned long retryTimes = 0;
    unsigned long waitWriteTime = 0;
    unsigned long preCountQueTimes = 0;

    static LinkWaitSettings From(const CModbus& modbus) {
        return {modbus.GetRetryTimes(), modbus.GetWaitWriteTime(), modbus.GetPreCountQueTimes()};
    }
    void ApplyTo(CModbus& modbus) const {
        modbus.SetRetryTimes(retryTimes);
        modbus.SetWaitWriteTime(waitWriteTime);
        modbus.SetPreCountQueTimes(preCountQueTimes);
    }
};

class CPortdeskApp {
public:
    static constexpr int kPorts = 256;
    static constexpr int kAddresses = 128;

    // Result before step, always: the window never sees a finished step with a
    // stale result.
    std::atomic<int> iCommStep{kStepIdle};
    std::atomic<int> iCommResult{kResultNone};

    // The selections of the three On-Line lists (0 = "Auto Search"), written by
    // the window before it raises the step.
    int iPortSel = 0;
    int iIdSel = 0;
    int iFormatSel = 0;
    // The serial-format index of the successful probe.
    int iFoundFormat = 0;
    // A search that could open no port at all because the user lacks the
    // permission names the first refused device here (else empty); written
    // before the result word, read after it.
    std::string permissionDenied;

    DriveLink link;

    // The settings the link had before its first search; every search ends
    // with them.
    bool firstSearch = true;
    LinkWaitSettings savedSettings;

    // Per COM number (index 1..256): 1 while the port may still open during
    // this search.
    std::array<int, kPorts + 1> portFlags{};

    void SetCancel(int value) {
        std::lock_guard lock(cancelLock_);
        iCancel_ = value;
    }
    bool Cancelled() const {
        std::lock_guard lock(cancelLock_);
        return iCancel_ != 0;
    }

    // The search side never waits for the window: false when the window holds
    // the section right now.
    bool TryPublishProgress(int count, int format) {
        std::unique_lock lock(progressLock_, std::try_to_lock);
        if (!lock.owns_lock())
            return false;
        iProgressCount_ = count;
        iProgressFormat_ = format;
        return true;
    }
    void PublishProgress(int count, int format) {
        std::lock_guard lock(progressLock_);
        iProgressCount_ = count;
        iProgressFormat_ = format;
    }
    // The window's read; false when the search holds the section.
    bool TryReadProgress(int& count, int& format) {
        std::unique_lock lock(progressLock_, std::try_to_lock);
        if (!lock.owns_lock())
            return false;
        count = iProgressCount_;
        format = iProgressFormat_;
        return true;
    }

private:
    mutable std::mutex cancelLock_;
    int iCancel_ = 0;
    std::mutex progressLock_;
    int iProgressCount_ = 0;
    int iProgressFormat_ = 0;
};

// The one application object of the plug-in.
CPortdeskApp& PortdeskApp();
