// Helpers shared by the simulator tests: hex frames and drive states built
// from the product data beside the test programs.
#pragma once

#include "DriveSim.h"
#include "DriveState.h"
#include "ModbusCrc.h"

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::uint8_t> Hex(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    std::istringstream in(text);
    std::string pair;
    while (in >> pair)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16)));
    return bytes;
}

inline std::string ToHex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    static const char* digits = "0123456789ABCDEF";
    for (std::uint8_t b : bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

// A request with its CRC appended.
inline std::vector<std::uint8_t> WithCrc(std::vector<std::uint8_t> frame) {
    frame.resize(frame.size() + 2);
    wirelay::AppendModbusCrc(frame.data(), frame.size());
    return frame;
}

inline drivesim::DriveState
ShippedDrive(drivesim::DriveModel model, const std::string& eeprom = "",
             drivesim::IdentityLayout layout = drivesim::IdentityLayout::Layout2) {
    return drivesim::DriveState(drivesim::ParameterTable::Load(model, "."), layout, eeprom);
}

inline drivesim::SimConfig SimOn(drivesim::DriveModel model, int format = 3,
                                 std::uint8_t address = 1, const std::string& link = "") {
    drivesim::SimConfig config;
    config.model = model;
    config.format = format;
    config.address = address;
    config.linkPath = link;
    return config;
}

// A simulator serving its pty for the lifetime of the object.
struct RunningSim {
    explicit RunningSim(drivesim::SimConfig config) : sim(std::move(config)) { sim.Start(); }
    drivesim::DriveSim sim;
};
