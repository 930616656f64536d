// Helpers of the internal-position tests: a context filled as the host fills
// it, and a motion link straight on a simulated drive's state that logs every
// request (registers and coils).
#pragma once

#include "../DriveStateLink.h"
#include "ContextStorage.h"
#include "HostConfig.h"
#include "MotionLink.h"
#include "RouteplanJobs.h"

struct RouteplanContext {
    ContextStorage storage;
    explicit RouteplanContext(int model = kModelT8) {
        storage.CreateParmStore(nullptr);
        storage.Fill(ReadHostConfig("Velmora.ini"), ".", nullptr);
        Ctx().Parms().iModel = model;
        Ctx().Int(kOnline) = 1;
        Ctx().Int(kJogTimeout) = 300;
    }
    SharedContext& Ctx() { return storage.Context(); }
};
