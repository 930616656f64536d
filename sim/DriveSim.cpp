#include "DriveSim.h"

#include "InertiaTuning.h"
#include "LineTiming.h"
#include "ModbusSlave.h"
#include "ServoSettings.h"

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace drivesim {
namespace {

constexpr auto kIdlePoll = std::chrono::milliseconds(100);
constexpr std::size_t kSampleFrameBytes = 10;
constexpr auto kSamplePeriod = std::chrono::milliseconds(1);

ParameterTable LoadTable(const SimConfig& config) {
    return ParameterTable::Load(config.model, config.dataDir);
}

// The scope's set-up registers as last written.
ScopeSetup ReadScopeSetup(const DriveState& state) {
    ScopeSetup setup;
    setup.pairing = state.ToolWord(scopereg::kPairing);
    for (std::size_t slot = 0; slot < setup.codes.size(); ++slot)
        setup.codes[slot] = state.ToolWord(static_cast<std::uint16_t>(scopereg::kFirstCode + slot));
    setup.trigger = state.ToolWord(scopereg::kTrigger);
    setup.highSample = state.ToolWord(scopereg::kHighSample);
    auto level = [&state](std::uint16_t low) {
        return static_cast<std::int32_t>(std::uint32_t(state.ToolWord(low + 1)) << 16 |
                                         state.ToolWord(low));
    };
    setup.level1 = level(scopereg::kLevel1);
    setup.level2 = level(scopereg::kLevel2);
    return setup;
}

} // namespace

DriveSim::DriveSim(SimConfig config)
    : config_(std::move(config)), format_(wirelay::GetSerialFormat(config_.format)),
      state_(LoadTable(config_), config_.layout, config_.statePath), faults_(config_.faults),
      dynamics_(config_.model, config_.motion, config_.loadInertiaRatio), transmitter_(format_) {
    if (config_.motion == MotionMode::Demo)
        state_.WriteCoils(reg::kCoilServoOn, {true});
    if (config_.gearNum != 0 && config_.model == DriveModel::T8) {
        state_.WriteRegisters(70, {static_cast<std::uint16_t>(config_.gearDen)});
        state_.WriteRegisters(75, {static_cast<std::uint16_t>(config_.gearNum)});
        state_.TakeToolWrites();
    }
    state_.SetAlarm(config_.alarm);
    state_.Monitor().SetInputPins(config_.inputPins);
    dynamics_.Configure(ReadServoSettings(state_), state_.ServoOn());
}

DriveSim::~DriveSim() {
    Stop();
}

void DriveSim::Start() {
    if (thread_.joinable())
        return;
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    {
        std::lock_guard lock(mutex_);
        port_.Open(config_.linkPath);
        slavePath_ = port_.SlavePath();
    }
    stopping_ = false;
    thread_ = std::thread(&DriveSim::Run, this);
}

void DriveSim::Stop() {
    if (thread_.joinable()) {
        stopping_ = true;
        Wake();
        thread_.join();
    }
    std::lock_guard lock(mutex_);
    port_.Close();
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
    wakeFd_ = -1;
}

std::string DriveSim::SlavePath() const {
    std::lock_guard lock(mutex_);
    return slavePath_;
}

void DriveSim::SetFaults(const FaultSettings& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

FaultSettings DriveSim::Faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

void DriveSim::Unplug() {
    RequestPlug(PlugRequest::Unplug);
}
void DriveSim::Replug() {
    RequestPlug(PlugRequest::Replug);
}

void DriveSim::RequestPlug(PlugRequest request) {
    if (!thread_.joinable()) {
        ApplyPlug(request);
        return;
    }
    std::unique_lock lock(mutex_);
    plugRequest_ = request;
    lock.unlock();
    Wake();
    lock.lock();
    plugDone_.wait(lock, [this] { return plugRequest_ == PlugRequest::None; });
}

void DriveSim::ApplyPlug(PlugRequest request) {
    std::lock_guard lock(mutex_);
    if (request == PlugRequest::Unplug) {
        port_.Close();
    } else if (request == PlugRequest::Replug) {
        port_.Open(config_.linkPath);
        slavePath_ = port_.SlavePath();
        replugAt_.reset();
    }
    assembler_.Clear();
    transmitter_.Clear();
}

void DriveSim::Wake() {
    const std::uint64_t one = 1;
    if (wakeFd_ >= 0) [[maybe_unused]]
        auto ignored = ::write(wakeFd_, &one, sizeof one);
}

void DriveSim::Run() {
    const auto silence = FrameSilence(format_);
    while (!stopping_) {
        auto now = Clock::now();
        Transmit(now);
        const auto wait = std::max(WakeTime(now, silence) - now, Clock::duration(0));
        const timespec timeout{
            static_cast<time_t>(std::chrono::duration_cast<std::chrono::seconds>(wait).count()),
            static_cast<long>((wait % std::chrono::seconds(1)) / std::chrono::nanoseconds(1))};

        pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {port_.MasterFd(), POLLIN, 0}};
        const nfds_t count = port_.IsOpen() ? 2 : 1;
        ::ppoll(fds, count, &timeout, nullptr);
        if (fds[0].revents & POLLIN) {
            std::uint64_t value;
            [[maybe_unused]] auto ignored = ::read(wakeFd_, &value, sizeof value);
            std::unique_lock lock(mutex_);
            const PlugRequest request = plugRequest_;
            lock.unlock();
            if (request != PlugRequest::None) {
                try {
                    ApplyPlug(request);
                } catch (const std::system_error&) {
                    // No pty to be had: the drive stays unplugged.
                }
                lock.lock();
                plugRequest_ = PlugRequest::None;
                plugDone_.notify_all();
            }
        }
        if (count == 2 && port_.IsOpen() && (fds[1].revents & POLLIN)) {
            std::uint8_t buffer[512];
            const ssize_t n = ::read(port_.MasterFd(), buffer, sizeof buffer);
            if (n > 0)
                assembler_.Add(buffer, static_cast<std::size_t>(n), Clock::now());
        }
        now = Clock::now();
        while (auto frame = assembler_.Take(now, silence)) {
            Serve(*frame);
            now = Clock::now();
        }
        if (replugAt_ && Clock::now() >= *replugAt_) {
            try {
                ApplyPlug(PlugRequest::Replug);
            } catch (const std::system_error&) {
                replugAt_ = Clock::now() + std::chrono::seconds(1);
            }
        }
    }
}

Clock::time_point DriveSim::WakeTime(Clock::time_point now, Clock::duration silence) const {
    auto wakeAt = now + kIdlePoll;
    for (auto due : {assembler_.SilenceDeadline(silence), replugAt_, transmitter_.NextDue(),
                     dynamics_.NextSampleDue()})
        if (due)
            wakeAt = std::min(wakeAt, *due);
    return wakeAt;
}

// Steps the machine, puts due sample frames and replies on the line, and
// pulls the cable after the reply a fault asked for.
void DriveSim::Transmit(Clock::time_point now) {
    dynamics_.AdvanceTo(now);
    {
        std::lock_guard lock(stateMutex_);
        CollectTuningEnd(state_, dynamics_);
    }
    if (const auto progress = dynamics_.Progress(); progress != progressShown_) {
        std::lock_guard lock(stateMutex_);
        state_.SetScopeProgress(progress);
        progressShown_ = progress;
    }
    const std::pair motion{dynamics_.PositionFeedback(), dynamics_.MotionState()};
    if (motion != motionShown_) {
        std::lock_guard lock(stateMutex_);
        state_.SetMotion(motion.first, motion.second);
        motionShown_ = motion;
    }
    if (!port_.IsOpen()) {
        transmitter_.Clear();
        return;
    }
    // A line that carries a frame a millisecond takes every sample, each on
    // the wire from its instant or when the line frees; a slower one takes
    // the newest sample whenever it is free. A silent drive sends none.
    const bool everySample = WireTime(kSampleFrameBytes, format_) <= kSamplePeriod;
    const auto frames = dynamics_.TakeFrames(everySample, transmitter_.LineFreeAt() <= now, now);
    if (!frames.empty()) {
        const FaultSettings faults = Faults();
        for (const auto& frame : frames) {
            std::vector<std::uint8_t> bytes(frame.bytes.begin(), frame.bytes.end());
            if (SpoilsFrame(faults, ++framesTaken_))
                bytes.back() ^= 0xFF;
            if (!faults.silent)
                transmitter_.Queue(bytes, LineTransmitter::Kind::SampleFrame, frame.sampledAt);
        }
    }
    repliesSent_ += transmitter_.Flush(port_.MasterFd(), now);
    if (unplugWhenSent_ && !transmitter_.NextDue()) {
        unplugWhenSent_ = false;
        port_.WaitUntilRead(200);
        ApplyPlug(PlugRequest::Unplug);
        if (const unsigned after = Faults().replugAfterMs; after != 0)
            replugAt_ = Clock::now() + std::chrono::milliseconds(after);
    }
}

void DriveSim::Serve(const RequestFrame& frame) {
    if (!port_.IsOpen())
        return;
    termios line{};
    if (::tcgetattr(port_.MasterFd(), &line) != 0 || !LineMatches(line, format_))
        return; // on a real line the bytes would be garbage to the drive
    const FaultSettings faults = Faults();
    if (faults.silent || ServeService(frame))
        return;
    std::optional<std::vector<std::uint8_t>> reply;
    const std::uint8_t* bytes = frame.bytes.data();
    const std::size_t size = frame.bytes.size();
    if (faults.exceptionAddress >= 0 &&
        RequestTouches(bytes, size, config_.address,
                       static_cast<std::uint16_t>(faults.exceptionAddress))) {
        reply = ExceptionReply(bytes[0], bytes[1], faults.exceptionCode);
    } else {
        std::lock_guard lock(stateMutex_);
        if (ReadsMonitorItems(bytes, size))
            ObserveMonitor();
        reply = HandleRequest(state_, config_.address, bytes, size);
        ActOnToolWrites();
    }
    if (!reply)
        return;
    const ReplyPlan plan = PlanReply(faults, ++replyCount_);
    if (plan.corrupt)
        reply->back() ^= 0xFF;
    if (plan.stray)
        reply->insert(reply->begin(), faults.strayBytes.begin(), faults.strayBytes.end());
    // A real drive starts its reply only after the request has crossed the
    // wire and it has turned round, and after the frame it is sending.
    const auto due = frame.arrival + WireTime(size, format_) + kTurnaround +
                     std::chrono::milliseconds(faults.lateMs);
    if (plan.send)
        transmitter_.Queue(*reply, LineTransmitter::Kind::Reply, due);
    unplugWhenSent_ = unplugWhenSent_ || plan.unplugAfter;
}

// Called with the state locked, after each request.
void DriveSim::ActOnToolWrites() {
    const auto now = Clock::now();
    const auto writes = state_.TakeToolWrites();
    for (const auto& [address, value] : writes) {
        if (address == scopereg::kCommand) {
            transmitter_.DropWaitingFrames(now); // a new command ends a block being sent
            dynamics_.SamplingCommand(value, ReadScopeSetup(state_), now);
        } else if (address == scopereg::kClearPositionCommand) {
            dynamics_.ClearPositionCommand();
        } else if (address == scopereg::kClearEncoder) {
            dynamics_.ClearEncoder();
        } else if (address == tunereg::kStart) {
            ActOnTuningStart(state_, dynamics_, value, now);
        }
    }
    dynamics_.Configure(ReadServoSettings(state_), state_.ServoOn());
    for (const auto& [address, value] : writes)
        dynamics_.MotionWrite(address, state_);
    progressShown_ = dynamics_.Progress();
    state_.SetScopeProgress(progressShown_);
}

} // namespace drivesim
