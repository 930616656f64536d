// The drive requests of the internal-position plug-in: registers, coils and
// the identity. The plug-in sends them through its DriveLink's guarded call;
// tests put a simulated drive behind them.
#pragma once

#include "DriveRequests.h"

namespace routeplan {

using MotionLink = DriveRequests;
template <class Target>
using MotionLinkOn = DriveRequestsOn<Target>;

} // namespace routeplan
