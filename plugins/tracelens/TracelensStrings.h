// The scope's string ids and compiled-in English texts (the language tables
// in Language/Trace/<L>/<L>.lng replace them).
#pragma once

#include "ModuleStrings.h"

namespace tracelens {

enum StringId : unsigned {
    kStrTitle = 200,
    kStrReady = 201,
    kStrRetry = 202,
    kStrLineTooSlow = 203,
    kStrCommFailed = 204,
    kStrContinue = 205,
    kStrNormal = 206,
    kStrSingle = 207,
    kStrStop = 208,
    kStrTrig = 209,
    kStrTabVertical = 210,
    kStrTabTime = 211,
    kStrTabTrigger = 212,
    kStrTabCursor = 213,
    kStrTabUtility = 214,
    kStrData = 215,
    kStrUnitPerDiv = 216,
    kStrOffset = 217,
    kStrInv = 218,
    kStr32bit = 219,
    kStrChannel = 220, // "CH", followed by the channel letter
    kStrZero = 221,
    kStrTimePerDiv = 222,
    kStrDelay = 223,
    kStrRes = 224,
    kStrHighSample = 225,
    kStrConditions = 226,
    kStrSource = 227,
    kStrSetup = 228,
    kStrLevel = 229,
    kStrTrigger1 = 230,
    kStrTrigger2 = 231,
    kStrHorizontal = 232,
    kStrVerticalAmp = 233,
    kStrCursorX1 = 234,
    kStrCursorX2 = 235,
    kStrCursorLock = 236,
    kStrCursorY1 = 237,
    kStrCursorY2 = 238,
    kStrZoomBoth = 239,
    kStrZoomTime = 240,
    kStrZoomValue = 241,
    kStrZoomRestore = 242,
    kStrDeltaT = 300,
    kStrFrequency = 301,
    kStrDeltaY = 302,
    // utility panel (CHzUtil)
    kStrSaveWave = 320,
    kStrOpenWave = 321,
    kStrClear = 322,
    kStrClearEncoder = 323,
    kStrClearPosition = 324,
    kStrCannotCreate = 325, // 325..329 in ScopeMessage order
    kStrFileSaved = 326,
    kStrCannotOpen = 327,
    kStrReadSuccess = 328,
    kStrReadFailed = 329,
    kStrClearComplete = 330,
    kStrClearFailed = 331,
    kStrMessage = 332,
    kStrWaveFilter = 333,
    kStrExportPng = 334,
    kStrExportCsv = 335,
    kStrPngFilter = 336,
    kStrCsvFilter = 337,
    kStrNoPicture = 338,
    kStrWaveGroup = 339,
    kStrClearGroup = 340,
    kStrExportGroup = 341,
    kStrInfoGroup = 342,
};

extern const ModuleStrings kTracelensStrings;

} // namespace tracelens
