// Helpers of the internal-position tests: a context filled as the host fills
// it, and a motion link straight on a simulated drive's state that logs every
// request (registers and coils).
#pragma once

#include "../DriveStateLink.h"
#include "../FilledContext.h"
#include "MotionLink.h"
#include "RouteplanJobs.h"

struct RouteplanContext : FilledContext {
    explicit RouteplanContext(int model = kModelT8) {
        Ctx().Parms().iModel = model;
        Ctx().Int(kOnline) = 1;
        Ctx().Int(kJogTimeout) = 300;
    }
};
