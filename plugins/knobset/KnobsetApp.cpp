#include "KnobsetApp.h"

#include "KnobsetStrings.h"

#include <chrono>

namespace knobset {

CKnobsetApp& CKnobsetApp::Instance() {
    static CKnobsetApp app;
    return app;
}

CKnobsetApp::CKnobsetApp()
    : module_({"Knobset", kLangKnobset, MenuEnableFlags::kKnobset, 0, 0, ChildPlacement::Origin},
              &kKnobsetStrings) {}

void CKnobsetApp::Attach(SharedContext* ctx) {
    module_.Attach(ctx);
    link.AttachWithTiming(ctx, 100, 100);
    // The settings above are the frame's quick settings already. Left armed,
    // they would replace the job timing inside the first job's first request
    // and poll every 100 ms for that whole job.
    link.quickSettings = 0;
    jobs = std::make_unique<ParmJobs>(ctx->Parms(), ctx->OfflineIdentity());
    if (!worker_.joinable()) {
        stopWorker_ = false;
        worker_ = std::thread([this] {
            while (!stopWorker_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                if (ownWorkerIdle == 0 && !stopWorker_)
                    RunJobRoutine();
            }
        });
    }
}

void CKnobsetApp::StopWorker() {
    ownWorkerIdle = 1;
    stopWorker_ = true;
    if (worker_.joinable())
        worker_.join();
}

void CKnobsetApp::RunJobRoutine() {
    if (module_.Context() == nullptr || !jobs)
        return;
    std::lock_guard lock(routineMutex_);
    // Every port a Connect publishes is followed, also when the drive moved
    // to another port or format: the old one is closed or gone.
    if (link.FollowPublishedPort(Context()))
        ++linkChanges;
    RunJobCycle(Context(), board, *jobs, registerLink_);
}

} // namespace knobset
