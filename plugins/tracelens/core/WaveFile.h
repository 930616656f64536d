// Wave files (".tcs"): the chart's samples as comma-separated text, followed
// by the profile sections "Info" and "Setup" with the date, the drive's
// identity and the settings that recorded them.
//
//   Sample size,<n>
//   Sample start, CHA, CHB, CHC, CHD
//   <index>,<A>,<B>,<C>,<D>        (n lines, index from 0)
//   Sample end
//   [Info]  Date, Size
//   [Setup] FileVersion, TypeCap, DrvVer1, DrvVer2, MID, EncVer,
//           TimeBase_ms_Div, TimeBase_EnHiSamp, CHA_ID..CHD_ID, CHA_DivSel..CHD_DivSel
#pragma once

#include "ScopeRecords.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tracelens {

// The drive identity texts a wave file records.
struct WaveIdentity {
    std::string typeCap, drvVer1, drvVer2, mid, encVer;
};

// The settings a wave file keeps, with the defaults of a file that lacks them.
// A division index of 46 lies beyond the 45-entry table: the selection stays.
struct WaveSetup {
    int timeBase = 300;
    int highSample = 0;
    std::array<int, kChannels> code{1, 4, 5, 6};
    std::array<int, kChannels> divSel{46, 46, 46, 46};
};

// The settings words of a panel snapshot, and back.
WaveSetup SetupFromBlock(const ScopeSettingsBlock& block);
void SetupIntoBlock(const WaveSetup& setup, ScopeSettingsBlock& block);

// The whole file text. `date` is "YYYY-MM-DD hh:mm:ss".
std::string FormatWaveFile(const std::vector<SampleRow>& rows, const WaveSetup& setup,
                           const WaveIdentity& identity, const std::string& date);

// The local time now in the file's date format.
std::string WaveDateNow();

// What the profile sections of a wave file say: "Size" (default 1) and the setup.
struct WaveHeader {
    long size = 1;
    WaveSetup setup;
};
WaveHeader ReadWaveHeader(std::string_view text);

enum class WaveBody { Complete, Short, NoStart };
// Reads up to `wanted` records after the "Sample start" line, stopping at the
// first line that is not five whole numbers. Complete when exactly `wanted`
// records were read.
WaveBody ReadWaveSamples(std::string_view text, long wanted, std::vector<SampleRow>& rows);

// Largest wave file read: far above the 3001 samples a chart holds.
inline constexpr std::size_t kMaxWaveFileBytes = 16u << 20;

} // namespace tracelens
