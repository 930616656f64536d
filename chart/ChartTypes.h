// Plain records shared by the chart and the scope that drives it.
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>

// A window rectangle as the scope hands it over: right and bottom exclusive.
struct ChartRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const ChartRect&) const = default;
};

// One channel's vertical axis.
struct YaxisDatas {
    float unit;   // units per division
    float upper;  // value at the plot top
    float lower;  // value at the plot bottom
    float centre; // value at the centre row
    float scale;  // 1 / (upper - lower)
    int decimals; // decimals of the ruler labels
};

enum CursorKind : int32_t { CursorKindNone = 0, CursorKindX = 1, CursorKindY = 2 };

// What one channel's tag below the plot shows.
struct ChannelTagDatas {
    QString name;
    QString unit;
    int unitPerDiv = 0;
    int offset = 0;
    int cursorKind = CursorKindNone;
    int value1 = 0;
    int value2 = 0;
    int spare = 0;
    QColor colour;
    int channel = 1; // 1 to 4
};

// Trigger settings, eight words in the order the scope keeps them.
struct TriggerDatas {
    int32_t combination; // 1: cond 1, 2: 1 or 2, 3: 1 and 2, 4: cond 2, else never
    int32_t channel1;
    int32_t channel2;
    int32_t edge1; // TriggerKind
    int32_t edge2;
    int32_t level1;
    int32_t level2;
    int32_t position; // window position at which the conditions are tested
};

enum TriggerKind : int32_t {
    TrigRising = 0,
    TrigFalling = 1,
    TrigEitherEdge = 2,
    TrigAtOrAbove = 3,
    TrigAtOrBelow = 4,
};

enum TriggerState : int32_t {
    TrigConstructed = 0,
    TrigArmed = 1,
    TrigWaiting = 2,
    TrigTriggered = 3,
    TrigComplete = 4,
};

// Time-scale kinds of SetTimeScaleX.
enum TimeScaleKind : int { TimeOneMsPerSample = 0, TimeMsPerScreen = 1, TimeMsPerSample = 2 };
