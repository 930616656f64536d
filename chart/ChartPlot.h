// A four-channel oscilloscope picture drawn with QPainter into an image: grid,
// one ruler per channel, time ruler, traces, time-base panel, channel tags,
// measurement cursors, drop-zoom and a two-condition trigger that hands whole
// captures to the display by swapping buffer sets.
//
// The chart takes no lock: its owner makes every call on one thread (the
// scope draws it off the GUI thread). A QGuiApplication must exist for fonts.
#pragma once

#include "ChartTypes.h"
#include "CirBuf.h"
#include "PenQ.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QPainter;

class CChartPlot {
public:
    static constexpr int kChannels = 4;
    static constexpr int kDivisions = 10;
    static constexpr uint8_t kEmptySlot = 255;

    CChartPlot();
    ~CChartPlot();
    CChartPlot(const CChartPlot&) = delete;
    CChartPlot& operator=(const CChartPlot&) = delete;

    // Mode switches, set by the owner before PlotAll.
    int32_t curSelX = 0;        // X cursor that follows mouse and wheel: 0 off, 1 or 2
    int32_t curSelY = 0;        // the same for the Y cursors
    int32_t curLockX = 0;       // moving X cursor 1 carries cursor 2 along
    int32_t followMouse = 0;    // the selected cursor jumps to the mouse
    int32_t fineStep = 0;       // the wheel moves a cursor by one unit at most
    int32_t dropZoomX = 0;      // a drag zooms the time axis
    int32_t dropZoomY = 0;      // a drag zooms the value axes
    int32_t dropZoomActive = 0; // a zoom drag is in progress
    int32_t debugWord = 0;      // owner's diagnostics, not used for drawing
    int32_t trigState = TrigConstructed;
    int yBase = 0; // row of the plot's vertical centre, window-relative

    // --- Window, axes and channels (ChartAxes.cpp, ChartPlot.cpp) ---
    void SetWndSize(const ChartRect* rect);
    void SetXaxisLen(int length);
    void SetDrawRangeX(int start, int end);
    void ZoomX_Reset();
    void SetTimeScaleX(int kind, float value);
    void SetDelay(int samples);
    void SetYbyUnitGrid(int ch, float unitPerDiv, float centre, int decimals,
                        const QString& caption);
    void SetYbyUpLowBound(int ch, float upper, float lower, int decimals, const QString& caption);
    void SetRulerText(const int* ch, const int* decimals, const QString* caption);
    static void InitYdat(YaxisDatas* axis);
    void EnChannel(int ch, int on);
    void ShowAllChannel(int on);
    void EnYReverse(int ch, int on);
    void SetChannelUnit(int ch, const QString& unit);
    void SetChannelName(int ch, const QString& name);

    // Mouse position in window coordinates and the wheel delta (multiples of
    // 120) for the next cursor or zoom step.
    void UpdateMouse(const QPoint* point, int wheelDelta);

    // --- Drawing (ChartLayout.cpp, ChartRulers.cpp, ChartTraces.cpp, ChartPanels.cpp) ---
    void UpdateFont(QPainter* dc, int tenthsOfPoint);
    void PlotAll(QPainter* dc);
    void PlotTrendPoly2(QPainter* dc, QPoint* points, CCirBuf* buf, float xScale, float yScale,
                        float xOffset, float centre, const QColor& colour, int mode);
    void PlotTrend(QPainter* dc, const CCirBuf* buf, float xScale, float yScale, float xOffset,
                   float offset, const QColor& colour);
    void DrawGrid(QPainter* dc);
    void DrawRulerV(QPainter* dc, int ch);
    void DrawRuler_V2(QPainter* dc, int ch);
    void DrawRulerH(QPainter* dc);
    void DrawText_TimeBase(QPainter* dc);
    void DrawText_Tag(QPainter* dc);
    void Draw_Tag(QPainter* dc, const QRect& frame, const QColor& colour);
    static void CustomLineTo(QPainter* dc, QPoint& from, const QPoint& to);

    // --- Coordinates (ChartAxes.cpp) ---
    long CoordX_toGridX(const long* x, float xScale) const;
    int CoordY_toRulerY(const long* y, const YaxisDatas* axis) const;
    int RulerY_toCoordY(const YaxisDatas* axis, const int* value) const;
    int GridX_toCoordX(int sample) const; // window-relative column of a range sample

    // --- Cursors (ChartCursors.cpp) ---
    void Cursor_H(int n);
    void Cursor_V(int n);
    void DrawCur_H(QPainter* dc, int n, int position, float xScale, CPenQ::Style style,
                   const QColor& colour, int width, int coincide);
    void DrawCur_V(QPainter* dc, int n, int row, CPenQ::Style style, const QColor& colour,
                   int width, int coincide);
    int GetCurX_DataPos() const { return curXDataPos_; }

    // --- Drop-zoom (ChartZoom.cpp) ---
    void ZoomDropStart();
    unsigned long ZoomDropEnd();
    unsigned long ZoomDropEnd(int* start, int* end);
    void ZoomSave();
    void ZoomRestore();
    void DrawDropXZoomIn(QPainter* dc, QPoint anchor, QPoint corner);
    void DrawDropYZoomIn(QPainter* dc, QPoint anchor, QPoint corner);
    void DrawDropXY_ZoomIn(QPainter* dc, QPoint anchor, QPoint corner);

    // --- Trigger (ChartTrigger.cpp) ---
    static void Trig_Init(TriggerDatas* trigger);
    void TrigSetup(const TriggerDatas* trigger);
    void TrigSatReSize_CirBuf(int capacity);
    void TrigAdd_CirBuf(long a, long b, long c, long d);
    void Trig_Reset();
    int Trig_IsConditionTriggered();
    static int Trig_IsTrigger(const int* previous, const int* current, const int* level,
                              const int* kind);
    int Trig_IsTrigBufFilled() const;
    int Trig_CheckTrig_SwpCirBuf();
    void Trig_SwpCirBuf();

    // --- State for the owner, tests and benchmarks ---
    CCirBuf& ShownBuf(int ch) { return *bufs_[shownSet_][ClampChannel(ch)]; }
    CCirBuf& TrigBuf(int ch) { return *bufs_[1 - shownSet_][ClampChannel(ch)]; }
    const YaxisDatas& Yaxis(int ch) const { return yaxis_[ClampChannel(ch)]; }
    const ChannelTagDatas& Tag(int ch) const { return tags_[ClampChannel(ch)]; }
    const TriggerDatas& Trigger() const { return trigger_; }
    // The plot's pixels, window-relative: border lines on every side included.
    QRect PlotRect() const { return {plotLeft_, plotTop_, PlotWidth() + 1, PlotHeight() + 1}; }
    int PlotWidth() const { return plotRight_ - plotLeft_; }
    int PlotHeight() const { return plotBottom_ - plotTop_; }
    int AxisLen() const { return axisLen_; }
    int DrawStart() const { return drawStart_; }
    int DrawEnd() const { return drawEnd_; }
    int RangeLen() const { return rangeLen_; }
    int CursorX(int n) const { return curX_[CursorIndex(n)]; }
    int CursorY(int n) const { return curY_[CursorIndex(n)]; }
    int WheelStep(int large) const { return large ? wheelStepLarge_ : wheelStepSmall_; }
    int MsPerDiv() const { return msPerDiv_; }
    int Delay() const { return delay_; }
    const std::array<uint8_t, 5>& DrawOrder() const { return drawOrder_; }
    int IsShown(int ch) const { return show_[ClampChannel(ch)]; }
    bool YZoomed() const { return yZoomed_; }
    const QString& RulerLabel(int ch, int i) const { return rulerLabels_[ClampChannel(ch)][i]; }
    const QString& TimeLabel(int i) const { return timeLabels_[i]; }
    QStringList TimeBaseLines() const;
    QStringList TagLines(int ch) const;
    int FontSize() const { return fontSize_; }
    int BackgroundRedraws() const { return backgroundRedraws_; }

    static int ClampChannel(int ch) { return ch < 0 ? 0 : (ch >= kChannels ? kChannels - 1 : ch); }

private:
    static int CursorIndex(int n) { return n >= 2 ? 1 : 0; }
    void Layout();
    void RedrawBackground(QImage::Format format);
    int RulerX(int ch) const;
    void DrawRulerWith(QPainter* dc, int ch, const std::array<QString, 11>& labels);
    void DrawTraces(QPainter* dc);
    void DrawCursors(QPainter* dc);
    void DrawDropZoom(QPainter* dc);
    void MakeTimeLabels();
    float MsPerSample() const;
    int ValueAtSample(int ch, int rangeSample) const;
    void StoreCursorValuesX();
    void StoreCursorValuesY();
    void ApplyBufferFlags();
    QPoint MouseInWindow() const;

    // Window and plot geometry, plot rectangle window-relative.
    ChartRect wnd_;
    ChartRect laidOutWnd_{-1, -1, -1, -1};
    int plotLeft_ = 0;
    int plotTop_ = 0;
    int plotRight_ = 0;
    int plotBottom_ = 0;
    bool backgroundDirty_ = true;
    QImage background_;
    int backgroundRedraws_ = 0;

    // X axis.
    int axisLen_ = 0;
    int drawStart_ = 0;
    int drawEnd_ = 0;
    int rangeLen_ = 1;
    float xScale_ = 1.0f;
    int wheelStepSmall_ = 1;
    int wheelStepLarge_ = 1;
    int timeKind_ = TimeOneMsPerSample;
    float timeValue_ = 0.0f;
    int msPerDiv_ = 500;
    int delay_ = 2500;
    std::array<int, 2> curX_{0, 0};
    std::array<int, 2> curY_{0, 0};
    int curXDataPos_ = 0;

    // Channels.
    std::array<YaxisDatas, kChannels> yaxis_{};
    std::array<ChannelTagDatas, kChannels> tags_;
    std::array<QString, kChannels> captions_;
    std::array<std::array<QString, 11>, kChannels> rulerLabels_;
    std::array<QString, 11> timeLabels_;
    std::array<uint8_t, 5> drawOrder_{0, 1, 2, 3, kEmptySlot};
    std::array<int, kChannels> show_{1, 1, 1, 1};
    int showAll_ = 1;
    std::array<int, kChannels> reverse_{0, 0, 0, 0};

    // Two buffer sets: shownSet_ is drawn, the other one is filled by the trigger.
    std::array<std::array<std::unique_ptr<CCirBuf>, kChannels>, 2> bufs_;
    int shownSet_ = 0;
    std::array<std::vector<QPoint>, kChannels> points_;

    // Fonts, sizes in tenths of a point.
    int fontSize_ = 0;
    QFont fontArial_; // labels; captions use it turned by 90 degrees
    QFont fontCourier_;

    // Mouse and zoom.
    QPoint mouse_;
    int wheelDelta_ = 0;
    QPoint zoomAnchor_;
    QPoint zoomCorner_;
    int zoomAnchorSample_ = 0;
    bool yZoomed_ = false;
    bool rulersFromLabelsPending_ = false;
    std::array<YaxisDatas, kChannels> savedYaxis_{};
    int savedStart_ = 0;
    int savedEnd_ = 0;

    TriggerDatas trigger_{};
};
