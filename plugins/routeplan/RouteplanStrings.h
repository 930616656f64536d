// The internal-position tool's string ids and its compiled-in English texts
// (the language tables in Language/Routeplan/<L>/<L>.lng replace them).
#pragma once

#include "ModuleStrings.h"

namespace routeplan {

enum StringId : unsigned {
    kStrGroupPoints = 200,    // 200..203 group titles
    kStrColumnPosition = 204, // 204..206 list columns
    kStrRowAcc = 207,         // 207..208 point acc./dec. rows
    kStrRowHoming = 209,      // 209..219 homing rows
    kStrRowAux = 220,         // 220..225 auxiliary rows
    kStrRead = 226,
    kStrWrite = 227,
    kStrImport = 228,
    kStrExport = 229,
    kStrGetPoint = 230,
    kStrSetPoint = 231,
    kStrReadOk = 232,
    kStrReadFailed = 233,
    kStrTransferOk = 234,
    kStrTransferFailed = 235,
    kStrVersionList = 236,
    kStrVersionDrive = 237,
    kStrReading = 238,
    kStrTransferring = 239,
    kStrGetPointFailed = 240,
    kStrSetPointOk = 241,
    kStrSetPointFailed = 242,
    kStrPointRange = 243,
    kStrMessage = 244,
    kStrNotConnected = 245,
    kStrExportPath = 246,
    kStrImportPath = 247,
    kStrAlarm = 248,
    kStrHomingConfirm = 249,
    kStrRunConfirm = 250,
    kStrControlMode = 251,
    kStrServoOnFailed = 252,
    kStrServoOffFailed = 253,
    kStrCommFailed = 254,
    kStrJogFirst = 255,   // 255..258 Inching+, Inching-, Jog+, Jog-
    kStrSpeedFirst = 259, // 259..261 Slow, Medium, Fast
    kStrStartPoint = 262,
    kStrEndPoint = 263,
    kStrPulseCount = 264,
    kStrRpm = 265,
    kStrDelay = 266,
    kStrJogStep = 267,
    kStrSpeedLimit = 268,
    kStrServoOn = 269,
    kStrServoOff = 270,
    kStrHoming = 271,
    kStrRun = 272,
    kStrStop = 273,
    kStrAbsolute = 274,
    kStrRelative = 275,
    kStrCheckStatus = 276,
    kStrFeedback = 277,
    kStrTitle = 278,
    kStrNeedsT8 = 279,
    kStrYielded = 280,
    kStrCannotWrite = 281,
    kStrGroupRun = 282, // 282..287 frames: point run, pulse move, jog, servo, single point, table
    kStrFileUnreadable = 289,
    kStrFileBinary = 290,
    kStrFileBadLine = 291,
    kStrFileNotRtpx = 292,
    kStrServoIsOn = 293,
    kStrServoIsOff = 294,
    kStrModeLabel = 295,
};

extern const ModuleStrings kRouteplanStrings;

} // namespace routeplan
