#include "ScopeDriveLink.h"

#include "CommApi.h"
#include "CommHooks.h"

namespace tracelens {

void DriveLink::ApplyQuickSettings() {
    if (quickSettings == 0 || searching == 1 || ctx_ == nullptr)
        return;
    SetWaitWriteTime(static_cast<unsigned long>(ctx_->Int(kWaitWriteTime).load()));
    CModbus::SetPreCountQueTimes(static_cast<unsigned long>(ctx_->Int(kPreCountQueTimes).load()));
    SetRetryTimes(0);
    SetRetryInterval(0);
    quickSettings = 0;
}

// The port's properties answer only while the device is there (an unplugged
// adapter or a closed far end fails the query).
bool DriveLink::QueryProperties() {
    COMSTAT status{};
    lastPropertyQuery = ClearCommError(hPort, nullptr, &status) ? 1 : 0;
    return lastPropertyQuery != 0;
}

template <class Request>
int DriveLink::Guarded(Request send) {
    ApplyQuickSettings();
    if (ctx_ != nullptr)
        ctx_->NoteDriveTraffic();
    if (QueryProperties()) {
        if (linkOk == 0)
            return 0;
        linkOk = send();
        return linkOk;
    }
    COMMCONFIG config{};
    DWORD size = sizeof config;
    const bool second = QueryProperties();
    GetCommConfig(hPort, &config, &size);
    if (second)
        return 0;
    CloseComPort();
    wirelay::SleepMs(50);
    _OpenComPort(port, dcb, 1);
    SetCommTimeouts(hPort, &timeouts);
    if (!QueryProperties())
        return 0;
    linkOk = send();
    return linkOk;
}

int DriveLink::GuardedWrite(unsigned short address, unsigned short value) {
    return Guarded([&] { return WriteMultipleRegisters(address, 1, &value) != 0 ? 1 : 0; });
}

int DriveLink::GuardedRead(unsigned short address, unsigned short* value) {
    return Guarded([&] { return ReadHoldingRegisters(address, 1, value) != 0 ? 1 : 0; });
}

} // namespace tracelens
