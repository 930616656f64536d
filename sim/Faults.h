// Faults a simulated drive can be told to show, for tests and demonstrations.
#pragma once

#include <cstdint>
#include <vector>

namespace drivesim {

struct FaultSettings {
    unsigned dropEvery = 0;         // leave every Nth reply unsent
    unsigned corruptEvery = 0;      // spoil the CRC of every Nth reply
    unsigned corruptFrameEvery = 0; // spoil the checksum of every Nth sample frame
    unsigned strayEvery = 0;        // send strayBytes before every Nth reply
    std::vector<std::uint8_t> strayBytes{0x55, 0xAA};
    unsigned lateMs = 0;       // answer this much later than a drive would
    bool silent = false;       // answer nothing at all
    int exceptionAddress = -1; // requests touching this register or coil get an exception
    std::uint8_t exceptionCode = 0x04;
    unsigned unplugAfter = 0;   // close the port after the Nth reply
    unsigned replugAfterMs = 0; // ... and come back on a new port after this long (0: never)
};

// What to do with one reply, counting replies from 1.
struct ReplyPlan {
    bool send = true;
    bool corrupt = false;
    bool stray = false;
    bool unplugAfter = false;
};

ReplyPlan PlanReply(const FaultSettings& faults, std::uint64_t replyNumber);

// True when sample frame `frameNumber` (counted from 1) is to be spoilt.
bool SpoilsFrame(const FaultSettings& faults, std::uint64_t frameNumber);

} // namespace drivesim
