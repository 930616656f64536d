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
    link.AttachContext(ctx);
    link.ConfigureFromContext(*ctx);
    link.modbus.SetWaitWriteTime(1);
    link.modbus.SetPreCountQueTimes(10000);
    link.modbus.latePollCount = 2;
    link.modbus.latePollPause = 40;
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
