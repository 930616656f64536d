#include "Faults.h"

namespace drivesim {
namespace {

bool Every(unsigned n, std::uint64_t number) {
    return n != 0 && number % n == 0;
}

} // namespace

ReplyPlan PlanReply(const FaultSettings& faults, std::uint64_t replyNumber) {
    ReplyPlan plan;
    plan.send = !Every(faults.dropEvery, replyNumber);
    plan.corrupt = Every(faults.corruptEvery, replyNumber);
    plan.stray = Every(faults.strayEvery, replyNumber);
    plan.unplugAfter = faults.unplugAfter != 0 && replyNumber == faults.unplugAfter;
    return plan;
}

bool SpoilsFrame(const FaultSettings& faults, std::uint64_t frameNumber) {
    return Every(faults.corruptFrameEvery, frameNumber);
}

} // namespace drivesim
