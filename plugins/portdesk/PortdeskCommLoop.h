// Portdesk's share of the comm thread: when the window has asked for a search,
// run it, identify the drive, decide its model and post the result.
#pragma once

#include "PortdeskApp.h"

// One call of the exported CommLoop; does nothing unless a search is requested.
void RunCommLoop(CPortdeskApp& app, SharedContext& ctx);

// Asks the drive found for its identification (Report Slave ID through the
// guarded call) into `data` (kIdentificationBytes, zeroed first). True when the
// drive answered. Keeps the found port open and published even when the
// failed request closed it.
bool ReadIdentification(CPortdeskApp& app, SharedContext& ctx, unsigned char* data);
