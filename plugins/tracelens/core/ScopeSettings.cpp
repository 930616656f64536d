// Settings the window changed, applied to the chart and to the words the
// drive is given, when the cycle draws.
#include "CaptureMath.h"
#include "TracelensApp.h"

namespace tracelens {

namespace {
enum PendingBit : int { kPendTrigger = 1, kPendHighSample = 2, kPendLevel1 = 4, kPendLevel2 = 8 };
constexpr unsigned short kTimeBaseBits = 0x003F;
constexpr int kDelayShift = 6;
} // namespace

void CTracelensApp::StreamTimeBase(const ScopeTiming& timing) {
    chart_->ShowAllChannel(firstFrameShown_ != 0 ? 0 : 1);
    const int samples = StreamDrawRange(timing.timeBase);
    chart_->SetTimeScaleX(TimeOneMsPerSample, 1.0f);
    chart_->SetDrawRangeX(0, samples);
    chart_->TrigSatReSize_CirBuf(samples + 1);
}

void CTracelensApp::HighSampleTimeBase(const ScopeTiming& timing) {
    chart_->ShowAllChannel(startTimeBase_ == timing.timeBase && firstFrameShown_ != 0 ? 1 : 0);
    const BlockTiming block = HighSampleTiming(timing.timeBase);
    highSampleWord_ = static_cast<unsigned short>((highSampleWord_ & ~kTimeBaseBits) |
                                                  (block.timeBase & kTimeBaseBits));
    pendingWrites_ |= kPendHighSample;
    blockLength_ = block.length;
    if (captureStep_ == 2 || captureStep_ == 3)
        captureStep_ = 1;
    chart_->SetTimeScaleX(TimeMsPerSample, static_cast<float>(block.divider) * 0.1f);
    chart_->SetDrawRangeX(0, block.length - 1);
    chart_->TrigSatReSize_CirBuf(block.length);
}

void CTracelensApp::ApplyChangedSettings() {
    const ChannelTable& channels = channels_[current_];
    const ScopeTiming& timing = timings_[current_];
    for (int i = 0; i < static_cast<int>(appliedCounter_.size()); ++i) {
        const int counter = ScopeRequest::kFirstCounter + i;
        if (request_.word[counter] == appliedCounter_[i])
            continue;
        appliedCounter_[i] = request_.word[counter];
        switch (counter) {
        case ScopeRequest::kEnabledCounter:
            for (int ch = 0; ch < kChannels; ++ch)
                chart_->EnChannel(ch, channels[ch].enabled);
            break;
        case ScopeRequest::kInvertedCounter:
            for (int ch = 0; ch < kChannels; ++ch)
                chart_->EnYReverse(ch, channels[ch].inverted);
            break;
        case ScopeRequest::kScaleCounter:
        case ScopeRequest::kUnitPerDivCounter:
        case ScopeRequest::kOffsetCounter:
            for (int ch = 0; ch < kChannels; ++ch)
                chart_->SetYbyUnitGrid(ch, static_cast<float>(channels[ch].unitPerDiv),
                                       static_cast<float>(-channels[ch].offset), 0,
                                       QString::fromStdString(channels[ch].caption));
            break;
        case ScopeRequest::kUnitCounter:
            for (int ch = 0; ch < kChannels; ++ch)
                chart_->SetChannelUnit(ch, QString::fromStdString(channels[ch].unit));
            break;
        case ScopeRequest::kTimeBaseCounter:
            if (timing.highSample != 0)
                HighSampleTimeBase(timing);
            else
                StreamTimeBase(timing);
            break;
        case ScopeRequest::kDelayCounter:
            chart_->SetDelay(timing.delay);
            if (timing.highSample != 0) {
                highSampleWord_ =
                    static_cast<unsigned short>((highSampleWord_ & kTimeBaseBits) |
                                                HighSampleDelay(timing.delay) << kDelayShift);
                pendingWrites_ |= kPendHighSample;
            }
            break;
        case ScopeRequest::kTriggerCounter: {
            const TriggerDatas& t = timing.trigger;
            chart_->TrigSetup(&t);
            const TriggerDatas& last = lastTrigger_;
            if (t.combination != last.combination || t.channel1 != last.channel1 ||
                t.channel2 != last.channel2 || t.edge1 != last.edge1 || t.edge2 != last.edge2)
                pendingWrites_ |= kPendTrigger;
            if (t.level1 != last.level1)
                pendingWrites_ |= kPendLevel1;
            if (t.level2 != last.level2)
                pendingWrites_ |= kPendLevel2;
            lastTrigger_ = t;
            break;
        }
        case ScopeRequest::kLoadWaveCounter:
            LoadWave();
            break;
        case ScopeRequest::kSaveWaveCounter:
            SaveWave();
            break;
        default: // the pairing flag is only recorded
            break;
        }
    }
}

} // namespace tracelens
