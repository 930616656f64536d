#include "TableTransfers.h"

#include <vector>

namespace routeplan {
namespace {

unsigned short Low(std::int32_t v) {
    return static_cast<unsigned short>(static_cast<std::uint32_t>(v) & 0xFFFF);
}
unsigned short High(std::int32_t v) {
    return static_cast<unsigned short>(static_cast<std::uint32_t>(v) >> 16);
}
std::int32_t Signed16(unsigned short w) {
    return static_cast<std::int16_t>(w);
}

bool Read(MotionLink& link, std::uint16_t start, std::vector<unsigned short>& words) {
    return link.ReadRegisters(start, static_cast<unsigned short>(words.size()), words.data()) != 0;
}
bool Write(MotionLink& link, std::uint16_t start, std::vector<unsigned short> words) {
    return link.WriteRegisters(start, static_cast<unsigned short>(words.size()), words.data()) != 0;
}

// The speeds of points first..first+count-1 from one block.
void TakeSpeeds(RouteplanValues& v, int first, const std::vector<unsigned short>& words) {
    for (std::size_t i = 0; i < words.size(); ++i)
        v.points[first - 1 + i].speed = Signed16(words[i]);
}
std::vector<unsigned short> Speeds(const RouteplanValues& v, int first, int count) {
    std::vector<unsigned short> words;
    for (int p = first; p < first + count; ++p)
        words.push_back(Low(v.points[p - 1].speed));
    return words;
}

} // namespace

std::int32_t JoinWords(unsigned short low, unsigned short high) {
    return static_cast<std::int32_t>(std::uint32_t(high) << 16 | low);
}

bool WriteLong(MotionLink& link, std::uint16_t low, std::int32_t value) {
    return Write(link, low, {Low(value), High(value)});
}
bool ReadLong(MotionLink& link, std::uint16_t low, std::int32_t& value) {
    std::vector<unsigned short> w(2);
    if (!Read(link, low, w))
        return false;
    value = JoinWords(w[0], w[1]);
    return true;
}
bool WriteWord(MotionLink& link, std::uint16_t address, std::int32_t value) {
    return Write(link, address, {Low(value)});
}
bool ReadWord(MotionLink& link, std::uint16_t address, std::int32_t& value) {
    std::vector<unsigned short> w(1);
    if (!Read(link, address, w))
        return false;
    value = Signed16(w[0]);
    return true;
}

bool ReadGear(MotionLink& link, GearRatio& gear) {
    return ReadWord(link, rtreg::kGearDen, gear.denominator) &&
           ReadWord(link, rtreg::kGearNum, gear.numerator);
}

bool ReadTable(MotionLink& link, RouteplanValues& v, GearRatio& gear, std::atomic<int>& progress) {
    if (!ReadGear(link, gear) || !ReadWord(link, rtreg::kCapability, v.reg939))
        return false;
    std::vector<unsigned short> positions(2 * kPoints);
    if (!Read(link, rtreg::kPositions, positions))
        return false;
    for (int p = 0; p < kPoints; ++p)
        v.points[p].position = JoinWords(positions[2 * p], positions[2 * p + 1]);
    const struct {
        std::uint16_t start;
        int first, count;
    } speedBlocks[] = {{rtreg::kSpeeds1, 1, 4}, {rtreg::kSpeeds5, 5, 4}, {rtreg::kSpeeds9, 9, 8}};
    for (const auto& block : speedBlocks) {
        std::vector<unsigned short> words(block.count);
        if (!Read(link, block.start, words))
            return false;
        TakeSpeeds(v, block.first, words);
        progress += block.count;
    }
    std::vector<unsigned short> jog(3);
    if (!Read(link, rtreg::kJogSpeed, jog))
        return false;
    v.jogSpeed = Signed16(jog[0]);
    v.pointAcc = Signed16(jog[1]);
    v.pointDec = Signed16(jog[2]);
    progress += 3;
    std::vector<unsigned short> h(10);
    if (!Read(link, rtreg::kHoming, h))
        return false;
    v.homingMode = Signed16(h[0]);
    v.homingOffset = JoinWords(h[1], h[2]);
    v.homingSpeed = Signed16(h[3]);
    v.creepSpeed = Signed16(h[4]);
    v.homingAcc = Signed16(h[5]);
    v.homingDec = Signed16(h[6]);
    v.jogAcc = Signed16(h[7]);
    v.jogDec = Signed16(h[8]);
    v.onPosDelay = Signed16(h[9]);
    progress += 10;
    // Up to 1221, so the DI combine-in delay holds the drive's value and a
    // transfer after a read writes back what the drive had.
    std::vector<unsigned short> b(v.extendedHoming ? 8 : 7);
    if (!Read(link, rtreg::kBump, b))
        return false;
    v.bumpTorque = Signed16(b[0]);
    v.bumpTime = Signed16(b[1]);
    v.softLimitPos = JoinWords(b[2], b[3]);
    v.softLimitNeg = JoinWords(b[4], b[5]);
    v.diCombineDelay = Signed16(b[6]);
    if (v.extendedHoming) {
        v.reg1222 = b[7];
        v.offsetSkipGear = b[7] & 1;
    }
    progress += 6;
    v.diOriginType = 0;
    if (v.diOrigin) {
        std::int32_t di = 0;
        if (!ReadWord(link, rtreg::kDiOrigin, di))
            return false;
        v.diOriginType = di & 0xFF;
    }
    return true;
}

bool TransferTable(MotionLink& link, const RouteplanValues& v, std::atomic<int>& progress) {
    std::vector<unsigned short> positions;
    for (const PointValues& point : v.points) {
        positions.push_back(Low(point.position));
        positions.push_back(High(point.position));
    }
    const std::vector<unsigned short> homing = {
        Low(v.homingMode), Low(v.homingOffset), High(v.homingOffset), Low(v.homingSpeed),
        Low(v.creepSpeed), Low(v.homingAcc),    Low(v.homingDec),     Low(v.jogAcc),
        Low(v.jogDec),     Low(v.onPosDelay)};
    const std::vector<unsigned short> bump = {
        Low(v.bumpTorque),   Low(v.bumpTime),      Low(v.softLimitPos),  High(v.softLimitPos),
        Low(v.softLimitNeg), High(v.softLimitNeg), Low(v.diCombineDelay)};
    auto block = [&](std::uint16_t start, std::vector<unsigned short> words, int steps) {
        if (!Write(link, start, std::move(words)))
            return false;
        progress += steps;
        return true;
    };
    if (!block(rtreg::kSpeeds1, Speeds(v, 1, 4), 4) || !block(rtreg::kPositions, positions, 0) ||
        !block(rtreg::kSpeeds5, Speeds(v, 5, 4), 4) ||
        !block(rtreg::kSpeeds9, Speeds(v, 9, 8), 8) ||
        !block(rtreg::kJogSpeed, {Low(v.jogSpeed), Low(v.pointAcc), Low(v.pointDec)}, 3))
        return false;
    // The homing and bump blocks go one register per request.
    for (std::size_t i = 0; i < homing.size(); ++i)
        if (!block(static_cast<std::uint16_t>(rtreg::kHoming + i), {homing[i]}, 1))
            return false;
    for (std::size_t i = 0; i < bump.size(); ++i)
        if (!block(static_cast<std::uint16_t>(rtreg::kBump + i), {bump[i]}, 1))
            return false;
    if (v.extendedHoming &&
        !WriteWord(link, rtreg::kHomingOptions, (v.reg1222 & ~1) | (v.offsetSkipGear != 0 ? 1 : 0)))
        return false;
    if (v.diOrigin && !WriteWord(link, rtreg::kDiOrigin, 0x1200 | (v.diOriginType & 0xFF)))
        return false;
    return WriteWord(link, rtreg::kApply, 2);
}

bool ReadPoint(MotionLink& link, int point, std::int32_t& position, std::int32_t& speed) {
    return ValidPoint(point) && ReadLong(link, PositionRegister(point), position) &&
           ReadWord(link, SpeedRegister(point), speed);
}

bool WritePoint(MotionLink& link, int point, std::int32_t position, std::int32_t speed) {
    return ValidPoint(point) && WriteLong(link, PositionRegister(point), position) &&
           WriteWord(link, SpeedRegister(point), speed) && WriteWord(link, rtreg::kApply, 1);
}

} // namespace routeplan
