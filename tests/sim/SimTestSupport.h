// Helpers shared by the simulator tests: drive states built
// from the product data beside the test programs.
#pragma once

#include "DriveSim.h"
#include "DriveState.h"
#include "HexFrames.h"
#include "ModbusCrc.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

inline drivesim::DriveState
ShippedDrive(drivesim::DriveModel model, const std::string& eeprom = "",
             drivesim::IdentityLayout layout = drivesim::IdentityLayout::Layout2) {
    return drivesim::DriveState(drivesim::ParameterTable::Load(model, "."), layout, eeprom);
}

// At 115200 baud, no parity, one stop bit.
inline drivesim::SimConfig SimOn(drivesim::DriveModel model, std::uint8_t address = 1,
                                 const std::string& link = "") {
    drivesim::SimConfig config;
    config.model = model;
    config.format = 3;
    config.address = address;
    config.linkPath = link;
    return config;
}

// Registers as a master reads them; a refused read fails the test.
inline std::vector<std::uint16_t> Read(const drivesim::DriveState& s, std::uint16_t start,
                                       std::uint16_t count) {
    std::vector<std::uint16_t> out;
    EXPECT_EQ(s.ReadRegisters(start, count, out), drivesim::kNoException) << start;
    return out;
}

// A simulator serving its pty for the lifetime of the object.
struct RunningSim {
    explicit RunningSim(drivesim::SimConfig config) : sim(std::move(config)) { sim.Start(); }
    drivesim::DriveSim sim;
};
