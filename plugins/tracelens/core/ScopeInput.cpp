#include "ScopeInput.h"

#include "CaptureMath.h"

namespace tracelens {

void ScopeInput::Keys(int add, int remove) {
    std::int32_t& keys = request_.word[ScopeRequest::kKeys];
    keys = (keys | add) & ~remove;
}

void ScopeInput::MouseMove(int x, int y, bool control) {
    request_.word[ScopeRequest::kMouseX] = x;
    request_.word[ScopeRequest::kMouseY] = y;
    if (!control)
        Keys(0, kKeyControl);
}

void ScopeInput::Wheel(int delta) {
    request_.word[ScopeRequest::kWheel] = delta;
}

void ScopeInput::LeftDown(bool control) {
    Keys(kKeyLeft | (control ? kKeyControl : 0), 0);
}

void ScopeInput::LeftDoubleClick() {
    Keys(kKeyLeft, 0);
}

void ScopeInput::LeftUp() {
    Keys(0, kKeyLeft | kKeyControl);
}

void ScopeInput::Control(bool down) {
    Keys(down ? kKeyControl : 0, down ? 0 : kKeyControl);
}

bool ScopeInput::RightDown() {
    if (ActiveZoomTool() != ZoomTool::None) {
        SelectZoomTool(ZoomTool::None);
        return true;
    }
    Keys(kKeyRight, 0);
    return false;
}

void ScopeInput::RightUp() {
    Keys(0, kKeyRight);
}

void ScopeInput::RightDoubleClick() {
    request_.word[ScopeRequest::kRestore] = 1;
}

void ScopeInput::PressCursorButton(int button) {
    if (button < 0 || button >= kCursorButtons)
        return;
    // A press releases every other button; a second press releases its own.
    const bool down = !pressed_[button];
    for (bool& pressed : pressed_)
        pressed = false;
    pressed_[button] = down;
    if (button == kCurLockX && down)
        pressed_[kCurX1] = true; // locking moves X cursor 1 with 2
    WriteCursorWords();
}

void ScopeInput::WriteCursorWords() {
    std::int32_t& x = request_.word[ScopeRequest::kCursorX];
    std::int32_t& y = request_.word[ScopeRequest::kCursorY];
    x = pressed_[kCurX1] ? 1 : (pressed_[kCurX2] ? 2 : 0);
    y = pressed_[kCurY1] ? 1 : (pressed_[kCurY2] ? 2 : 0);
    request_.word[ScopeRequest::kCursorLockX] = pressed_[kCurLockX] ? 1 : 0;
}

bool ScopeInput::CursorSelected() const {
    return request_.word[ScopeRequest::kCursorX] != 0 || request_.word[ScopeRequest::kCursorY] != 0;
}

void ScopeInput::SelectZoomTool(ZoomTool tool) {
    request_.word[ScopeRequest::kDropZoomX] = tool == ZoomTool::Both || tool == ZoomTool::Time;
    request_.word[ScopeRequest::kDropZoomY] = tool == ZoomTool::Both || tool == ZoomTool::Value;
}

void ScopeInput::RestoreZoom() {
    SelectZoomTool(ZoomTool::None);
    request_.word[ScopeRequest::kRestoreButton] = 1;
}

ZoomTool ScopeInput::ActiveZoomTool() const {
    const bool x = request_.word[ScopeRequest::kDropZoomX] != 0;
    const bool y = request_.word[ScopeRequest::kDropZoomY] != 0;
    if (x && y)
        return ZoomTool::Both;
    return x ? ZoomTool::Time : (y ? ZoomTool::Value : ZoomTool::None);
}

int ScopeInput::ModeFor(RunButton button, bool highSample) {
    if (button == RunButton::Stop)
        return kModeStop;
    return static_cast<int>(button) + (highSample ? kModeBlockContinue : kModeContinue);
}

bool ScopeInput::PressRun(RunButton button, bool highSample, const ChannelTable& channels) {
    const int mode = ModeFor(button, highSample);
    if (mode == RunMode())
        return false;
    request_.word[ScopeRequest::kDriveWords] =
        PairingWord(channels[0].wide != 0, channels[2].wide != 0);
    request_.word[ScopeRequest::kRunMode] = mode;
    return true;
}

} // namespace tracelens
