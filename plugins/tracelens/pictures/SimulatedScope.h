// The scope engine fed by the simulated drive (its demo move) at 115200 baud,
// with the cycle run on a thread of its own as the host's communication
// thread runs it. For the pictures, the window benchmark and the window's
// end-to-end test.
#pragma once

#include "DriveSim.h"
#include "SerialFormat.h"
#include "StandaloneContext.h"
#include "TracelensApp.h"

#include <atomic>
#include <string>
#include <thread>

namespace tracelens {

class SimulatedScope {
public:
    explicit SimulatedScope(const std::string& dataDir) : sim_(Config(dataDir)) {
        sim_.Start();
        const DCB dcb = wirelay::MakeSerialDcb(3);
        portOpen_ = port_._OpenDevicePort(sim_.SlavePath().c_str(), dcb, 1) != 0;
        if (portOpen_)
            context.PublishPort(port_.hPort, 0, dcb);
        app.Attach(&context.Context());
    }
    ~SimulatedScope() {
        StopCycles();
        if (app.link.hPort > 0)
            app.link.CloseComPort();
    }
    SimulatedScope(const SimulatedScope&) = delete;
    SimulatedScope& operator=(const SimulatedScope&) = delete;

    bool PortOpen() const { return portOpen_; }
    // Set app.sampleTap before.
    void StartCycles() {
        comm_ = std::thread([this] {
            while (running_)
                app.ExternThread();
        });
    }
    void StopCycles() {
        running_ = false;
        if (comm_.joinable())
            comm_.join();
    }
    std::thread& CommThread() { return comm_; }

private:
    static drivesim::SimConfig Config(const std::string& dataDir) {
        drivesim::SimConfig config;
        config.dataDir = dataDir;
        config.motion = drivesim::MotionMode::Demo;
        return config;
    }

    drivesim::DriveSim sim_;
    CUARTComm port_;
    bool portOpen_ = false;

public:
    StandaloneContext context;
    CTracelensApp app;

private:
    std::atomic<bool> running_{true};
    std::thread comm_;
};

} // namespace tracelens
