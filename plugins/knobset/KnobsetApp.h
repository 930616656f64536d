// CKnobsetApp: the editor's module-wide state shared by its window (UI
// thread) and its job routine (the host's comm thread, or the editor's own
// worker while the host has suspended plug-in calls).
#pragma once

#include "DriveLink.h"
#include "ParmJobs.h"
#include "PluginModule.h"
#include "RequestBoard.h"

#include <atomic>
#include <memory>
#include <thread>

namespace knobset {

// The editor's requests through its DriveLink's guarded call.
using DriveRegisterLink = RegisterLinkOn<DriveLink>;

class CKnobsetApp {
public:
    static CKnobsetApp& Instance();
    PluginModule& Module() { return module_; }
    SharedContext& Context() { return *module_.Context(); }

    // The editor's steps of CreateDLLDocTemplate: keep the context, configure
    // the link and start the own worker.
    void Attach(SharedContext* ctx);
    // One pass of the job routine (ExternThread and the own worker).
    void RunJobRoutine();
    // Stops and joins the own worker (the template's deletion at exit).
    void StopWorker();

    DriveLink link;
    RequestBoard board;
    std::unique_ptr<ParmJobs> jobs;
    int singleOldValue = 0;
    std::atomic<int> ownWorkerIdle{1};
    int linkChanges = 0;

private:
    CKnobsetApp();

    PluginModule module_;
    DriveRegisterLink registerLink_{link};
    std::mutex routineMutex_; // the comm thread and the own worker never overlap
    std::atomic<bool> stopWorker_{false};
    std::thread worker_;
};

} // namespace knobset
