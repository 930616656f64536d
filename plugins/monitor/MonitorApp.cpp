#include "MonitorApp.h"

#include "MonitorStrings.h"

#include <chrono>
#include <thread>

namespace monitor {
namespace {

// The poll step's requests through the guarded call.
class GuardedItemLink : public ItemLink {
public:
    explicit GuardedItemLink(DriveLink& link) : link_(link) {}
    int ReadRegisters(unsigned short start, unsigned short count, unsigned short* dest) override {
        return link_.ReadHoldingRegisters(start, count, dest);
    }
    int ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) override {
        return link_.ReadCoils(start, count, dest);
    }
    int WriteRegisters(unsigned short start, unsigned short count,
                       unsigned short* source) override {
        return link_.WriteMultipleRegisters(start, count, source);
    }

private:
    DriveLink& link_;
};

constexpr auto kAdoptPause = std::chrono::milliseconds(100);

} // namespace

CMonitorApp& CMonitorApp::Instance() {
    static CMonitorApp app;
    return app;
}

CMonitorApp::CMonitorApp()
    : module_({"Monitor", kLangMonitor, MenuEnableFlags::kMonitor, 1200, 750}, &kMonitorStrings) {}

void CMonitorApp::Attach(SharedContext* ctx) {
    module_.Attach(ctx);
    LoadDescriptions(items, ctx->AppDir());
    link.AttachContext(ctx);
    link.ConfigureFromContext(*ctx);
    link.modbus.SetWaitWriteTime(1);
    link.modbus.SetPreCountQueTimes(10000);
    link.modbus.latePollCount = 2;
    link.modbus.latePollPause = 40;
    // Armed, the frame's one-time quick settings would replace this timing
    // with polls 100 ms apart for good.
    link.quickSettings = 0;
}

void CMonitorApp::LinkUpkeep() {
    SharedContext& ctx = Context();
    // Every port a Connect publishes is followed (the old one is closed or gone).
    if (link.PublishedPortChanged(ctx)) {
        std::this_thread::sleep_for(kAdoptPause);
        link.AdoptPublishedPort(ctx);
        link.modbus.SetSlaveAddress(static_cast<std::uint8_t>(ctx.Int(kSlaveId).load() & 0xFF));
    }
    const auto slave = static_cast<std::uint8_t>(ctx.Int(kSlaveId).load() & 0xFF);
    if (link.modbus.GetSlaveAddress() != slave) {
        std::this_thread::sleep_for(kAdoptPause);
        link.modbus.SetSlaveAddress(slave);
    }
}

void CMonitorApp::ExternThread() {
    if (module_.Context() == nullptr)
        return;
    LinkUpkeep();
    GuardedItemLink requests(link);
    PollStep(Context(), board, items, requests);
}

} // namespace monitor
