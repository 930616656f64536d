#include "GainwiseApp.h"

#include "GainwiseStrings.h"

namespace gainwise {

CGainwiseApp& CGainwiseApp::Instance() {
    static CGainwiseApp app;
    return app;
}

CGainwiseApp::CGainwiseApp()
    : module_({"Gainwise", kLangGainwise, MenuEnableFlags::kGainwise, 1200, 750},
              &kGainwiseStrings) {}

void CGainwiseApp::Attach(SharedContext* ctx) {
    module_.Attach(ctx);
    link.AttachWithTiming(ctx, 1, 10000);
    worker_.Create();
}

void CGainwiseApp::RunCycle() {
    SharedContext* ctx = module_.Context();
    if (ctx == nullptr)
        return;
    link.FollowPublishedPort(*ctx);
    cycle_.Run(*ctx);
}

} // namespace gainwise
