// The motions a T8 drive carries out on its own: homing, runs through the
// internal position points, absolute and relative moves, and step and
// continuous jogs. They feed the servo loop's position command like the demo
// move does, so every motion takes the time its speeds and ramps give.
#pragma once

#include "ServoSettings.h"

#include <cstdint>
#include <deque>

namespace drivesim {

class DriveState;

class MotionCommands {
public:
    explicit MotionCommands(const MotorSpec& motor);

    // A master wrote `address` (the state is locked and holds the new value);
    // `commandCounts` is where the loop's position command stands. Commands
    // other than stop are taken only while the servo is on.
    void OnWrite(std::uint16_t address, const DriveState& state, std::int64_t commandCounts);
    // Switching the servo off ends every motion at once.
    void ServoOff();

    // How far the position command moves in one step of `seconds`, in counts.
    double Step(double seconds);
    // True while a motion runs or settles: the loop must keep stepping.
    bool Active() const { return !legs_.empty() || settle_ > 0; }

    // Register 47: 0 at rest, 1 homing or a move or jog, 2 a point run; a
    // motion lasts until the motor has settled after its command arrived.
    std::uint16_t MotionState() const;
    // Registers 180/181: encoder counts from the origin the last homing set.
    std::int32_t Feedback(std::int64_t encoderCounts) const {
        return static_cast<std::int32_t>(encoderCounts - origin_);
    }

private:
    enum class Kind { None, Homing, Move, Run, Jog };
    struct Leg {
        double target;       // counts, in the loop's coordinates
        double speed;        // counts/s
        double accel;        // counts/s²
        double decel;        // counts/s²
        double dwell = 0;    // seconds to wait after arriving
        bool origin = false; // arriving here sets the origin (homing)
        int point = 0;       // the table point a run arrives at
    };

    void Start(Kind kind, std::deque<Leg> legs, std::int64_t commandCounts);
    void Stop(double decel);
    void StartHoming(const DriveState& state);
    void StartRun(const DriveState& state);
    void StartMove(const DriveState& state, std::int64_t target);
    void StartJog(const DriveState& state, std::uint16_t command);
    double Limited(double target) const;
    void ReadLimits(const DriveState& state);
    double Counts(const DriveState& state, std::int32_t pulses) const;
    double Speed(int rpm) const;
    double Ramp(int msPer1000) const;

    MotorSpec motor_;
    Kind kind_ = Kind::None;
    std::deque<Leg> legs_;
    double position_ = 0; // the command, counts
    double speed_ = 0;    // counts/s along the leg's direction, never negative
    double dwelt_ = 0;
    double jogLeft_ = 0; // seconds until a continuous jog stops
    double settle_ = 0;  // seconds the loop keeps running after a motion
    int pointAt_ = 0;    // the point the motor stands at (0: none)
    std::int64_t origin_ = 0;
    bool limited_ = false;
    double limitLow_ = 0, limitHigh_ = 0;
};

} // namespace drivesim
