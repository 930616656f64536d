// The scope sample array: ring wrap, triggers half a ring behind the newest
// sample, the running time from wrapping stamps, the export file and the plot.
#include "ScopeArray.h"
#include "TempDir.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace {

// One field of every sample, oldest first.
template <class T>
std::vector<T> OldestFirst(const CScopeArray& a, T CScopeArray::Sample::*field) {
    std::vector<T> values;
    for (int i = 0, at = a.GetAhead(); i < a.GetSize(); ++i, at = (at + 1) % a.GetSize())
        values.push_back(a.At(at).*field);
    return values;
}

TEST(ScopeArray, RingWrapsAndKeepsTheNewestSamples) {
    const struct {
        int size, additions, ahead, tail, trigger;
        std::vector<std::uint32_t> held; // oldest first
    } rows[] = {
        {4, 0, 0, 1, 2, {0, 0, 0, 0}}, {4, 3, 3, 0, 1, {0, 1, 2, 3}},
        {4, 5, 1, 2, 3, {2, 3, 4, 5}}, {5, 7, 2, 3, 4, {3, 4, 5, 6, 7}},
        {1, 3, 1, 0, 0, {2, 3}}, // a ring holds at least two samples
    };
    for (const auto& row : rows) {
        CScopeArray a(row.size);
        int ahead = 0;
        for (int i = 1; i <= row.additions; ++i)
            ahead = a.Add(static_cast<unsigned long>(i), i, 0, 0);
        EXPECT_EQ(std::tuple(ahead, a.GetAhead(), a.GetTail(), a.GetTrigger()),
                  std::tuple(row.ahead, row.ahead, row.tail, row.trigger))
            << row.size << "/" << row.additions;
        EXPECT_EQ(OldestFirst(a, &CScopeArray::Sample::stamp), row.held);
    }
    CScopeArray a(4);
    a.Add(9, 9, 9, 9);
    EXPECT_EQ(a.MoveNext(), 2);
    EXPECT_EQ(a.At(1).stamp, 0u); // passed over, not written
}

// Four samples into a ring of four: index 1 is before the trigger, 2 at it.
CScopeArray WithPair(int channel, long before, long at) {
    CScopeArray a(4);
    for (long v : {0L, before, at, 0L}) {
        int ch[3] = {0, 0, 0};
        ch[channel] = static_cast<int>(v);
        a.Add(0, ch[0], ch[1], ch[2]);
    }
    return a;
}

TEST(ScopeArray, LevelTriggerFiresOnItsEdge) {
    const struct {
        int edge, channel;
        long level, before, at;
        int fires;
    } rows[] = {
        {0, 0, 100, 100, 101, 1}, {0, 0, 100, 101, 102, 0}, {0, 0, 100, 99, 100, 0},
        {1, 2, 100, 100, 99, 1},  {1, 2, 100, 101, 100, 0}, {1, 1, 0, 5, -5, 1},
        {2, 0, 100, 100, 101, 0}, // no such edge
    };
    for (const auto& row : rows) {
        CScopeArray a = WithPair(row.channel, row.before, row.at);
        a.TriggerSetup(row.level, row.edge, row.channel);
        EXPECT_EQ(a.TriggerDetect(), row.fires) << row.edge << " " << row.before << "->" << row.at;
        a.TriggerSetup(row.level, row.edge, 3);
        EXPECT_EQ(a.TriggerDetect(), 0);
    }
}

TEST(ScopeArray, OutOfBoundsTriggerFiresLeavingTheBand) {
    const struct {
        long before, at;
        int fires;
    } rows[] = {{50, 51, 1}, {-50, -51, 1}, {0, 10, 0}, {51, 52, 0}, {-51, -50, 0}};
    for (const auto& row : rows) {
        CScopeArray a = WithPair(1, row.before, row.at);
        a.OutBoundsTriggerSetup(50, -50, 1);
        long value = 0;
        EXPECT_EQ(a.OutBoundsTriggerDetect(&value), row.fires) << row.before << "->" << row.at;
        EXPECT_EQ(value, row.at);
        EXPECT_EQ(a.OutBoundsTriggerDetect(nullptr), row.fires);
    }
}

TEST(ScopeArray, RunningTimeFollowsWrappingStamps) {
    const struct {
        std::vector<std::uint32_t> stamps;
        std::vector<double> times;
    } rows[] = {
        {{30, 31, 1, 2}, {0, 1, 3, 4}},
        {{0, 5, 10, 15}, {0, 5, 10, 15}},
        {{31, 0, 30, 29}, {0, 1, -1, -2}},
        {{0, 60, 61, 1000}, {0, 15, 16, 31}}, // a step beyond 20 counts as 15
    };
    for (const auto& row : rows) {
        CScopeArray a(static_cast<int>(row.stamps.size()));
        for (std::uint32_t s : row.stamps)
            a.Add(s, 0, 0, 0);
        a.ArrangeTimeAxis();
        EXPECT_EQ(OldestFirst(a, &CScopeArray::Sample::time), row.times) << row.stamps[1];
    }
}

TEST(ScopeArray, ExportAppendsOneLinePerSample) {
    TempDir dir;
    CScopeArray a(2);
    a.Add(31, 10, 20, 30);
    a.Add(0, -1, 0, 5);
    a.ArrangeTimeAxis();
    const std::string lines = "31\t0.000000\t10\t20\t30\t\n0\t1.000000\t-1\t0\t5\t\n";
    const std::string file = dir.Write("wave.txt", "kept\n");
    ASSERT_TRUE(a.SaveToFile(file.c_str()));
    ASSERT_TRUE(a.SaveToFile(file.c_str()));
    EXPECT_EQ(TempDir::Read(file), "kept\n" + lines + lines);

    const std::string fresh = dir.File("new.txt");
    ASSERT_TRUE(a.SaveToFile(fresh.c_str()));
    EXPECT_EQ(TempDir::Read(fresh), lines);
    // Nothing is written where the file cannot be read or made.
    EXPECT_FALSE(a.SaveToFile(dir.Path().c_str()));
    EXPECT_FALSE(a.SaveToFile(dir.File("no/such/folder.txt").c_str()));
    EXPECT_FALSE(a.SaveToFile(nullptr));
}

// --- Plot ----------------------------------------------------------------------

// Channel 1 holding `value` on four samples, at stamps 0..3 (running time
// 0..3 ms) or all at one stamp (no time span), plotted as channel 1 into
// 100 x 50 pixels: the red row of column 49 (-1: none, -2: several).
int PlottedRow(int value, bool still, double scale) {
    CScopeArray a(4);
    for (unsigned long t = 0; t < 4; ++t)
        a.Add(still ? 7 : t, 0, value, 0);
    a.ArrangeTimeAxis();
    QImage image(100, 50, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    a.Plot(&painter, {0, 0, 100, 50}, 0x0000FF /* 0x00BBGGRR */, 1, scale);
    a.Plot(nullptr, {0, 0, 100, 50}, 0x0000FF, 1, scale);
    painter.end();
    int row = -1;
    for (int y = 0; y < 50; ++y)
        if (image.pixelColor(49, y) == Qt::red)
            row = row == -1 ? y : -2;
    return row;
}

TEST(ScopeArray, PlotPutsTheValueAtItsRowInsideTheRectangle) {
    EXPECT_EQ(PlottedRow(10, false, 100), 20); // 25 - 10 * 50 / 100: positive goes up
    EXPECT_EQ(PlottedRow(1000, false, 100), 2) << "clamped at the top";
    EXPECT_EQ(PlottedRow(-1000, false, 100), 47) << "and at the bottom";
    EXPECT_EQ(PlottedRow(10, true, 100), -1) << "no time span";
    EXPECT_EQ(PlottedRow(10, false, 0), -1) << "no scale";
}

} // namespace
