// Reading a drive's identification (the Report Slave ID reply) into the
// identity texts: 1 model text, 2 model tag, 3 parameter-table id, 4 product
// code (2..4 in lower case), 6 the "w:" power class, 7 the "ev:" firmware.
#pragma once

#include "SharedContext.h"

#include <cstddef>

namespace knobset {

// `data` holds the additional-data bytes after slave id and run indicator.
// An unknown layout byte keeps texts 1..4 as they are.
void ParseSlaveIdentity(const unsigned char* data, std::size_t size, DriveIdentity& identity);

} // namespace knobset
