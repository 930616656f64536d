// The arithmetic of a capture, free of any state: how four 16-bit slot words
// become four channel values, the words written to the drive's sampling
// registers, and the lengths and scales of the two time bases.
#pragma once

#include "ChartTypes.h"

#include <array>
#include <cstdint>

namespace tracelens {

// Sampling registers of the drive.
enum ScopeRegister : unsigned short {
    kRegSampling =
        0x0090,           // 0 stop, 1 stream, 2 arm triggered block, 3 arm free block, 4 send block
    kRegPairing = 0x00A1, // 0x00A1..0x00A5: pairing word, then the signal code of slot A..D
    kRegTrigger = 0x00A9, // write: trigger word; read: block progress
    kRegHighSample = 0x00AA, // bits 0-5 time base, bits 6-15 delay
    kRegLevel1 = 0x00AB,     // 0x00AB/0x00AC: trigger 1 level, low then high word
    kRegLevel2 = 0x00AD,     // 0x00AD/0x00AE: trigger 2 level
    kRegProbe = 0x1090,      // written with 0 to test the link after a loss
    kRegClearPosition = 0x139C,
    kRegClearEncoder = 0x139E
};

enum SamplingCommand : unsigned short {
    kSampleStop = 0,
    kSampleStream = 1,
    kSampleArmTriggered = 2,
    kSampleArmFree = 3,
    kSampleSendBlock = 4
};

enum BlockProgress : unsigned short { kBlockWaiting = 2, kBlockComplete = 4 };

// Channel values A..D from the slot words. A wide A is A's word high and B's
// word low, and B reads 0; C with D likewise.
std::array<long, 4> AssembleSample(const unsigned long (&words)[4], bool wideA, bool wideC);

// Register 0x00A1: one 4-bit group per slot, 1 in both groups of a wide pair.
unsigned short PairingWord(bool wideA, bool wideC);

// Register 0x00A9: sources, conditions and combination of a trigger record.
unsigned short TriggerWord(const TriggerDatas& trigger);

// Points of the chart's X axis: the most samples a trace shows.
inline constexpr int kAxisLength = 3001;

// Streaming: samples on screen for a time base (10 per division at 1 ms).
int StreamDrawRange(int timeBase);

// High Sample: the time base the drive can do, its sample divider (0.1 ms
// units per sample) and the block length in samples.
struct BlockTiming {
    int timeBase;
    int divider;
    int length;
};
BlockTiming HighSampleTiming(int timeBase);

// Time between two recorded samples: 1 ms streaming, divider × 0.1 ms in blocks.
double SampleIntervalMs(int timeBase, bool highSample);

// The delay the drive takes in a High Sample word (bits 6-15).
int HighSampleDelay(int samples);

} // namespace tracelens
