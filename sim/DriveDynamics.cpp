#include "DriveDynamics.h"

namespace drivesim {
namespace {

constexpr auto kStep = std::chrono::microseconds(100);
// A thread held up longer than this (a suspended process) skips the gap
// instead of computing it.
constexpr auto kMaxCatchUp = std::chrono::milliseconds(200);
// Stream samples the drive holds for a line that is busy (with a reply).
constexpr std::size_t kStreamBacklog = 32;

} // namespace

DriveDynamics::DriveDynamics(DriveModel model, MotionMode motion, double trueInertiaRatio)
    : motor_(MotorFor(model)), motion_(motion), loop_(motor_, trueInertiaRatio), demo_(motor_),
      motions_(motor_), estimate_(motor_) {}

void DriveDynamics::Configure(const ServoSettings& settings, bool servoOn) {
    settings_ = settings;
    if (servoOn && !servoOn_)
        demo_.Restart();
    if (!servoOn) {
        motions_.ServoOff();
        estimate_.Stop();
    }
    servoOn_ = servoOn;
}

bool DriveDynamics::StartEstimate(int pattern, bool servoOn, Clock::time_point now) {
    AdvanceTo(now);
    if (!servoOn) {
        estimate_.Stop();
        return false;
    }
    return estimate_.Start(pattern);
}

void DriveDynamics::SamplingCommand(std::uint16_t command, const ScopeSetup& setup,
                                    Clock::time_point now) {
    AdvanceTo(now);
    scope_.Command(command, setup);
    unsent_.clear();
}

void DriveDynamics::AdvanceTo(Clock::time_point now) {
    if (!scope_.Sampling() && !estimate_.Running() && !motions_.Active() && now >= awakeUntil_ &&
        (!running_ || steppedTo_ >= awakeUntil_)) {
        running_ = false;
        return;
    }
    if (!running_) { // the machine starts again where it stopped
        running_ = true;
        steppedTo_ = now;
        stepsToSample_ = 0;
    }
    if (now - steppedTo_ > kMaxCatchUp)
        steppedTo_ = now - kMaxCatchUp;
    while (steppedTo_ + kStep <= now && Active()) {
        double move = 0;
        if (estimate_.Running())
            move = estimate_.CommandStep(ServoLoop::kStepSeconds) * motor_.countsPerUnit;
        else if (motion_ == MotionMode::Demo && servoOn_)
            move = demo_.Step(settings_, ServoLoop::kStepSeconds) * motor_.countsPerUnit;
        else if (servoOn_)
            move = motions_.Step(ServoLoop::kStepSeconds);
        loop_.Step(settings_, servoOn_, move);
        estimate_.Observe(loop_.DeliveredTorque(), loop_.MeasuredSpeed());
        steppedTo_ += kStep;
        const SignalValues values = loop_.Signals();
        scope_.OnStep(values);
        if (stepsToSample_-- == 0) {
            stepsToSample_ = kStepsPerSample - 1;
            if (scope_.Streaming()) {
                unsent_.emplace_back(values, steppedTo_);
                if (unsent_.size() > kStreamBacklog)
                    unsent_.pop_front();
            }
        }
    }
}

std::optional<Clock::time_point> DriveDynamics::NextSampleDue() const {
    if (!running_ || !Active())
        return std::nullopt;
    if (!scope_.Sampling()) // a motion alone: catch up every 10 ms
        return steppedTo_ + std::chrono::milliseconds(10);
    return steppedTo_ + kStep * (stepsToSample_ + 1);
}

std::vector<DriveDynamics::OutgoingFrame> DriveDynamics::TakeFrames(bool everySample, bool lineFree,
                                                                    Clock::time_point now) {
    std::vector<OutgoingFrame> frames;
    for (const SignalValues& values : scope_.TakeBlockToSend())
        frames.push_back({Encode(values), now});
    if (!frames.empty() || !scope_.Streaming())
        return frames;
    if (everySample) {
        for (const auto& [values, at] : unsent_)
            frames.push_back({Encode(values), at});
        unsent_.clear();
    } else if (lineFree && !unsent_.empty()) {
        frames.push_back({Encode(unsent_.back().first), now});
        unsent_.clear();
    }
    return frames;
}

SampleFrame DriveDynamics::Encode(SignalValues values) {
    values[static_cast<std::size_t>(Signal::FrameNumber)] =
        static_cast<std::int32_t>(frameNumber_++);
    return EncodeSampleFrame(scope_.SlotWords(values));
}

} // namespace drivesim
