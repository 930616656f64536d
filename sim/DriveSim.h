// One simulated servo drive on a pseudo-terminal: a Modbus RTU slave that
// answers at the pace of a real serial line, with the faults it is told to show.
// The program velmora-drive-sim runs one; tests run one in-process.
#pragma once

#include "DriveDynamics.h"
#include "DriveState.h"
#include "Faults.h"
#include "FrameAssembler.h"
#include "LineTransmitter.h"
#include "PtyPort.h"
#include "SerialFormat.h"
#include "ServiceFrames.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace drivesim {

struct SimConfig {
    DriveModel model = DriveModel::T5;
    std::uint8_t address = 1;
    int format = 3; // 115200 N,1
    IdentityLayout layout = IdentityLayout::Layout2;
    std::string dataDir = ".";
    std::string statePath; // the EEPROM file; empty: nothing is kept
    std::string linkPath;  // symlink kept pointing at the port; empty: none
    FaultSettings faults;
    bool service = false;                       // also answer the drive service frames
    MotionMode motion = MotionMode::Standstill; // Demo: the servo is on and moves out and back
    double loadInertiaRatio = 250; // % load to motor: the machine's truth, whatever Pr.004 says
    std::uint16_t inputPins = 0;   // DI1..DI16 held on (bit 0: DI1)
    std::uint16_t alarm = 0;       // alarm raised at start (0: none): no servo on
    int gearNum = 0, gearDen = 0;  // not 0: the gear ratio registers 75 / 70 (T8) at start
};

// Time the drive takes to turn round from the request to its reply.
constexpr std::chrono::microseconds kTurnaround{1000};

class DriveSim {
public:
    // Loads the parameter table and the EEPROM; throws ProductDataError.
    explicit DriveSim(SimConfig config);
    ~DriveSim();
    DriveSim(const DriveSim&) = delete;
    DriveSim& operator=(const DriveSim&) = delete;

    // Opens the port and serves it on a thread of its own; throws std::system_error.
    void Start();
    // Stops serving, closes the port and removes the link.
    void Stop();

    std::string SlavePath() const;
    const SimConfig& Config() const { return config_; }

    void SetFaults(const FaultSettings& faults);
    FaultSettings Faults() const;
    // Closes the port as if the cable were pulled; Replug opens a new one (a
    // new device path; the link follows it).
    void Unplug();
    void Replug();

    // Runs `f` with the drive state while no request is being served.
    template <class F>
    auto WithState(F&& f) {
        std::lock_guard lock(stateMutex_);
        return f(state_);
    }

    std::uint64_t RepliesSent() const { return repliesSent_; }

private:
    enum class PlugRequest { None, Unplug, Replug };

    void Run();
    void Serve(const RequestFrame& frame);
    // Bytes that are no Modbus request go to the service frames (--service).
    bool ServeService(const RequestFrame& frame);
    void ActOnToolWrites();
    // A monitor reads: the machine runs and the status block shows it now.
    void ObserveMonitor();
    void Transmit(Clock::time_point now);
    Clock::time_point WakeTime(Clock::time_point now, Clock::duration silence) const;
    void ApplyPlug(PlugRequest request);
    void RequestPlug(PlugRequest request);
    void Wake();

    SimConfig config_;
    wirelay::SerialFormat format_;
    DriveState state_;
    std::mutex stateMutex_;

    mutable std::mutex mutex_; // guards faults_, port path and plug requests
    std::condition_variable plugDone_;
    FaultSettings faults_;
    PlugRequest plugRequest_ = PlugRequest::None;
    PtyPort port_;
    std::string slavePath_;

    DriveDynamics dynamics_; // used by the serving thread only
    std::uint16_t progressShown_ = 0;
    std::pair<std::int32_t, std::uint16_t> motionShown_{0, 0}; // feedback, motion state

    FrameAssembler assembler_;
    ServiceFrames serviceFrames_;
    LineTransmitter transmitter_;
    bool unplugWhenSent_ = false;
    std::uint64_t framesTaken_ = 0; // sample frames, for the frame fault
    std::uint64_t replyCount_ = 0;
    std::atomic<std::uint64_t> repliesSent_{0};
    std::optional<Clock::time_point> replugAt_;
    std::atomic<bool> stopping_{false};
    int wakeFd_ = -1;
    std::thread thread_;
};

} // namespace drivesim
