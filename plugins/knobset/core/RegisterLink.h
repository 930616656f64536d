// The drive requests the parameter jobs need (registers and the identity).
#pragma once

#include "DriveRequests.h"

namespace knobset {

using RegisterLink = DriveRequests;
template <class Target>
using RegisterLinkOn = DriveRequestsOn<Target>;
using ModbusRegisterLink = RegisterLinkOn<CModbus>;

} // namespace knobset
