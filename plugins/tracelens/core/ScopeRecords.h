// The records the scope window and the capture cycle exchange: the channel
// table, the timing record, the request and the status. The window fills its
// master copies and publishes them; the cycle swaps the published copies with
// its current ones (TracelensApp.h).
#pragma once

#include "ChartTypes.h"

#include <array>
#include <cstdint>
#include <string>

namespace tracelens {

inline constexpr int kChannels = 4;

// One channel's settings (A to D).
struct ScopeChannel {
    int enabled = 1;  // trace shown
    int inverted = 0; // trace drawn upside down
    int wide = 0;     // A (or C) carries a 32-bit signal in its own and the next slot
    std::string spareText;
    std::string unit;    // unit text of the selected signal
    std::string caption; // "%s (%s)": signal name and unit
    int unitPerDiv = 1;
    int offset = 0; // vertical offset in signal units
};
using ChannelTable = std::array<ScopeChannel, kChannels>;
// One sample of channels A..D.
using SampleRow = std::array<long, kChannels>;

// Time base, delay, signals, scales and trigger: 19 words.
struct ScopeTiming {
    std::int32_t timeBase = 100;                    // ms per division
    std::int32_t delay = 500;                       // samples
    std::int32_t highSample = 0;                    // 1: block capture
    std::int32_t signal[kChannels]{-1, -1, -1, -1}; // index in the signal list, -1 none
    std::int32_t unitPerDiv[kChannels]{1, 1, 1, 1};
    TriggerDatas trigger{1, 0, 0, TrigRising, TrigRising, 0, 0, 500};
};
static_assert(sizeof(ScopeTiming) == 76, "the timing record is 19 words");

// A snapshot of the panels (34 words), used by presets and wave files.
using ScopeSettingsBlock = std::array<std::int32_t, 34>;

// The window's request to the cycle: 73 words.
struct ScopeRequest {
    enum Word : int {
        kPending = 0,
        kRedraw = 2,
        kGeneration = 3,
        kRectLeft = 4, // 4..7: chart area left, top, right, bottom
        kFirstCounter = 8,
        kLastCounter = 19,
        kMouseX = 20,
        kMouseY = 21,
        kWheel = 22,
        kKeys = 23, // 1 left button, 2 right button, 8 control key
        kRestore = 24,
        kCursorX = 25,
        kCursorY = 26,
        kCursorLockX = 27,
        kDropZoomX = 28,
        kDropZoomY = 29,
        kRestoreButton = 30,
        kRunMode = 31,
        kSettings = 32,   // 32..65: ScopeSettingsBlock of the panels
        kDriveWords = 66, // 66..70: registers 0x00A1..0x00A5
        kWords = 73
    };
    // Change counters (words 8..19), by what they announce.
    enum Counter : int {
        kEnabledCounter = 8,
        kInvertedCounter = 9,
        kWideCounter = 10,
        kScaleCounter = 11,
        kUnitCounter = 12,
        kUnitPerDivCounter = 13,
        kOffsetCounter = 14,
        kTimeBaseCounter = 15,
        kDelayCounter = 16,
        kTriggerCounter = 17,
        kLoadWaveCounter = 18,
        kSaveWaveCounter = 19
    };
    std::array<std::int32_t, kWords> word{};
    // The wave file counters 18 (load) and 19 (save) name.
    std::string waveFile;

    // The one-shot words the window and the cycle clear after a hand-off.
    void ClearOneShotWords() {
        for (int w : {kPending, kRedraw, kWheel, kRestore, kRestoreButton})
            word[w] = 0;
    }
};

// run modes (request word 31)
enum RunMode : int {
    kModeStop = 0,
    kModeContinue = 1,
    kModeNormal = 2,
    kModeSingle = 3,
    kModeBlockContinue = 4,
    kModeBlockNormal = 5,
    kModeBlockSingle = 6
};

// Icon of a message (the message box style bits).
enum MessageIcon : int { kIconError = 0x10, kIconInformation = 0x40 };
// The messages of stop reason 3 (wave files).
enum ScopeMessage : int {
    kMsgNone = 0,
    kMsgCannotCreate = 1,
    kMsgSaved = 2,
    kMsgCannotOpen = 3,
    kMsgReadSuccess = 4,
    kMsgReadFailed = 5
};
inline constexpr int kScopeMessages = 6;
// Their English templates (%s: the file), used until the window gives the
// cycle its language's texts.
inline constexpr const char* kScopeMessageText[] = {"",
                                                    "Cannot create file: %s",
                                                    "File: [%s] saved.",
                                                    "Cannot open file: %s",
                                                    "Read file success.",
                                                    "Read file failed."};

// status word values
enum CaptureStatus : int { kStatusIdle = 0, kStatusRunning = 1, kStatusRetry = 2 };
// stop reasons
enum StopReason : int { kStopNone = 0, kStopSetupFailed = 1, kStopStopped = 2, kStopMessage = 3 };

// The measurement cursors as last drawn, for the readouts beside the chart.
struct CursorReadout {
    enum Kind : int { kNone = 0, kX = 1, kY = 2 };
    int kind = kNone;
    double deltaMs = 0;                  // X cursor 2 minus X cursor 1
    std::array<int, kChannels> deltaY{}; // Y cursor 2 minus Y cursor 1, per channel
};

// What the cycle publishes: five change counters, four result words, a
// message, and a settings block the window applies to its panels.
struct ScopeStatus {
    enum CounterIndex : int {
        kZoomCounter = 0,
        kStatusCounter = 1,
        kTriggerCounter = 2,
        kStoppedCounter = 3,
        kSettingsCounter = 4
    };
    std::int32_t counter[5]{};
    std::int32_t zoomed = 0;
    std::int32_t status = kStatusIdle;
    std::int32_t triggered = 0;
    std::int32_t stopReason = kStopNone;
    std::string message;
    int messageStyle = 0;
    ScopeSettingsBlock settings{};
    // 1 while streaming runs on a line slower than 115200 baud, which cannot
    // carry one frame per millisecond: the time axis would be wrong. Changes
    // raise the status counter.
    std::int32_t lineTooSlow = 0;
    CursorReadout cursors;

    void ClearResults() { zoomed = status = triggered = stopReason = 0; }
};

} // namespace tracelens
