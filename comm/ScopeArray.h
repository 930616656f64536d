// A fixed ring of three-channel samples with a time stamp each: a level
// trigger and an out-of-bounds trigger tested half a ring behind the newest
// sample, a running time built from 5-bit wrapping stamps, a text export and
// a simple trace plot. Lives in libWirelayScope (it draws with QtGui), apart
// from the GUI-free Wirelay.
#pragma once

#include <QRect>
#include <cstdint>
#include <string>
#include <vector>

class QPainter;

class CScopeArray {
public:
    struct Sample {
        std::uint32_t stamp = 0;
        double time = 0; // ms since the oldest sample, set by ArrangeTimeAxis
        std::int32_t channel[3] = {};
    };
    // Plot type bit: four white pixels around each point drawn.
    static constexpr int kMarkPoints = 0x200;

    // A ring of `size` samples (at least 2, so that the trigger has a sample
    // before it).
    explicit CScopeArray(int size);

    // Writes a sample at `ahead` and advances; returns the new `ahead`.
    int Add(unsigned long stamp, int ch0, int ch1, int ch2);
    // Advances without writing; returns the new `ahead`.
    int MoveNext();
    int GetAhead() const { return ahead; }
    int GetTail() const { return tail; }
    int GetTrigger() const { return trigger; }
    int GetSize() const { return size; }
    const Sample& At(int index) const { return items[static_cast<std::size_t>(index)]; }

    // edge 0 rising, 1 falling; channel 0..2.
    void TriggerSetup(long level, int edge, int channel);
    int TriggerDetect() const;
    void OutBoundsTriggerSetup(long upper, long lower, int channel);
    // The tested value is stored through `value` when it is not null.
    int OutBoundsTriggerDetect(long* value) const;

    void ArrangeTimeAxis();
    // Appends one line per sample, oldest first, replacing the file in one
    // step; false (file untouched) when it cannot be read or written.
    bool SaveToFile(const char* path) const;
    // Draws one channel (type 0..2, optionally | kMarkPoints) over `rect`:
    // running time across, value × height / scale up from the middle.
    // `colour` is 0x00BBGGRR.
    void Plot(QPainter* dc, QRect rect, unsigned long colour, int type, double scale);

protected:
    // a − *previous, corrected by ±modulus when beyond ±threshold; *previous
    // becomes a.
    static long IncrementCross(long a, long* previous, long modulus, long threshold);

private:
    int Next(int index) const { return (index + 1) % size; }
    void Advance();
    std::int32_t Value(int index, int channel) const;

    int ahead = 0;
    int tail = 1;
    int preTrigger = 0;
    int trigger = 0;
    int size = 0;
    long trigLevel = 0;
    int trigEdge = 0;
    int trigChannel = 0;
    long oobUpper = 0;
    long oobLower = 0;
    int oobChannel = 0;
    int lastX = 0;
    int lastY = 0;
    std::vector<Sample> items;
};
