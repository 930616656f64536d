// Helpers of the tuning plug-in tests: a context with the slots the plug-in
// uses, and a tuning link straight on a simulated drive's state that logs
// every request.
#pragma once

#include "../DriveStateLink.h"
#include "SharedContext.h"
#include "TuningLink.h"

#include <string>
#include <vector>

struct TestContext {
    TestContext() {
        for (int i = 0; i < kLinkClaims; ++i)
            ctx.slot[kLinkClaim0 + i] = reinterpret_cast<std::intptr_t>(&claims[i]);
        auto point = [this](int slot, auto& value) {
            ctx.slot[slot] = reinterpret_cast<std::intptr_t>(&value);
        };
        point(kLinkFound, linkFound);
        point(kWaitWriteTime, waitWrite);
        point(kPreCountQueTimes, polls);
        point(kDriveTraffic, traffic);
        point(kParmStore, parms);
    }
    SharedContext ctx;
    LinkClaim claims[kLinkClaims];
    SharedInt linkFound{1}, waitWrite{1}, polls{400}, traffic{0};
    ParmStore parms;
};
