// The tuning window's string ids and compiled-in texts (the language tables
// in Language/Gainwise/<L>/<L>.lng replace them).
#pragma once

#include "ModuleStrings.h"

namespace gainwise {

enum StringId : unsigned {
    kStrTitle = 200,
    kStrMessage = 201,
    kStrAutoTab = 202,
    kStrManualTab = 203,
    kStrFirstPattern = 213, // 213..220: the rotation patterns in list order
    kStrBandwidthHint = 254,
    kStrConfirmServoOn = 255,
    kStrConfirmStart = 257,
    kStrConfirmEeprom = 258,
    kStrWritingEeprom = 259,
    kStrConfirmTransfer = 260,
    kStrOutOfRange = 266,
    kStrStepPattern = 300,
    kStrStepStiffness = 301,
    kStrStepServoOn = 302,
    kStrStepEstimate = 303,
    kStrStepServoOff = 304,
    kStrStepSave = 305,
    kStrServoOn = 306,
    kStrStart = 307,
    kStrServoOff = 308,
    kStrSaveEeprom = 309,
    kStrEstimateValue = 310,
    kStrServoIsOn = 311,
    kStrServoIsOff = 312,
    kStrStiffnessLevel = 313,
    kStrGainEstimation = 320,
    kStrInertiaRatio = 321,
    kStrBandwidth = 322,
    kStrReactionTime = 323,
    kStrEstimate = 324,
    kStrColumnParameter = 325, // 325..328: the table's columns
    kStrSetAfterTick = 329,
    kStrTransfer = 330,
    kStrNoGainParameters = 331,
    kStrEstimating = 332,
};

extern const ModuleStrings kGainwiseStrings;

} // namespace gainwise
