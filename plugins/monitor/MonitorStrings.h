// The monitor's string ids and its compiled-in English texts (the language
// tables in Language/Monitor/<L>/<L>.lng replace them).
#pragma once

#include "ModuleStrings.h"

namespace monitor {

enum StringId : unsigned {
    kStrTitle = 200,
    kStrMotionList = 201, // 201..204 the four lists
    kStrSelectAll = 205,
    kStrCancelAll = 206,
    kStrOpenCom = 207,
    kStrStopCom = 208,
    kStrColumnNo = 209,
    kStrColumnItem = 210,
    kStrColumnUnit = 211,
    kStrColumnValue = 212,
    kStrColumnPin = 213,
    kStrColumnFunction = 214,
    kStrColumnState = 215,
    kStrOn = 216,
    kStrOff = 217,
    kStrStopped = 218,
    kStrOffline = 219,
    kStrClear = 230,
    kStrPosMode = 231,
    kStrSpdMode = 232,
    kStrRpmModeInput = 233,
    kStrRpmModeOutput = 234,
    kStrTorMode = 235,
};

extern const ModuleStrings kMonitorStrings;

} // namespace monitor
