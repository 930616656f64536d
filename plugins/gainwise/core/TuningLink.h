// The drive requests the tuning commands need (registers and the servo coil).
#pragma once

#include "DriveRequests.h"

namespace gainwise {

using TuningLink = DriveRequests;
template <class Target>
using TuningLinkOn = DriveRequestsOn<Target>;

} // namespace gainwise
