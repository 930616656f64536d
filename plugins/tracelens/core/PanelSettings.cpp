#include "PanelSettings.h"

#include "CaptureMath.h"
#include "TracelensApp.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tracelens {

namespace {
constexpr int kSignalWord = ScopeRequest::kDriveWords + 1; // + channel: 0x00A2..0x00A5
enum BlockWord : int {
    kBlockTraceOn = 0,
    kBlockInverted = 1,
    kBlockCode = 2,
    kBlockUnitIndex = 4,
    kBlockOffset = 5,
    kBlockSource = 24,
    kBlockCondition = 25,
    kBlockLevel = 26,
    kBlockTimeBase = 30,
    kBlockHighSample = 32,
    kBlockCombination = 33
};
} // namespace

PanelSettings::PanelSettings(CTracelensApp& app) : app_(app), request_(app.WorkingRequest()) {}

ScopeChannel& PanelSettings::Channel(int ch) {
    return app_.MasterChannels()[static_cast<std::size_t>(ch)];
}

ScopeTiming& PanelSettings::Timing() {
    return app_.MasterTiming();
}

void PanelSettings::Raise(int counter) {
    ++request_.word[counter];
}

void PanelSettings::SetSignals(std::vector<SignalEntry> list) {
    std::vector<int> codes;
    for (int ch = 0; ch < kChannels; ++ch)
        codes.push_back(SignalOf(ch) != nullptr ? SignalOf(ch)->code : 0);
    signals_ = std::move(list);
    for (int ch = 0; ch < kChannels; ++ch) {
        const auto found = std::find_if(signals_.begin(), signals_.end(),
                                        [&](const SignalEntry& e) { return e.code == codes[ch]; });
        const int index = codes[ch] != 0 && found != signals_.end()
                              ? static_cast<int>(found - signals_.begin())
                              : -1;
        Timing().signal[ch] = -1; // the names and units may be new: choose again
        if (index >= 0) {
            const int unit = unitIndex_[ch];
            SelectSignal(ch, index);
            SelectUnitPerDiv(ch, unit);
        } else if (codes[ch] != 0) {
            SelectSignal(ch, -1);
        }
    }
}

const SignalEntry* PanelSettings::SignalOf(int ch) const {
    const int index = app_.MasterTiming().signal[ch];
    if (index < 0 || index >= static_cast<int>(signals_.size()))
        return nullptr;
    return &signals_[static_cast<std::size_t>(index)];
}

int PanelSettings::SelectedSignal(int ch) const {
    return SignalOf(ch) != nullptr ? app_.MasterTiming().signal[ch] : -1;
}

void PanelSettings::SelectSignal(int ch, int index) {
    if (index >= static_cast<int>(signals_.size()))
        return;
    Timing().signal[ch] = std::max(index, -1);
    ScopeChannel& channel = Channel(ch);
    const SignalEntry* signal = SignalOf(ch);
    channel.unit = signal != nullptr ? signal->unit : std::string();
    channel.caption = signal != nullptr ? signal->name + " (" + signal->unit + ")" : std::string();
    request_.word[kSignalWord + ch] = signal != nullptr ? signal->code : 0;
    unitChoices_[ch] = UnitPerDivFor(signal != nullptr ? signal->maximum : 1);
    unitIndex_[ch] = -1;
    SelectUnitPerDiv(ch, unitChoices_[ch].preselected);
    channel.offset = std::clamp(channel.offset, -OffsetLimit(ch), OffsetLimit(ch));
    Raise(ScopeRequest::kUnitCounter);
    Raise(ScopeRequest::kOffsetCounter);
    RepairSources();
}

void PanelSettings::SelectUnitPerDiv(int ch, int listIndex) {
    const std::vector<int>& values = unitChoices_[ch].values;
    if (listIndex < 0 || listIndex >= static_cast<int>(values.size()))
        return;
    unitIndex_[ch] = listIndex;
    const int value = std::max(1, values[static_cast<std::size_t>(listIndex)]);
    Channel(ch).unitPerDiv = value;
    Timing().unitPerDiv[ch] = value;
    Raise(ScopeRequest::kUnitPerDivCounter);
}

void PanelSettings::SetTraceOn(int ch, bool on) {
    traceOn_[ch] = on;
    ApplyEnabled();
}

void PanelSettings::ApplyEnabled() {
    for (int ch = 0; ch < kChannels; ++ch)
        Channel(ch).enabled = traceOn_[ch] && !HiddenByPair(ch) ? 1 : 0;
    Raise(ScopeRequest::kEnabledCounter);
}

void PanelSettings::SetInverted(int ch, bool on) {
    Channel(ch).inverted = on ? 1 : 0;
    Raise(ScopeRequest::kInvertedCounter);
}

int PanelSettings::OffsetLimit(int ch) const {
    const SignalEntry* signal = SignalOf(ch);
    return signal != nullptr ? std::abs(signal->maximum) : 0;
}

void PanelSettings::SetOffset(int ch, int offset) {
    Channel(ch).offset = std::clamp(offset, -OffsetLimit(ch), OffsetLimit(ch));
    Raise(ScopeRequest::kOffsetCounter);
}

void PanelSettings::SetWide(int pair, bool on) {
    Channel(2 * pair).wide = on ? 1 : 0;
    Raise(ScopeRequest::kWideCounter);
    ApplyEnabled();
}

bool PanelSettings::Wide(int pair) const {
    return app_.MasterChannels()[static_cast<std::size_t>(2 * pair)].wide != 0;
}

bool PanelSettings::HiddenByPair(int ch) const {
    return ch % 2 == 1 && Wide(ch / 2);
}

int PanelSettings::TimeBase() const {
    return app_.MasterTiming().timeBase;
}

int PanelSettings::TimeMax() const {
    return HighSample() ? kHighSampleTimeMax : kStreamTimeMax;
}

int PanelSettings::TimeStep(int time, bool highSample, int heldMs) {
    if (highSample || time < 10)
        return 1;
    return heldMs >= 2000 ? 200 : (heldMs >= 1000 ? 20 : 10);
}

bool PanelSettings::HighSample() const {
    return app_.MasterTiming().highSample != 0;
}

void PanelSettings::SetTimeBase(int ms) {
    Timing().timeBase = std::clamp(ms, 1, TimeMax());
    Raise(ScopeRequest::kTimeBaseCounter);
    ClampDelay();
}

void PanelSettings::SetHighSample(bool on) {
    // The delay keeps its time on screen across the switch.
    const double delay =
        on ? Timing().delay : Timing().delay * HighSampleTiming(TimeBase()).divider / 10.0;
    Timing().highSample = on ? 1 : 0;
    SetTimeBase(TimeBase());
    SetDelay(on ? delay : std::round(delay));
}

double PanelSettings::DelayMin() const {
    if (!HighSample())
        return 1;
    return HighSampleTiming(TimeBase()).divider / 10.0;
}

double PanelSettings::DelayMax() const {
    if (!HighSample())
        return TimeBase() * 10.0;
    const BlockTiming block = HighSampleTiming(TimeBase());
    return (block.length - 1) * block.divider / 10.0;
}

void PanelSettings::SetDelay(double value) {
    const double clamped = std::clamp(value, DelayMin(), DelayMax());
    int samples = static_cast<int>(std::lround(clamped));
    if (HighSample()) {
        // The first sample whose time is not below the value.
        const int divider = HighSampleTiming(TimeBase()).divider;
        samples = static_cast<int>(std::ceil(clamped * 10.0 / divider - 1e-9));
    }
    Timing().delay = samples;
    Timing().trigger.position = samples;
    Raise(ScopeRequest::kDelayCounter);
    Raise(ScopeRequest::kTriggerCounter);
}

void PanelSettings::ResetDelay() {
    SetDelay(TimeBase() * 5.0);
}

void PanelSettings::ClampDelay() {
    const double shown =
        HighSample() ? app_.MasterTiming().delay * HighSampleTiming(TimeBase()).divider / 10.0
                     : app_.MasterTiming().delay;
    SetDelay(shown);
}

std::string PanelSettings::DelayText() const {
    char text[32];
    if (HighSample())
        std::snprintf(text, sizeof text, "%3.1f",
                      app_.MasterTiming().delay * HighSampleTiming(TimeBase()).divider / 10.0);
    else
        std::snprintf(text, sizeof text, "%d", app_.MasterTiming().delay);
    return text;
}

std::vector<int> PanelSettings::SourceChannels() const {
    std::vector<int> channels;
    for (int ch = 0; ch < kChannels; ++ch) {
        if (SignalOf(ch) != nullptr)
            channels.push_back(ch);
    }
    return channels;
}

int PanelSettings::Combination() const {
    return std::clamp(app_.MasterTiming().trigger.combination, 1, 4) - 1;
}

void PanelSettings::SetCombination(int index) {
    Timing().trigger.combination = std::clamp(index, 0, 3) + 1;
    Raise(ScopeRequest::kTriggerCounter);
}

bool PanelSettings::TriggerUsed(int t) const {
    return t == 0 ? Combination() <= 2 : Combination() >= 1;
}

int PanelSettings::SourceChannel(int t) const {
    const TriggerDatas& trigger = app_.MasterTiming().trigger;
    return t == 0 ? trigger.channel1 : trigger.channel2;
}

void PanelSettings::SetSourceChannel(int t, int ch) {
    TriggerDatas& trigger = Timing().trigger;
    (t == 0 ? trigger.channel1 : trigger.channel2) = ch;
    SetLevel(t, Level(t)); // into the new signal's range
}

int PanelSettings::SourceIndex(int t) const {
    const std::vector<int> channels = SourceChannels();
    const auto found = std::find(channels.begin(), channels.end(), SourceChannel(t));
    return found != channels.end() ? static_cast<int>(found - channels.begin()) : -1;
}

void PanelSettings::SetSource(int t, int listIndex) {
    const std::vector<int> channels = SourceChannels();
    if (listIndex < 0 || listIndex >= static_cast<int>(channels.size()))
        return;
    SetSourceChannel(t, channels[static_cast<std::size_t>(listIndex)]);
}

void PanelSettings::RepairSources() {
    const std::vector<int> channels = SourceChannels();
    for (int t = 0; t < 2; ++t) {
        if (!channels.empty() && SourceIndex(t) < 0)
            SetSourceChannel(t, channels.front());
    }
}

int PanelSettings::Condition(int t) const {
    const TriggerDatas& trigger = app_.MasterTiming().trigger;
    return t == 0 ? trigger.edge1 : trigger.edge2;
}

void PanelSettings::SetCondition(int t, int index) {
    TriggerDatas& trigger = Timing().trigger;
    (t == 0 ? trigger.edge1 : trigger.edge2) = std::clamp(index, 0, 4);
    Raise(ScopeRequest::kTriggerCounter);
}

int PanelSettings::Level(int t) const {
    const TriggerDatas& trigger = app_.MasterTiming().trigger;
    return t == 0 ? trigger.level1 : trigger.level2;
}

int PanelSettings::LevelLimit(int t) const {
    return OffsetLimit(std::clamp(SourceChannel(t), 0, kChannels - 1));
}

std::string PanelSettings::LevelUnit(int t) const {
    const SignalEntry* signal = SignalOf(std::clamp(SourceChannel(t), 0, kChannels - 1));
    return signal != nullptr ? signal->unit : std::string();
}

void PanelSettings::SetLevel(int t, int level) {
    TriggerDatas& trigger = Timing().trigger;
    (t == 0 ? trigger.level1 : trigger.level2) = std::clamp(level, -LevelLimit(t), LevelLimit(t));
    Raise(ScopeRequest::kTriggerCounter);
}

ScopeSettingsBlock PanelSettings::Snapshot() const {
    ScopeSettingsBlock block{};
    for (int ch = 0; ch < kChannels; ++ch) {
        const ScopeChannel& channel = app_.MasterChannels()[static_cast<std::size_t>(ch)];
        block[6 * ch + kBlockTraceOn] = traceOn_[ch] ? 1 : 0;
        block[6 * ch + kBlockInverted] = channel.inverted;
        block[6 * ch + kBlockCode] = SignalOf(ch) != nullptr ? SignalOf(ch)->code : 0;
        block[6 * ch + kBlockUnitIndex] = unitIndex_[ch];
        block[6 * ch + kBlockOffset] = channel.offset;
    }
    for (int t = 0; t < 2; ++t) {
        block[kBlockSource + 3 * t] = SourceIndex(t);
        block[kBlockCondition + 3 * t] = Condition(t);
        block[kBlockLevel + 3 * t] = Level(t);
    }
    block[kBlockTimeBase] = TimeBase();
    block[kBlockHighSample] = HighSample() ? 1 : 0;
    block[kBlockCombination] = Combination();
    return block;
}

void PanelSettings::Apply(const ScopeSettingsBlock& block, bool everything) {
    SetHighSample(block[kBlockHighSample] != 0);
    SetTimeBase(block[kBlockTimeBase]);
    for (int ch = 0; ch < kChannels; ++ch) {
        const int code = block[6 * ch + kBlockCode];
        const auto found = std::find_if(signals_.begin(), signals_.end(),
                                        [&](const SignalEntry& e) { return e.code == code; });
        if (found != signals_.end())
            SelectSignal(ch, static_cast<int>(found - signals_.begin()));
        const int unit = block[6 * ch + kBlockUnitIndex];
        if (unit >= 0 && unit < static_cast<int>(unitChoices_[ch].values.size()))
            SelectUnitPerDiv(ch, unit);
        if (everything) {
            SetTraceOn(ch, block[6 * ch + kBlockTraceOn] != 0);
            SetInverted(ch, block[6 * ch + kBlockInverted] != 0);
            SetOffset(ch, block[6 * ch + kBlockOffset]);
        }
    }
    if (everything) {
        SetCombination(block[kBlockCombination]);
        for (int t = 0; t < 2; ++t) {
            SetSource(t, block[kBlockSource + 3 * t]);
            SetCondition(t, block[kBlockCondition + 3 * t]);
            SetLevel(t, block[kBlockLevel + 3 * t]);
        }
    }
}

} // namespace tracelens
