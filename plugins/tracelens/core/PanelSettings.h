// What the vertical, time base and trigger panels offer and what a choice
// changes: the window's master channel table and timing record, the drive
// words of the working request and the change counters the cycle applies.
// The panels are thin widgets over this.
#pragma once

#include "ScopeRecords.h"
#include "SignalList.h"
#include "UnitPerDiv.h"

#include <string>
#include <vector>

namespace tracelens {

class CTracelensApp;

class PanelSettings {
public:
    static constexpr int kStreamTimeMax = 300;
    static constexpr int kHighSampleTimeMax = 45;

    explicit PanelSettings(CTracelensApp& app);

    // A new signal list (start, language change): channels keep the signal
    // with the same code, or lose theirs.
    void SetSignals(std::vector<SignalEntry> list);
    const std::vector<SignalEntry>& Signals() const { return signals_; }

    // --- Vertical panel ---
    // `index` into Signals(), -1 for none.
    void SelectSignal(int ch, int index);
    int SelectedSignal(int ch) const;
    const UnitPerDivChoices& UnitChoices(int ch) const { return unitChoices_[ch]; }
    int UnitIndex(int ch) const { return unitIndex_[ch]; }
    void SelectUnitPerDiv(int ch, int listIndex);
    void SetTraceOn(int ch, bool on);
    bool TraceOn(int ch) const { return traceOn_[ch]; }
    void SetInverted(int ch, bool on);
    void SetOffset(int ch, int offset);
    int OffsetLimit(int ch) const; // the offset runs -limit..+limit
    // pair 0: A with B, 1: C with D.
    void SetWide(int pair, bool on);
    bool Wide(int pair) const;
    // B (or D) is hidden while its pair is one 32-bit signal.
    bool HiddenByPair(int ch) const;

    // --- Time base panel ---
    int TimeBase() const;
    int TimeMax() const;
    void SetTimeBase(int ms);
    // The step of the time spin: 1, or for a streaming time of 10 or more
    // 10 at once, 20 after a second held and 200 after two.
    static int TimeStep(int time, bool highSample, int heldMs);
    bool HighSample() const;
    void SetHighSample(bool on);
    // Streaming: samples 1..time x 10; High Sample: milliseconds.
    void SetDelay(double value);
    void ResetDelay();
    std::string DelayText() const;
    double DelayMin() const;
    double DelayMax() const;

    // --- Trigger panel ---
    // Channels with a signal, in channel order: the entries of a source list.
    std::vector<int> SourceChannels() const;
    bool TriggerAvailable() const { return !SourceChannels().empty(); }
    int Combination() const; // 0..3
    void SetCombination(int index);
    bool TriggerUsed(int t) const;
    int SourceIndex(int t) const; // in SourceChannels(), -1 none
    void SetSource(int t, int listIndex);
    int Condition(int t) const;
    void SetCondition(int t, int index);
    int Level(int t) const;
    void SetLevel(int t, int level);
    int LevelLimit(int t) const;
    std::string LevelUnit(int t) const;

    // --- Presets and wave files ---
    ScopeSettingsBlock Snapshot() const;
    // Applies a block as if chosen on the panels; `everything` also sets trace
    // on, inverted, offsets and the trigger.
    void Apply(const ScopeSettingsBlock& block, bool everything);

private:
    ScopeChannel& Channel(int ch);
    ScopeTiming& Timing();
    void Raise(int counter);
    void ApplyEnabled();
    void ClampDelay();
    const SignalEntry* SignalOf(int ch) const;
    int SourceChannel(int t) const;
    void SetSourceChannel(int t, int ch);
    void RepairSources();

    CTracelensApp& app_;
    ScopeRequest& request_;
    std::vector<SignalEntry> signals_;
    UnitPerDivChoices unitChoices_[kChannels];
    int unitIndex_[kChannels]{};
    bool traceOn_[kChannels]{true, true, true, true};
};

} // namespace tracelens
