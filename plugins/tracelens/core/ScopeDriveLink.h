// The scope's own link to the drive: the sample-stream reader on the port
// handle the host published, the line settings and time-outs for reopening
// the port, and the guarded one-register write (and read) through which every
// register request of the scope goes.
#pragma once

#include "CommPlot.h"
#include "SharedContext.h"

namespace tracelens {

class DriveLink : public CCommPlot {
public:
    DCB dcb{};                                // line settings used when the port is reopened
    COMMTIMEOUTS timeouts{0, 0, 100, 0, 100}; // set on the handle after a reopen
    int linkOk = 1;                           // cleared by a failed write: later ones are not sent
    int port = 0;                             // COM number used when the port is reopened
    int quickSettings = 1;                    // the first guarded request takes the host's timing
    int searching = 0;                        // never set by the scope
    int lastPropertyQuery = 0;                // result of the latest port property query

    // Quick settings come from the context's link timing, and every request
    // counts as drive traffic on it.
    void AttachContext(SharedContext* ctx) { ctx_ = ctx; }

    // One holding register through the guard: 1 success, 0 failure (or not
    // sent because the link is marked bad or the port is unusable).
    int GuardedWrite(unsigned short address, unsigned short value);
    int GuardedRead(unsigned short address, unsigned short* value);

private:
    template <class Request>
    int Guarded(Request send);
    void ApplyQuickSettings();
    bool QueryProperties();

    SharedContext* ctx_ = nullptr;
};

} // namespace tracelens
