#include "MotionCommands.h"

#include "DriveState.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace drivesim {
namespace {

// Registers of the motions (T8).
constexpr std::uint16_t kEndPoint = 36, kDwell = 46, kMotion = 47, kGearDen = 70, kGearNum = 75;
constexpr std::uint16_t kJogSpeed = 87, kPointAcc = 88, kPointDec = 89;
constexpr std::uint16_t kTarget = 180, kDistance = 182, kMoveSpeed = 1214;
constexpr std::uint16_t kHomingOffset = 1201, kHomingSpeed = 1203, kCreepSpeed = 1204;
constexpr std::uint16_t kHomingAcc = 1205, kHomingDec = 1206, kJogAcc = 1207, kJogDec = 1208;
constexpr std::uint16_t kLimitPos = 1217, kLimitNeg = 1219, kHomingOptions = 1222;
constexpr std::uint16_t kJogCommand = 2001, kHomingCommand = 2002;
constexpr std::uint16_t kHomingStart = 0x0801;
constexpr double kSettleSeconds = 0.3; // the loop keeps running while the motor settles
constexpr double kFar = 1e12;          // counts: a continuous jog's goal without soft limits

int Word(const DriveState& state, std::uint16_t address) {
    std::vector<std::uint16_t> words;
    if (state.ReadRegisters(address, 1, words) != kNoException)
        return 0;
    return words[0];
}

std::int32_t Long(const DriveState& state, std::uint16_t low) {
    std::vector<std::uint16_t> words;
    if (state.ReadRegisters(low, 2, words) != kNoException)
        return 0;
    return static_cast<std::int32_t>(std::uint32_t(words[1]) << 16 | words[0]);
}

std::int32_t ToolLong(const DriveState& state, std::uint16_t low) {
    return static_cast<std::int32_t>(std::uint32_t(state.ToolWord(low + 1)) << 16 |
                                     state.ToolWord(low));
}

} // namespace

MotionCommands::MotionCommands(const MotorSpec& motor) : motor_(motor) {}

double MotionCommands::Speed(int rpm) const {
    return std::abs(rpm) / motor_.displayPerUnitPS * motor_.countsPerUnit;
}

// Ramp times are milliseconds per 1000 r/min (mm/s); 0 acts as 1.
double MotionCommands::Ramp(int msPer1000) const {
    return Speed(1000) / (std::max(msPer1000, 1) * 1e-3);
}

// Pulses of the position table become encoder counts through the gear
// ratio: counts = pulses × register 70 / register 75.
double MotionCommands::Counts(const DriveState& state, std::int32_t pulses) const {
    const int den = Word(state, kGearDen), num = Word(state, kGearNum);
    return num != 0 && den != 0 ? static_cast<double>(pulses) * den / num : pulses;
}

void MotionCommands::ReadLimits(const DriveState& state) {
    const std::int32_t high = Long(state, kLimitPos), low = Long(state, kLimitNeg);
    limited_ = high != 0 || low != 0; // both 0: no soft limits
    limitHigh_ = static_cast<double>(origin_) + Counts(state, high);
    limitLow_ = static_cast<double>(origin_) + Counts(state, low);
}

double MotionCommands::Limited(double target) const {
    return limited_ ? std::clamp(target, std::min(limitLow_, limitHigh_),
                                 std::max(limitLow_, limitHigh_))
                    : target;
}

void MotionCommands::OnWrite(std::uint16_t address, const DriveState& state,
                             std::int64_t commandCounts) {
    if (state.Model() != DriveModel::T8)
        return;
    if (address == kMotion && Word(state, kMotion) == 0) {
        Stop(Ramp(Word(state, kPointDec)));
        return;
    }
    if (!state.ServoOn())
        return;
    if (legs_.empty())
        position_ = static_cast<double>(commandCounts);
    ReadLimits(state);
    if (address == kMotion && Word(state, kMotion) == 2)
        StartRun(state);
    else if (address == kTarget + 1)
        StartMove(state, origin_ + static_cast<std::int64_t>(
                                       std::llround(Counts(state, ToolLong(state, kTarget)))));
    else if (address == kDistance + 1)
        StartMove(state, static_cast<std::int64_t>(
                             std::llround(position_ + Counts(state, ToolLong(state, kDistance)))));
    else if (address == kJogCommand)
        StartJog(state, state.ToolWord(kJogCommand));
    else if (address == kHomingCommand && state.ToolWord(kHomingCommand) == kHomingStart)
        StartHoming(state);
}

void MotionCommands::Start(Kind kind, std::deque<Leg> legs, std::int64_t commandCounts) {
    if (legs_.empty()) {
        position_ = static_cast<double>(commandCounts);
        speed_ = 0;
    }
    kind_ = kind;
    legs_ = std::move(legs);
    dwelt_ = 0;
}

void MotionCommands::ServoOff() {
    legs_.clear();
    kind_ = Kind::None;
    speed_ = settle_ = 0;
}

// Brakes to a halt with `decel` wherever the motion stands.
void MotionCommands::Stop(double decel) {
    if (legs_.empty())
        return;
    const double direction = legs_.front().target >= position_ ? 1 : -1;
    const Leg& leg = legs_.front();
    const double stopAt = position_ + direction * speed_ * speed_ / (2 * decel);
    const double target =
        direction > 0 ? std::min(stopAt, leg.target) : std::max(stopAt, leg.target);
    legs_ = {Leg{target, leg.speed, leg.accel, decel}};
    kind_ = Kind::Move;
    pointAt_ = 0;
}

void MotionCommands::StartHoming(const DriveState& state) {
    // The origin switch sits half a revolution (mm) below where the motor was
    // switched on; homing runs to it at the homing speed, creeps off it and
    // moves by the offset, and that place becomes position 0.
    const double accel = Ramp(Word(state, kHomingAcc)), decel = Ramp(Word(state, kHomingDec));
    const double creep = Speed(Word(state, kCreepSpeed));
    const double edge = -motor_.countsPerUnit / 2 + motor_.countsPerUnit / 16;
    const std::int32_t offset = Long(state, kHomingOffset);
    const double offsetCounts =
        (Word(state, kHomingOptions) & 1) != 0 ? offset : Counts(state, offset);
    Start(Kind::Homing,
          {Leg{-motor_.countsPerUnit / 2, Speed(Word(state, kHomingSpeed)), accel, decel},
           Leg{edge, creep, accel, decel}, Leg{edge + offsetCounts, creep, accel, decel, 0, true}},
          static_cast<std::int64_t>(position_));
    pointAt_ = 0;
}

void MotionCommands::StartRun(const DriveState& state) {
    const int end = std::clamp(Word(state, kEndPoint) + 1, 1, 16);
    const double dwell = Word(state, kDwell) * 1e-3;
    const double accel = Ramp(Word(state, kPointAcc)), decel = Ramp(Word(state, kPointDec));
    auto speedRegister = [](int p) {
        return static_cast<std::uint16_t>(p <= 4 ? 82 + p : p <= 8 ? 111 + p : 711 + p);
    };
    std::deque<Leg> legs;
    const int from = pointAt_ == 0 ? 1 : pointAt_;
    const int step = end >= from ? 1 : -1;
    int p = pointAt_ == 0 || pointAt_ == end ? from : from + step;
    for (;; p += step) {
        const double target =
            Limited(static_cast<double>(origin_) +
                    Counts(state, Long(state, static_cast<std::uint16_t>(198 + 2 * p))));
        legs.push_back(
            Leg{target, Speed(Word(state, speedRegister(p))), accel, decel, p == end ? 0 : dwell});
        legs.back().point = p;
        if (p == end)
            break;
    }
    Start(Kind::Run, std::move(legs), static_cast<std::int64_t>(position_));
}

void MotionCommands::StartMove(const DriveState& state, std::int64_t target) {
    Start(Kind::Move,
          {Leg{Limited(static_cast<double>(target)), Speed(Word(state, kMoveSpeed)),
               Ramp(Word(state, kPointAcc)), Ramp(Word(state, kPointDec))}},
          static_cast<std::int64_t>(position_));
    pointAt_ = 0;
}

// 0x1000 + time-out forward, 0x2000 + time-out backward; a new command
// before the time-out runs out keeps the jog going.
void MotionCommands::StartJog(const DriveState& state, std::uint16_t command) {
    const int direction = (command & 0xF000) == 0x1000 ? 1 : (command & 0xF000) == 0x2000 ? -1 : 0;
    if (direction == 0)
        return;
    jogLeft_ = (command & 0x0FFF) * 1e-3;
    const double goal = Limited(position_ + direction * kFar);
    if (kind_ == Kind::Jog && !legs_.empty() && legs_.front().target == goal)
        return;
    Start(Kind::Jog,
          {Leg{goal, Speed(Word(state, kJogSpeed)), Ramp(Word(state, kJogAcc)),
               Ramp(Word(state, kJogDec))}},
          static_cast<std::int64_t>(position_));
    pointAt_ = 0;
}

// A motion counts until the motor has settled after its command arrived.
std::uint16_t MotionCommands::MotionState() const {
    if (!Active())
        return 0;
    return kind_ == Kind::Run ? 2 : 1;
}

double MotionCommands::Step(double seconds) {
    if (legs_.empty()) {
        settle_ = std::max(0.0, settle_ - seconds);
        if (settle_ == 0)
            kind_ = Kind::None;
        return 0;
    }
    if (kind_ == Kind::Jog && jogLeft_ > 0) {
        jogLeft_ -= seconds;
        if (jogLeft_ <= 0)
            Stop(legs_.front().decel);
    }
    const Leg& leg = legs_.front();
    const double before = position_;
    const double distance = std::abs(leg.target - position_);
    if (distance > 0) {
        const double direction = leg.target > position_ ? 1 : -1;
        if (speed_ * speed_ / (2 * leg.decel) >= distance || speed_ > leg.speed)
            speed_ = std::max(0.0, speed_ - leg.decel * seconds);
        else
            speed_ = std::min(leg.speed, speed_ + leg.accel * seconds);
        const double travel = std::max(speed_, leg.decel * seconds) * seconds;
        if (travel >= distance) {
            position_ = leg.target;
            speed_ = 0;
        } else {
            position_ += direction * travel;
        }
        return position_ - before;
    }
    dwelt_ += seconds;
    if (dwelt_ < leg.dwell)
        return 0;
    dwelt_ = 0;
    if (leg.origin)
        origin_ = std::llround(leg.target);
    if (leg.point != 0)
        pointAt_ = leg.point;
    legs_.pop_front();
    if (legs_.empty())
        settle_ = kSettleSeconds;
    return 0;
}

} // namespace drivesim
