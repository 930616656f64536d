// The commands the plug-in's cycle performs, one per request: the table's
// transfers with their version check and the motion commands. Codes are odd
// requests; the answer is the next even number.
#pragma once

#include "MotionLink.h"
#include "RouteplanValues.h"
#include "SharedContext.h"
#include "TableTransfers.h"

#include <atomic>

namespace routeplan {

enum Command : int {
    CS_Idle = 0,
    CS_ServoOn = 1,
    CS_ServoOff = 3,
    CS_Homing = 5,
    CS_Run = 7,
    CS_Stop = 9,
    CS_AbsolutePosMovement = 11,
    CS_RelativePosMovement = 13,
    CS_GetPositionPointParm = 15,
    CS_SetPositionPointParm = 17,
    CS_ReadPosFeedback = 19,
    CS_CheckMotorStatus = 21,
    CS_ReadAllParms = 23,
    CS_TransAllParms = 25,
};
constexpr bool IsRequest(int code) {
    return code >= CS_ServoOn && code <= CS_TransAllParms && code % 2 == 1;
}
constexpr bool IsAnswer(int code) {
    return code >= CS_ServoOn + 1 && code <= CS_TransAllParms + 1 && code % 2 == 0;
}

enum Result : int {
    kResultNone = 0,
    kResultPending = 1,
    kResultSuccess = 2,
    kResultFailure = 3,
    kResultVersion = 4,
};

// The motion values the window sets and the cycle reports.
struct MotionValues {
    // Set by the window.
    int endPoint = 1;
    int delayMs = 500;
    std::int32_t target = 0;                        // pulses: absolute target or relative distance
    int moveSpeed = 0;                              // r/min
    int point = 1;                                  // of get/set position
    std::int32_t pointPosition = 0, pointSpeed = 0; // the single-point fields
    int jogStep = 0;                                // pulses
    int jogSpeed = 0;                               // r/min
    bool stepForward = false, stepBackward = false, runForward = false, runBackward = false;
    bool jogPending = false;
    int speedUpdate = 0; // 0 none, 1 a new jog speed to send, 2 sent
    // Reported by the cycle.
    GearRatio gear;
    std::int32_t feedback = 0;
    int controlMode = 0, motionState = 0, alarmCode = 0;
    bool servoOn = false;
    // The last run request, sent again by stop.
    int lastEndPoint = 1, lastDelayMs = 500;
};

class RouteplanJobs {
public:
    RouteplanJobs(SharedContext& ctx) : ctx_(ctx) {}

    // Performs `code` with `motion` (a copy the cycle took) and returns the result.
    int Run(int code, MotionLink& link, MotionValues& motion);

    RouteplanValues values;
    std::atomic<int> progress{0};
    // On T5/W5 the table's registers hold other parameters: nothing but
    // reads reaches those drives.
    static bool WritesAllowed(int model) { return model == kModelT8; }

private:
    int ReadAll(MotionLink& link, MotionValues& motion);
    int TransferAll(MotionLink& link);
    int Identify(MotionLink& link);
    bool ServoOn(MotionLink& link, MotionValues& motion);
    bool ServoOff(MotionLink& link);
    bool CheckStatus(MotionLink& link, MotionValues& motion);
    bool Feedback(MotionLink& link, MotionValues& motion);
    bool Move(MotionLink& link, MotionValues& motion, std::uint16_t targetRegister);
    int Model() const { return ctx_.Parms().iModel.load(); }

    SharedContext& ctx_;
};

// The fed-back count in pulses: × register 75 ÷ register 70 when both are set.
std::int32_t GearedFeedback(std::int32_t counts, const GearRatio& gear);

} // namespace routeplan
