#include "DriveLink.h"

#include "CommApi.h"

#include <chrono>
#include <cstring>
#include <thread>

static_assert(sizeof(DCB) == CommDcbBlock::kSize, "the shared line settings are one DCB");

void DriveLink::ConfigureFromContext(const SharedContext& ctx) {
    modbus.SetSlaveAddress(static_cast<std::uint8_t>(ctx.Int(kSlaveId).load() & 0xFF));
    modbus.SetRetryTimes(static_cast<unsigned long>(ctx.Int(kRetryTimes).load()));
    modbus.SetRetryInterval(static_cast<unsigned long>(ctx.Int(kRetryInterval).load()));
    modbus.writeDelay = static_cast<std::uint32_t>(ctx.Int(kPreWaitTime).load());
}

void DriveLink::AttachWithTiming(SharedContext* ctx, unsigned long waitWriteMs,
                                 unsigned long polls) {
    AttachContext(ctx);
    ConfigureFromContext(*ctx);
    modbus.SetWaitWriteTime(waitWriteMs);
    modbus.SetPreCountQueTimes(polls);
    modbus.latePollCount = 2;
    modbus.latePollPause = 40;
}

bool DriveLink::PublishedPortChanged(const SharedContext& ctx) const {
    const HANDLE published = ctx.ComHandle().load(std::memory_order_acquire);
    return published != 0 && (published != adopted_ || ctx.Int(kComPort).load() != port ||
                              std::memcmp(&dcb, ctx.CommDcb().bytes, sizeof dcb) != 0);
}

bool DriveLink::AdoptPublishedPort(const SharedContext& ctx) {
    if (!PublishedPortChanged(ctx))
        return false;
    const HANDLE published = ctx.ComHandle().load(std::memory_order_acquire);
    // After a failed request the link works on a port it reopened itself;
    // held on, it would keep the device from the new search's port.
    if (modbus.hPort != adopted_ && modbus.hPort != published)
        modbus.CloseComPort();
    modbus.hPort = published;
    adopted_ = published;
    port = ctx.Int(kComPort).load();
    std::memcpy(&dcb, ctx.CommDcb().bytes, sizeof dcb);
    return true;
}

bool DriveLink::FollowPublishedPort(const SharedContext& ctx) {
    constexpr auto kPause = std::chrono::milliseconds(100);
    const auto slave = static_cast<std::uint8_t>(ctx.Int(kSlaveId).load() & 0xFF);
    if (PublishedPortChanged(ctx)) {
        std::this_thread::sleep_for(kPause);
        AdoptPublishedPort(ctx);
        modbus.SetSlaveAddress(slave);
        return true;
    }
    if (modbus.GetSlaveAddress() == slave)
        return false;
    std::this_thread::sleep_for(kPause);
    modbus.SetSlaveAddress(slave);
    return true;
}

void DriveLink::PublishPort(SharedContext& ctx) const {
    std::memcpy(ctx.CommDcb().bytes, &dcb, sizeof dcb);
    ctx.Int(kComPort).store(port);
    ctx.ComHandle().store(modbus.hPort, std::memory_order_release);
}

void DriveLink::ApplyQuickSettings() {
    if (quickSettings == 0 || searching == 1)
        return;
    modbus.SetWaitWriteTime(100);
    modbus.SetPreCountQueTimes(100);
    modbus.SetRetryTimes(0);
    modbus.SetRetryInterval(0);
    quickSettings = 0;
}

void DriveLink::Reopen() {
    // An open that finds the port still open leaves it as it is.
    modbus._OpenComPort(port, dcb, 1);
    SetCommTimeouts(modbus.hPort, &timeouts);
}

int DriveLink::ReadHoldingRegisters(unsigned short start, unsigned short count,
                                    unsigned short* dest) {
    return Guarded([&] { return modbus.ReadHoldingRegisters(start, count, dest); });
}

int DriveLink::WriteMultipleRegisters(unsigned short start, unsigned short count,
                                      unsigned short* source) {
    return Guarded([&] { return modbus.WriteMultipleRegisters(start, count, source); });
}

int DriveLink::ReadCoils(unsigned short start, unsigned short count, unsigned char* dest) {
    return Guarded([&] { return modbus.ReadCoils(start, count, dest); });
}

int DriveLink::WriteMultipleCoils(unsigned short start, unsigned short count,
                                  unsigned char* source) {
    return Guarded([&] { return modbus.WriteMultipleCoils(start, count, source); });
}

int DriveLink::ReportSlaveID(char* data, unsigned char* capacity, unsigned char* slaveId,
                             unsigned char* runIndicator) {
    return Guarded([&] { return modbus.ReportSlaveID(data, capacity, slaveId, runIndicator); },
                   true);
}
