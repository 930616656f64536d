#include "TracelensStrings.h"

namespace tracelens {

namespace {
const ResString kTexts[] = {
    {kStrTitle, "Scope"},
    {kStrReady, "Ready"},
    {kStrRetry, "Retry"},
    {kStrLineTooSlow, "The line is too slow for streaming: connect at 115200 baud."},
    {kStrCommFailed, "Communication to drive failed."},
    {kStrContinue, "Continue"},
    {kStrNormal, "Normal"},
    {kStrSingle, "Single"},
    {kStrStop, "Stop"},
    {kStrTrig, "Trig"},
    {kStrTabVertical, "Vertical"},
    {kStrTabTime, "Time"},
    {kStrTabTrigger, "Trigger"},
    {kStrTabCursor, "Cursor"},
    {kStrTabUtility, "Utility"},
    {kStrData, "Data"},
    {kStrUnitPerDiv, "Unit /Div."},
    {kStrOffset, "Offset"},
    {kStrInv, "Inv"},
    {kStr32bit, "32bit"},
    {kStrChannel, "CH"},
    {kStrZero, "0"},
    {kStrTimePerDiv, "Time (ms/Div.)"},
    {kStrDelay, "Delay"},
    {kStrRes, "Res"},
    {kStrHighSample, "High Sample"},
    {kStrConditions, "Conditions:"},
    {kStrSource, "Source:"},
    {kStrSetup, "Setup:"},
    {kStrLevel, "Lv:"},
    {kStrTrigger1, "Trigger 1"},
    {kStrTrigger2, "Trigger 2"},
    {kStrHorizontal, "Horizontal (Time)"},
    {kStrVerticalAmp, "Vertical (Amp.)"},
    {kStrCursorX1, "X1"},
    {kStrCursorX2, "X2"},
    {kStrCursorLock, "X Lock"},
    {kStrCursorY1, "Y1"},
    {kStrCursorY2, "Y2"},
    {kStrZoomBoth, "Zoom"},
    {kStrZoomTime, "Zoom Time"},
    {kStrZoomValue, "Zoom Amp."},
    {kStrZoomRestore, "Restore"},
    {kStrDeltaT, "\xCE\x94T"},
    {kStrFrequency, "1/\xCE\x94T"},
    {kStrDeltaY, "\xCE\x94Y"},
};
} // namespace

VELMORA_MODULE_STRINGS(kTracelensStrings, kTexts);

} // namespace tracelens
