// CGainwiseApp: the tuning plug-in's module-wide state: its DriveLink, the
// command mailbox its window posts to, the cycle the host's communication
// thread runs, and the own worker thread, held suspended.
#pragma once

#include "DriveLink.h"
#include "GainwiseMailbox.h"
#include "PluginModule.h"
#include "SuspendedWorker.h"

namespace gainwise {

class CGainwiseApp {
public:
    static CGainwiseApp& Instance();
    PluginModule& Module() { return module_; }

    // CreateDLLDocTemplate's part: keep the context, configure the link and
    // create the worker, suspended.
    void Attach(SharedContext* ctx);
    // One cycle (ExternThread).
    void RunCycle();
    // The template's deletion at exit ends the worker.
    void EndWorker() { worker_.Stop(); }

    DriveLink link;
    Mailbox mailbox;

private:
    CGainwiseApp();

    PluginModule module_;
    TuningLinkOn<DriveLink> tuningLink_{link};
    GainwiseCycle cycle_{mailbox, tuningLink_};
    SuspendedWorker worker_;
};

} // namespace gainwise
