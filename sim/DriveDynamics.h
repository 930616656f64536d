// The drive's moving parts: the servo loop, its command sources (the demo
// move, the T8's own motions) and the scope's sampling, stepped every 0.1 ms
// against the wall clock. The loop runs only while the scope samples, a
// motion or an inertia estimation runs, or a monitor reads; in between the machine holds its state,
// so an idle simulator costs no processor time.
#pragma once

#include "DriveScope.h"
#include "FrameAssembler.h" // Clock
#include "InertiaEstimate.h"
#include "MotionCommands.h"
#include "MotionDemo.h"
#include "ServoLoop.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace drivesim {

using SampleFrame = std::array<std::uint8_t, 10>;

class DriveDynamics {
public:
    DriveDynamics(DriveModel model, MotionMode motion, double trueInertiaRatio);

    // The drive's parameters and servo switch as they stand now.
    void Configure(const ServoSettings& settings, bool servoOn);
    // A write of the sampling command, with the set-up registers as written.
    void SamplingCommand(std::uint16_t command, const ScopeSetup& setup, Clock::time_point now);
    void ClearEncoder() { loop_.ClearEncoder(); }
    void ClearPositionCommand() { loop_.ClearPositionCommand(); }
    // The inertia estimation's pattern 1..8 (false: another value, or the
    // servo is off; a running pattern stops) and how it ended, once.
    bool StartEstimate(int pattern, bool servoOn, Clock::time_point now);
    std::optional<EstimateEnd> TakeEstimateEnd() { return estimate_.TakeEnd(); }
    // A master's register write for the drive's own motions (state locked).
    void MotionWrite(std::uint16_t address, const DriveState& state) {
        motions_.OnWrite(address, state, loop_.CommandCounts());
    }
    std::uint16_t MotionState() const { return motions_.MotionState(); }
    std::int32_t PositionFeedback() const { return motions_.Feedback(loop_.EncoderCounts()); }

    // The loop also runs until `until` (a monitor reads the live values).
    void KeepRunning(Clock::time_point until) { awakeUntil_ = std::max(awakeUntil_, until); }
    SignalValues Signals() const { return loop_.Signals(); }

    // Steps the loop up to `now` while the scope samples or a monitor reads.
    void AdvanceTo(Clock::time_point now);
    // When the next sample is due (nullopt: the loop rests).
    std::optional<Clock::time_point> NextSampleDue() const;
    std::uint16_t Progress() const { return scope_.Progress(); }

    struct OutgoingFrame {
        SampleFrame bytes;
        Clock::time_point sampledAt;
    };
    // Frames to put on the line, each numbered: the whole block after a
    // command 4; else, while streaming, every 1 ms sample not yet sent when
    // the line carries them all (`everySample`), or when it is free the newest.
    std::vector<OutgoingFrame> TakeFrames(bool everySample, bool lineFree, Clock::time_point now);

private:
    static constexpr int kStepsPerSample = 10; // 1 ms of 0.1 ms steps

    SampleFrame Encode(SignalValues values);
    // The loop steps while the scope samples, a motion or an estimation runs,
    // or a monitor keeps it awake.
    bool Active() const {
        return scope_.Sampling() || motions_.Active() || estimate_.Running() ||
               steppedTo_ < awakeUntil_;
    }

    MotorSpec motor_;
    MotionMode motion_;
    ServoLoop loop_;
    MotionDemo demo_;
    MotionCommands motions_;
    DriveScope scope_;
    InertiaEstimate estimate_;
    ServoSettings settings_;
    bool servoOn_ = false;

    Clock::time_point awakeUntil_{};
    bool running_ = false;
    Clock::time_point steppedTo_{}; // wall time of the last step
    int stepsToSample_ = 0;
    std::deque<std::pair<SignalValues, Clock::time_point>> unsent_; // stream samples
    std::uint32_t frameNumber_ = 0;
};

} // namespace drivesim
