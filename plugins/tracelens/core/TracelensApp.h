// CTracelensApp: the scope's engine. The window (UI thread) fills its master
// records and publishes them; the host's communication thread runs one cycle
// per pass (ExternThread), which sets the drive up for sampling, reads the
// sample stream or the High Sample blocks into the chart, draws the chart into
// an off-screen picture and hands it to the window. Neither side ever waits
// for the other: every hand-off is a non-blocking try of a lock.
#pragma once

#include "ChartPlot.h"
#include "ScopeDriveLink.h"
#include "ScopeRecords.h"
#include "TimeOut.h"

#include <QImage>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tracelens {

// The samples the chart shows, copied out by the cycle for an export.
struct RecordedCopy {
    std::vector<SampleRow> rows;
    double msPerSample = 1.0;
    bool highSample = false;
};

// The clear commands of the utility panel (register 5022 for 1, 5020 for 2).
struct ClearCommand {
    int choice = 0; // 0 none, 1 encoder data, 2 position command
    int pending = 0;
    int result = 0; // 2 done, 3 failed
};

class CTracelensApp {
public:
    CTracelensApp();
    ~CTracelensApp();
    CTracelensApp(const CTracelensApp&) = delete;
    CTracelensApp& operator=(const CTracelensApp&) = delete;

    // CreateDLLDocTemplate's part: keep the context and configure the link
    // from it; the first cycles then adopt the host's port.
    void Attach(SharedContext* ctx);
    // One cycle on the communication thread.
    void ExternThread();

    // --- Window side (UI thread) ---
    ChannelTable& MasterChannels() { return channels_[kMaster]; }
    ScopeTiming& MasterTiming() { return timings_[kMaster]; }
    ScopeRequest& WorkingRequest() { return workingRequest_; }
    // The status as copied at the latest publication.
    const ScopeStatus& WindowStatus() const { return windowStatus_; }
    // Publishes the working request with the master records (false when the
    // cycle held the lock: try again at the next tick).
    bool PublishRequest();
    // The window closes: publish "Stop" (trying for up to 500 ms), give the
    // cycle 500 ms to stop the drive, else stop it directly.
    void StopForClose();
    // Copies the newest picture (false when there is none or the lock is busy).
    bool TakePicture(QImage& into);
    // The run buttons (and the clear command) want the line.
    void SetScopeActive(int active);
    // The cycle asks the window to press "Stop" (another tool claimed the line).
    int ExternalStop() const { return externalStop_.load(); }
    void SetDebug(int on);
    // Requests a clear command; false while another one is pending.
    bool RequestClear(int choice);
    // The answered clear command (result 0 while pending), reset once read.
    ClearCommand TakeClearResult();
    // Wave files: the cycle saves (counter 19) or loads (counter 18) `path`
    // at its next drawing and reports with stop reason 3. Saving snapshots
    // the master records into the request's settings block first.
    void RequestWaveSave(const std::string& path);
    void RequestWaveLoad(const std::string& path);
    // The window's language texts of the wave-file messages, by ScopeMessage.
    void SetMessageTexts(const std::array<std::string, kScopeMessages>& texts);
    // Asks the cycle for a copy of the shown samples; TakeRecordedCopy gives
    // it once the cycle made it.
    void RequestRecordedCopy();
    bool TakeRecordedCopy(RecordedCopy& into);
    // Copies the newest picture without taking it from the window (false when
    // there is none yet or the lock stayed busy).
    bool CopyPicture(QImage& into);

    // --- For tests, the command line and the diagnostic overlay ---
    DriveLink link;
    // Called on the cycle's thread with every streamed sample (A..D), so a
    // recorder keeps more than the chart holds. Set before the cycle runs.
    std::function<void(const std::array<long, 4>&)> sampleTap;
    CChartPlot& Chart() { return *chart_; }
    int CaptureState() const { return captureState_.load(); }
    int BlockLength() const { return blockLength_; }
    int PendingWrites() const { return pendingWrites_; }
    long SampleCount() const { return sampleCount_.load(); }
    bool Paused() const { return paused_; }
    // The time range (axis samples) the chart shows after zooming.
    int ZoomStart() const { return zoomStart_; }
    int ZoomEnd() const { return zoomEnd_; }
    // The shown buffers' samples as recorded (cycle's thread).
    std::vector<SampleRow> RecordedSamples();

private:
    enum Copy : int { kMaster = 0, kSwapA = 1, kSwapB = 2 };
    enum Watch : int { kWatchQuiet = 0, kWatchWaiting = 1, kWatchProbeDue = 2 };

    // Cycle steps (TracelensCycle.cpp).
    void AdoptPort();
    void ApplyPreset();
    void TakeRequest();
    void ApplyClaims(bool otherDemands);
    void ChangeMode();
    void ServeClearAndHandOff();
    bool AnyOtherClaim(SharedInt LinkClaim::*word) const;

    // Capture states (CaptureStates.cpp, BlockCapture.cpp).
    void RunState();
    void SetUp();
    void Retry();
    void Stream();
    void Block();
    int BlockStep();
    int WritePending();
    void Stop();
    void EnterRetry();
    void AddToTrigger(const unsigned long (&words)[4]);
    void CompleteBlock();

    // Status words with their counters.
    void SetStatus(int status);
    void SetStopReason(int reason);
    // A frame or block is complete: counted, then a single shot stops.
    void CompleteFrame(bool singleShot);
    void ClearChannelBuffers();

    // Settings and drawing (ScopeSettings.cpp, ScopeDrawing.cpp).
    void StreamTimeBase(const ScopeTiming& timing);
    void HighSampleTimeBase(const ScopeTiming& timing);
    void ApplyChangedSettings();
    void Draw();
    void ReadCursors();
    void HandPictureOver(const ChartRect& rect);

    // Wave files and the export copy (WaveCycle.cpp).
    void SaveWave();
    void LoadWave();
    void ReportMessage(ScopeMessage message, const std::string& file, int icon);
    void ServeRecordedCopy();

    // Writes with the retry count set for the call.
    int WriteWithRetries(unsigned short address, unsigned short value, unsigned long retries);

    SharedContext* ctx_ = nullptr;
    std::unique_ptr<CChartPlot> chart_;

    // Records: [kMaster] belongs to the window; current_ and published_ point
    // into the two others and swap at each hand-off.
    ChannelTable channels_[3];
    ScopeTiming timings_[3];
    int current_ = kSwapA;
    int published_ = kSwapB;
    ScopeRequest workingRequest_;
    ScopeRequest publishedRequest_;
    ScopeRequest request_;        // the cycle's current request
    ScopeStatus status_;          // the cycle's, copied out at each hand-off
    ScopeStatus publishedStatus_; // under the request lock
    ScopeStatus windowStatus_;
    int generation_ = 0;

    // Capture.
    std::atomic<int> captureState_{0};
    int captureStep_ = 0;
    int blockLength_ = 100;
    int pendingWrites_ = 0;
    unsigned short highSampleWord_ = 0;
    TriggerDatas lastTrigger_{};
    int watch_ = kWatchQuiet;
    int failedSteps_ = 0;
    int probeFailures_ = 0;
    CTimeOut silence_{2000};
    bool paused_ = false;
    int lastMode_ = kModeStop;
    int adoptPending_ = 0;
    int startTimeBase_ = 0;
    int firstFrameShown_ = 0;
    std::atomic<long> sampleCount_{0};
    std::array<int, 12> appliedCounter_{};

    // Drawing.
    QImage drawing_;
    QImage picture_;
    bool newPicture_ = false;
    int lastCursorX_ = 0;
    int lastCursorY_ = 0;
    bool zoomSaved_ = false;
    int zoomStart_ = 0;
    int zoomEnd_ = 3000;
    int debug_ = 0;
    int debugRequested_ = 0;

    // Flags shared with the window, each with its lock.
    int scopeActive_ = 0;
    std::atomic<int> externalStop_{0};
    ClearCommand clear_;
    int copyWanted_ = 0;
    bool copyReady_ = false;
    RecordedCopy copy_;
    std::array<std::string, kScopeMessages> messageTexts_;

    std::mutex requestLock_;
    std::mutex pictureLock_;
    std::mutex debugLock_;
    std::mutex clearLock_;
    std::mutex activeLock_;
    std::mutex copyLock_;
    std::mutex messageLock_;
};

} // namespace tracelens
