#include "GainwiseApp.h"

#include "GainwiseStrings.h"

#include <chrono>
#include <thread>

namespace gainwise {
namespace {
constexpr auto kAdoptPause = std::chrono::milliseconds(100);
} // namespace

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

void CGainwiseApp::LinkUpkeep(SharedContext& ctx) {
    const auto slave = [&ctx] {
        return static_cast<std::uint8_t>(ctx.Int(kSlaveId).load() & 0xFF);
    };
    if (link.PublishedPortChanged(ctx)) {
        std::this_thread::sleep_for(kAdoptPause);
        link.AdoptPublishedPort(ctx);
        link.modbus.SetSlaveAddress(slave());
    } else if (link.modbus.GetSlaveAddress() != slave()) {
        std::this_thread::sleep_for(kAdoptPause);
        link.modbus.SetSlaveAddress(slave());
    }
}

void CGainwiseApp::RunCycle() {
    SharedContext* ctx = module_.Context();
    if (ctx == nullptr)
        return;
    LinkUpkeep(*ctx);
    cycle_.Run(*ctx);
}

} // namespace gainwise
