// The window's input into the request words: mouse, wheel and control key on
// the chart, the five cursor buttons, the three zoom tools with their restore,
// and the run buttons. The window never applies any of it to the chart: the
// capture cycle does when it next draws.
#pragma once

#include "ScopeRecords.h"

namespace tracelens {

enum KeyBit : int { kKeyLeft = 1, kKeyRight = 2, kKeyControl = 8 };

// Cursor buttons in panel order: X cursor 1, X cursor 2, X lock, Y cursor 1,
// Y cursor 2.
enum CursorButton : int { kCurX1 = 0, kCurX2 = 1, kCurLockX = 2, kCurY1 = 3, kCurY2 = 4 };
inline constexpr int kCursorButtons = 5;

enum class ZoomTool : int { None, Both, Time, Value };

// The run buttons in their order on the window.
enum class RunButton : int { Continue = 0, Normal = 1, Single = 2, Stop = 3 };

class ScopeInput {
public:
    explicit ScopeInput(ScopeRequest& request) : request_(request) {}

    // --- Chart (positions in chart coordinates) ---
    void MouseMove(int x, int y, bool control);
    void Wheel(int delta);
    void LeftDown(bool control);
    void LeftDoubleClick();
    void LeftUp();
    void Control(bool down);
    // True when the press switched the zoom tools off instead.
    bool RightDown();
    void RightUp();
    void RightDoubleClick();

    // --- Cursor panel ---
    void PressCursorButton(int button);
    bool CursorButtonDown(int button) const { return pressed_[button]; }
    // A cursor is selected (the window then takes the keyboard focus).
    bool CursorSelected() const;

    // --- Zoom tools ---
    void SelectZoomTool(ZoomTool tool);
    void RestoreZoom();
    ZoomTool ActiveZoomTool() const;

    // --- Run buttons: the mode a button gives (High Sample maps to the
    // block modes); false when that mode already runs. ---
    static int ModeFor(RunButton button, bool highSample);
    bool PressRun(RunButton button, bool highSample, const ChannelTable& channels);
    int RunMode() const { return request_.word[ScopeRequest::kRunMode]; }

private:
    void Keys(int add, int remove);
    void WriteCursorWords();

    ScopeRequest& request_;
    bool pressed_[kCursorButtons]{};
};

} // namespace tracelens
