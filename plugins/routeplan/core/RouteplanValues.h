// The internal-position table and its companion parameters as the plug-in
// keeps them (signed 32-bit values, as the drive holds them), and where each
// lives in the drive's registers.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace routeplan {

constexpr int kPoints = 16;

struct PointValues {
    std::int32_t position = 0; // pulses
    std::int32_t speed = 0;    // r/min
    std::string description;
};

struct RouteplanValues {
    std::array<PointValues, kPoints> points{};
    std::int32_t pointAcc = 0, pointDec = 0; // ms
    // Homing.
    std::int32_t homingMode = 0, homingOffset = 0, homingSpeed = 0, creepSpeed = 0;
    std::int32_t homingAcc = 0, homingDec = 0, bumpTorque = 0, bumpTime = 0;
    std::int32_t offsetSkipGear = 0, diOriginType = 0, diCombineDelay = 0;
    // Auxiliary.
    std::int32_t jogSpeed = 0, jogAcc = 0, jogDec = 0, onPosDelay = 0;
    std::int32_t softLimitPos = 0, softLimitNeg = 0;
    // Kept from the last read: register 939 and the whole of register 1222.
    std::int32_t reg939 = 0, reg1222 = 0;
    // Capability flags; nothing sets them, so 1222, 849 and "DI_0_Type" stay inactive.
    bool extendedHoming = false, diOrigin = false;
};

// Point p = 1..16: position at 198 + 2p (low word) and 199 + 2p (high word).
constexpr std::uint16_t PositionRegister(int p) {
    return static_cast<std::uint16_t>(198 + 2 * p);
}
// The three speed blocks are not contiguous: 83..86, 116..119, 720..727.
constexpr std::uint16_t SpeedRegister(int p) {
    return static_cast<std::uint16_t>(p <= 4 ? 82 + p : p <= 8 ? 111 + p : 711 + p);
}
constexpr bool ValidPoint(int p) {
    return p >= 1 && p <= kPoints;
}

// Registers of the table's companions.
namespace rtreg {
constexpr std::uint16_t kControlMode = 2, kEndPoint = 36, kDelay = 46, kMotion = 47;
constexpr std::uint16_t kGearDen = 70, kGearNum = 75, kSpeeds1 = 83, kSpeeds5 = 116;
constexpr std::uint16_t kSpeeds9 = 720, kJogSpeed = 87, kApply = 129;
constexpr std::uint16_t kHostKey = 131, kHostMode = 132, kTarget = 180, kDistance = 182;
constexpr std::uint16_t kPositions = 200, kDiOrigin = 849, kAlarm = 899, kCapability = 939;
constexpr std::uint16_t kHoming = 1200, kMoveSpeed = 1214, kBump = 1215, kHomingOptions = 1222;
constexpr std::uint16_t kJogCommand = 2001, kHomingCommand = 2002;
constexpr std::uint16_t kCoilServo = 38;
constexpr std::uint16_t kKey = 0x6D21, kHostModeOn = 8, kHomingStart = 0x0801;
} // namespace rtreg

} // namespace routeplan
