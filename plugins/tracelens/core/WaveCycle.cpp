// Wave files saved and loaded on the cycle's thread, which owns the chart
// buffers, and the copy of the shown samples for an export.
#include "AtomicFile.h"
#include "CaptureMath.h"
#include "TextTemplate.h"
#include "TracelensApp.h"
#include "UnitPerDiv.h"
#include "WaveFile.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace tracelens {

namespace {
// A scale outside the table is saved as 46, which leaves a selection alone.
constexpr int kNoDivision = 46;
} // namespace

// The settings a wave file keeps, from the window's master records, go into
// the request's settings block (words 32..65).
void CTracelensApp::RequestWaveSave(const std::string& path) {
    ScopeRequest& request = workingRequest_;
    WaveSetup setup;
    setup.timeBase = timings_[kMaster].timeBase;
    setup.highSample = timings_[kMaster].highSample;
    for (int ch = 0; ch < kChannels; ++ch) {
        const int scale = channels_[kMaster][static_cast<std::size_t>(ch)].unitPerDiv;
        const auto* found = std::find(kUnitPerDivTable.begin(), kUnitPerDivTable.end(), scale);
        setup.code[ch] = request.word[ScopeRequest::kDriveWords + 1 + ch];
        setup.divSel[ch] = found == kUnitPerDivTable.end()
                               ? kNoDivision
                               : static_cast<int>(found - kUnitPerDivTable.begin());
    }
    ScopeSettingsBlock block{};
    std::copy_n(&request.word[ScopeRequest::kSettings], block.size(), block.begin());
    SetupIntoBlock(setup, block);
    std::copy(block.begin(), block.end(), &request.word[ScopeRequest::kSettings]);
    request.waveFile = path;
    ++request.word[ScopeRequest::kSaveWaveCounter];
}

void CTracelensApp::RequestWaveLoad(const std::string& path) {
    workingRequest_.waveFile = path;
    ++workingRequest_.word[ScopeRequest::kLoadWaveCounter];
}

std::vector<SampleRow> CTracelensApp::RecordedSamples() {
    const int count = chart_->ShownBuf(0).GetSatValidLen();
    std::vector<SampleRow> rows(static_cast<std::size_t>(count));
    for (int ch = 0; ch < kChannels; ++ch) {
        const CCirBuf& buf = chart_->ShownBuf(ch);
        for (int i = 0; i < count; ++i)
            rows[static_cast<std::size_t>(i)][static_cast<std::size_t>(ch)] = buf.SatGetStored(i);
    }
    return rows;
}

// The file is written whole to a temporary file and renamed over the old
// one, so a failed save leaves the old file as it was.
void CTracelensApp::SaveWave() {
    ScopeSettingsBlock block{};
    std::copy_n(&request_.word[ScopeRequest::kSettings], block.size(), block.begin());
    const DriveIdentity& id = ctx_->OfflineIdentity();
    const WaveIdentity identity{id.Get(2), id.Get(3), id.Get(4), id.Get(6), id.Get(7)};
    const std::string text =
        FormatWaveFile(RecordedSamples(), SetupFromBlock(block), identity, WaveDateNow());
    if (toolbelt::WriteFileAtomically(request_.waveFile, text))
        ReportMessage(kMsgSaved, request_.waveFile, kIconInformation);
    else
        ReportMessage(kMsgCannotCreate, request_.waveFile, kIconError);
}

void CTracelensApp::LoadWave() {
    std::string text;
    if (!toolbelt::ReadWholeFile(request_.waveFile, text, kMaxWaveFileBytes)) {
        ReportMessage(kMsgCannotOpen, request_.waveFile, kIconError);
        return;
    }
    const WaveHeader header = ReadWaveHeader(text);
    long wanted = header.size;
    chart_->ShowAllChannel(1);
    if (header.setup.highSample == 0) {
        const long screen = static_cast<long>(header.setup.timeBase) * 10;
        if (screen < wanted)
            wanted = screen + 1;
        // No chart holds more than its axis, whatever a file claims.
        wanted = std::min<long>(wanted, kAxisLength);
        const int range = static_cast<int>(std::clamp<long>(wanted, 1, kAxisLength));
        chart_->SetDrawRangeX(0, range - 1);
        chart_->TrigSatReSize_CirBuf(range);
        firstFrameShown_ = 0;
    } else {
        ScopeTiming timing = timings_[current_];
        timing.timeBase = header.setup.timeBase;
        startTimeBase_ = timing.timeBase;
        firstFrameShown_ = 1;
        HighSampleTimeBase(timing);
        wanted = std::min<long>(wanted, kAxisLength);
    }
    SetupIntoBlock(header.setup, status_.settings);
    ++status_.counter[ScopeStatus::kSettingsCounter];

    ClearChannelBuffers();
    std::vector<SampleRow> rows;
    const WaveBody body = ReadWaveSamples(text, wanted, rows);
    for (const SampleRow& row : rows)
        for (int ch = 0; ch < kChannels; ++ch)
            chart_->ShownBuf(ch).SatAdd(&row[static_cast<std::size_t>(ch)]);
    if (body == WaveBody::Complete)
        ReportMessage(kMsgReadSuccess, request_.waveFile, kIconInformation);
    else
        ReportMessage(kMsgReadFailed, request_.waveFile, kIconError);
}

void CTracelensApp::SetMessageTexts(const std::array<std::string, kScopeMessages>& texts) {
    std::lock_guard lock(messageLock_);
    messageTexts_ = texts;
}

// The message in the window's language; in English while the window holds
// the texts' lock, since the cycle never waits for the window.
void CTracelensApp::ReportMessage(ScopeMessage message, const std::string& file, int icon) {
    std::string pattern = kScopeMessageText[message];
    {
        std::unique_lock lock(messageLock_, std::try_to_lock);
        if (lock && !messageTexts_[message].empty())
            pattern = messageTexts_[message];
    }
    status_.message = FillTemplate(pattern, {file});
    status_.messageStyle = icon;
    SetStopReason(kStopMessage);
}

void CTracelensApp::RequestRecordedCopy() {
    std::lock_guard lock(copyLock_);
    copyWanted_ = 1;
    copyReady_ = false;
}

bool CTracelensApp::TakeRecordedCopy(RecordedCopy& into) {
    std::lock_guard lock(copyLock_);
    if (!copyReady_)
        return false;
    into = std::move(copy_);
    copy_ = {};
    copyReady_ = false;
    return true;
}

void CTracelensApp::ServeRecordedCopy() {
    std::unique_lock lock(copyLock_, std::try_to_lock);
    if (!lock || copyWanted_ == 0)
        return;
    const ScopeTiming& timing = timings_[current_];
    copy_.rows = RecordedSamples();
    copy_.highSample = timing.highSample != 0;
    copy_.msPerSample = SampleIntervalMs(timing.timeBase, copy_.highSample);
    copyWanted_ = 0;
    copyReady_ = true;
}

bool CTracelensApp::CopyPicture(QImage& into) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        {
            std::unique_lock lock(pictureLock_, std::try_to_lock);
            if (lock) {
                into = picture_.copy();
                return !into.isNull();
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

} // namespace tracelens
