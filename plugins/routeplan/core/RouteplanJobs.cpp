#include "RouteplanJobs.h"

#include "DriveIdentification.h"
#include "IniDocument.h"
#include "RequestBoard.h"

namespace routeplan {
namespace {

bool ReadCoil(MotionLink& link, std::uint16_t coil, bool& on) {
    unsigned char byte = 0;
    if (!link.ReadCoils(coil, 1, &byte))
        return false;
    on = (byte & 1) != 0;
    return true;
}
bool WriteCoil(MotionLink& link, std::uint16_t coil, bool on) {
    unsigned char byte = on ? 1 : 0;
    return link.WriteCoils(coil, 1, &byte) != 0;
}
bool TakeControl(MotionLink& link) {
    return WriteWord(link, rtreg::kHostKey, rtreg::kKey) &&
           WriteWord(link, rtreg::kHostMode, rtreg::kHostModeOn);
}

} // namespace

std::int32_t GearedFeedback(std::int32_t counts, const GearRatio& gear) {
    if (gear.numerator == 0 || gear.denominator == 0)
        return counts;
    return static_cast<std::int32_t>(static_cast<std::int64_t>(counts) * gear.numerator /
                                     gear.denominator);
}

int RouteplanJobs::Identify(MotionLink& link) {
    char data[256] = {};
    unsigned char capacity = kIdentificationBytes;
    if (!link.ReportSlaveID(data, &capacity))
        return kResultFailure;
    const IdentificationTexts texts =
        ParseIdentification(reinterpret_cast<const unsigned char*>(data), kIdentificationBytes);
    StoreIdentification(texts, ctx_.Identity());
    // The list belongs to the table of the off-line identity, when there is one.
    const std::string list = ctx_.OfflineIdentity().Get(3);
    if (!list.empty() && !toolbelt::EqualsNoCase(list, ctx_.Identity().Get(3)))
        return kResultVersion;
    return kResultSuccess;
}

int RouteplanJobs::ReadAll(MotionLink& link, MotionValues& motion) {
    knobset::TransferTiming timing(link.Master(), ctx_);
    const int identity = Identify(link);
    if (identity != kResultSuccess)
        return identity;
    return ReadTable(link, values, motion.gear, progress) ? kResultSuccess : kResultFailure;
}

int RouteplanJobs::TransferAll(MotionLink& link) {
    knobset::TransferTiming timing(link.Master(), ctx_);
    const int identity = Identify(link);
    if (identity != kResultSuccess)
        return identity;
    return TransferTable(link, values, progress) ? kResultSuccess : kResultFailure;
}

bool RouteplanJobs::ServoOn(MotionLink& link, MotionValues& m) {
    if (!ReadGear(link, m.gear) || !WriteWord(link, rtreg::kMotion, 0) ||
        !ReadWord(link, rtreg::kAlarm, m.alarmCode))
        return false;
    if (m.alarmCode != 0)
        return false;
    if (!TakeControl(link) || !WriteCoil(link, rtreg::kCoilServo, true))
        return false;
    m.servoOn = true;
    return ReadWord(link, rtreg::kControlMode, m.controlMode);
}

bool RouteplanJobs::ServoOff(MotionLink& link) {
    return WriteWord(link, rtreg::kMotion, 0) && WriteCoil(link, rtreg::kCoilServo, false) &&
           WriteWord(link, rtreg::kHostKey, 0) && WriteWord(link, rtreg::kHostMode, 0);
}

bool RouteplanJobs::CheckStatus(MotionLink& link, MotionValues& m) {
    if (!ReadCoil(link, rtreg::kCoilServo, m.servoOn))
        return false;
    if (m.servoOn && WritesAllowed(Model())) {
        std::int32_t key = 0;
        if (!ReadWord(link, rtreg::kHostKey, key))
            return false;
        if ((key & 0xFFFF) != rtreg::kKey && !TakeControl(link))
            return false;
    }
    return ReadWord(link, rtreg::kControlMode, m.controlMode) &&
           ReadWord(link, rtreg::kMotion, m.motionState);
}

bool RouteplanJobs::Move(MotionLink& link, MotionValues& m, std::uint16_t targetRegister) {
    return ReadGear(link, m.gear) && WriteWord(link, rtreg::kMoveSpeed, m.moveSpeed) &&
           WriteLong(link, targetRegister, m.target);
}

bool RouteplanJobs::Feedback(MotionLink& link, MotionValues& m) {
    if (m.jogPending && WritesAllowed(Model())) {
        m.jogPending = false;
        if (m.speedUpdate == 1) {
            m.speedUpdate = 2;
            if (!WriteWord(link, rtreg::kJogSpeed, m.jogSpeed) ||
                !WriteWord(link, rtreg::kMoveSpeed, m.jogSpeed))
                return false;
        }
        const int timeout = ctx_.Int(kJogTimeout).load() & 0x0FFF;
        if (m.stepForward || m.stepBackward) {
            const std::int32_t step = m.stepForward ? m.jogStep : -m.jogStep;
            m.stepForward = m.stepBackward = false;
            if (!WriteLong(link, rtreg::kDistance, step))
                return false;
        } else if (m.runForward || m.runBackward) {
            const int command = (m.runForward ? 0x1000 : 0x2000) + timeout;
            m.runForward = m.runBackward = false;
            if (!WriteWord(link, rtreg::kJogCommand, command))
                return false;
        }
    }
    std::int32_t counts = 0;
    if (!ReadLong(link, rtreg::kTarget, counts))
        return false;
    m.feedback = GearedFeedback(counts, m.gear);
    return true;
}

int RouteplanJobs::Run(int code, MotionLink& link, MotionValues& m) {
    const bool writes = WritesAllowed(Model());
    bool ok = false;
    switch (code) {
    case CS_ReadAllParms:
        return ReadAll(link, m);
    case CS_TransAllParms:
        return writes ? TransferAll(link) : kResultFailure;
    case CS_GetPositionPointParm:
        ok = ReadPoint(link, m.point, m.pointPosition, m.pointSpeed);
        break;
    case CS_SetPositionPointParm:
        ok = writes && WritePoint(link, m.point, m.pointPosition, m.pointSpeed);
        break;
    case CS_ReadPosFeedback:
        ok = Feedback(link, m);
        break;
    case CS_CheckMotorStatus:
        ok = CheckStatus(link, m);
        break;
    case CS_ServoOn:
        ok = writes && ServoOn(link, m);
        break;
    case CS_ServoOff:
        ok = writes && ServoOff(link);
        m.servoOn = m.servoOn && !ok;
        break;
    case CS_Homing:
        ok = writes && WriteWord(link, rtreg::kHomingCommand, rtreg::kHomingStart);
        break;
    case CS_Run:
        m.lastEndPoint = m.endPoint;
        m.lastDelayMs = m.delayMs;
        ok = writes && ReadGear(link, m.gear) &&
             WriteWord(link, rtreg::kEndPoint, m.endPoint - 1) &&
             WriteWord(link, rtreg::kDelay, m.delayMs) && WriteWord(link, rtreg::kMotion, 2);
        break;
    case CS_Stop:
        ok = writes && WriteWord(link, rtreg::kMotion, 0) &&
             WriteWord(link, rtreg::kEndPoint, m.lastEndPoint - 1) &&
             WriteWord(link, rtreg::kDelay, m.lastDelayMs);
        break;
    case CS_AbsolutePosMovement:
        ok = writes && Move(link, m, rtreg::kTarget);
        break;
    case CS_RelativePosMovement:
        ok = writes && Move(link, m, rtreg::kDistance);
        break;
    default:
        return kResultFailure;
    }
    return ok ? kResultSuccess : kResultFailure;
}

} // namespace routeplan
