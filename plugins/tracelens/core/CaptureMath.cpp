#include "CaptureMath.h"

#include <algorithm>

namespace tracelens {

std::array<long, 4> AssembleSample(const unsigned long (&words)[4], bool wideA, bool wideC) {
    std::array<long, 4> values{};
    const auto word16 = [&](int slot) { return static_cast<std::int16_t>(words[slot] & 0xFFFF); };
    const auto pair = [&](int first, bool wide, long& high, long& low) {
        if (wide) {
            const auto bits = static_cast<std::uint32_t>(words[first] & 0xFFFF) << 16 |
                              static_cast<std::uint32_t>(words[first + 1] & 0xFFFF);
            high = static_cast<std::int32_t>(bits);
            low = 0;
        } else {
            high = word16(first);
            low = word16(first + 1);
        }
    };
    pair(0, wideA, values[0], values[1]);
    pair(2, wideC, values[2], values[3]);
    return values;
}

unsigned short PairingWord(bool wideA, bool wideC) {
    return static_cast<unsigned short>((wideA ? 0x0011 : 0) | (wideC ? 0x1100 : 0));
}

unsigned short TriggerWord(const TriggerDatas& t) {
    const unsigned combination = static_cast<unsigned>(std::clamp(t.combination, 1, 4) - 1);
    return static_cast<unsigned short>((t.channel1 & 0xF) | (t.channel2 & 0xF) << 4 |
                                       (t.edge1 & 0x7) << 8 | (t.edge2 & 0x7) << 11 |
                                       combination << 14);
}

int StreamDrawRange(int timeBase) {
    const long long samples = static_cast<long long>(timeBase) * 10;
    return static_cast<int>(std::clamp<long long>(samples, 10, 3001));
}

BlockTiming HighSampleTiming(int timeBase) {
    const int t = std::clamp(timeBase, 1, 45);
    const int divider = (t + 4) / 5;
    return {t, divider, t * 100 / divider + 1};
}

int HighSampleDelay(int samples) {
    return std::clamp(samples, 1, 500);
}

double SampleIntervalMs(int timeBase, bool highSample) {
    return highSample ? HighSampleTiming(timeBase).divider * 0.1 : 1.0;
}

} // namespace tracelens
