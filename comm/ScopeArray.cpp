// CScopeArray: the ring, its triggers, the time axis and the export.
#include "ScopeArray.h"

#include "AtomicFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

// Stamps count modulo 32; a step beyond ±10 has wrapped.
constexpr long kStampModulus = 32;
constexpr long kWrapThreshold = 10;
// A longer step is a gap in the record, drawn as this many milliseconds.
constexpr double kLongestStep = 20;
constexpr double kGapStep = 15;

} // namespace

CScopeArray::CScopeArray(int n)
    : tail(1), preTrigger(std::max(n, 2) / 2 - 1), trigger(std::max(n, 2) / 2),
      size(std::max(n, 2)), items(static_cast<std::size_t>(size)) {}

void CScopeArray::Advance() {
    ahead = Next(ahead);
    tail = Next(tail);
    trigger = Next(trigger);
    preTrigger = Next(preTrigger);
}

int CScopeArray::Add(unsigned long stamp, int ch0, int ch1, int ch2) {
    Sample& s = items[static_cast<std::size_t>(ahead)];
    s.stamp = static_cast<std::uint32_t>(stamp);
    s.time = 0;
    s.channel[0] = ch0;
    s.channel[1] = ch1;
    s.channel[2] = ch2;
    Advance();
    return ahead;
}

int CScopeArray::MoveNext() {
    Advance();
    return ahead;
}

std::int32_t CScopeArray::Value(int index, int channel) const {
    return items[static_cast<std::size_t>(index)].channel[channel];
}

void CScopeArray::TriggerSetup(long level, int edge, int channel) {
    trigLevel = level;
    trigEdge = edge;
    trigChannel = channel;
}

int CScopeArray::TriggerDetect() const {
    if (trigChannel < 0 || trigChannel > 2)
        return 0;
    const long c = Value(trigger, trigChannel), p = Value(preTrigger, trigChannel);
    if (trigEdge == 0)
        return p <= trigLevel && trigLevel < c ? 1 : 0;
    if (trigEdge == 1)
        return c < trigLevel && trigLevel <= p ? 1 : 0;
    return 0;
}

void CScopeArray::OutBoundsTriggerSetup(long upper, long lower, int channel) {
    oobUpper = upper;
    oobLower = lower;
    oobChannel = channel;
}

int CScopeArray::OutBoundsTriggerDetect(long* value) const {
    if (oobChannel < 0 || oobChannel > 2)
        return 0;
    const long c = Value(trigger, oobChannel), p = Value(preTrigger, oobChannel);
    if (value != nullptr)
        *value = c;
    return (p <= oobUpper && oobUpper < c) || (c < oobLower && oobLower <= p) ? 1 : 0;
}

long CScopeArray::IncrementCross(long a, long* previous, long modulus, long threshold) {
    long d = a - *previous;
    if (d > threshold)
        d -= modulus;
    else if (d < -threshold)
        d += modulus;
    *previous = a;
    return d;
}

void CScopeArray::ArrangeTimeAxis() {
    int index = ahead;
    long previous = static_cast<long>(items[static_cast<std::size_t>(index)].stamp);
    double time = 0;
    items[static_cast<std::size_t>(index)].time = 0;
    for (int i = 1; i < size; ++i) {
        index = Next(index);
        Sample& s = items[static_cast<std::size_t>(index)];
        double step = static_cast<double>(
            IncrementCross(static_cast<long>(s.stamp), &previous, kStampModulus, kWrapThreshold));
        if (step > kLongestStep)
            step = kGapStep;
        time += step;
        s.time = time;
    }
}

bool CScopeArray::SaveToFile(const char* path) const {
    if (path == nullptr)
        return false;
    std::string contents;
    std::error_code error;
    if (std::filesystem::exists(path, error) && !toolbelt::ReadWholeFile(path, contents))
        return false; // appending to a file we cannot read would lose it
    char line[128];
    for (int i = 0, index = ahead; i < size; ++i, index = Next(index)) {
        const Sample& s = items[static_cast<std::size_t>(index)];
        std::snprintf(line, sizeof line, "%u\t%f\t%d\t%d\t%d\t\n", s.stamp, s.time, s.channel[0],
                      s.channel[1], s.channel[2]);
        contents += line;
    }
    return toolbelt::WriteFileAtomically(path, contents);
}
