#include "PortdeskCommLoop.h"

#include "CommApi.h"
#include "DriveIdentification.h"
#include "DriveSearch.h"
#include "PortdeskActions.h"
#include "SerialFormat.h"

#include <algorithm>
#include <cstring>

namespace {

// The identification reply can carry 255 bytes: at 19200 baud with parity
// that is about 150 ms on the wire, so its wait is paced in milliseconds
// rather than counted in unpaced polls (which end within a few tens of
// milliseconds on a fast machine).
constexpr unsigned long kIdentificationWaitMs = 400;

LinkWaitSettings IdentificationSettings(const CModbus& modbus, const SharedContext& ctx) {
    const unsigned long wait = std::max<unsigned long>(
        1, static_cast<unsigned long>(std::max(0, ctx.Int(kWaitWriteTime).load())));
    const unsigned long polls = std::max<unsigned long>(
        static_cast<unsigned long>(std::max(0, ctx.Int(kPreCountQueTimes).load())),
        kIdentificationWaitMs / wait);
    return {modbus.GetRetryTimes(), wait, polls};
}

// A failed request closes Portdesk's port; the port found is opened again so
// that the handle every plug-in adopts is a live one.
void KeepFoundPortOpen(CPortdeskApp& app, SharedContext& ctx) {
    CModbus& modbus = app.link.modbus;
    if (modbus.hPort > 0 && modbus.hPort == ctx.ComHandle().load())
        return;
    modbus.CloseComPort();
    if (!modbus._OpenComPort(ctx.Int(kComPort).load(), wirelay::MakeSerialDcb(app.iFoundFormat), 1))
        modbus.hPort = 0;
    COMMTIMEOUTS timeouts{0, 0, 100, 0, 100};
    SetCommTimeouts(modbus.hPort, &timeouts);
    ctx.ComHandle().store(modbus.hPort, std::memory_order_release);
}

} // namespace

bool ReadIdentification(CPortdeskApp& app, SharedContext& ctx, unsigned char* data) {
    std::memset(data, 0, kIdentificationBytes);
    DriveLink& link = app.link;
    const LinkWaitSettings before = LinkWaitSettings::From(link.modbus);
    IdentificationSettings(link.modbus, ctx).ApplyTo(link.modbus);
    link.quickSettings = 0; // the wait above is the one this request needs
    unsigned char capacity = static_cast<unsigned char>(kIdentificationBytes);
    const bool answered =
        link.ReportSlaveID(reinterpret_cast<char*>(data), &capacity, nullptr, nullptr) != 0;
    before.ApplyTo(link.modbus);
    KeepFoundPortOpen(app, ctx);
    return answered;
}

void RunCommLoop(CPortdeskApp& app, SharedContext& ctx) {
    if (app.iCommStep.load() != kStepSearchRequested)
        return;
    ReleasePortForSearch(app, ctx);
    const int found = SearchDrive(app, ctx);
    if (SearchStopRequested(app, ctx)) {
        app.iCommResult = kResultCancelled;
        app.iCommStep = kStepSearchFinished;
        return;
    }
    ctx.Int(kLinkFound).store(found);
    unsigned char data[kIdentificationBytes] = {};
    // Without a drive there is nobody to ask: the data stays empty.
    const bool identified = found != 0 && ReadIdentification(app, ctx, data);
    DriveIdentity& identity = ctx.Identity();
    StoreIdentification(ParseIdentification(data, sizeof data), identity);
    DecideDriveModel(identity, ctx.Parms());
    app.iCommResult = found == 0   ? kResultNotFound
                      : identified ? kResultIdentified
                                   : kResultIdentificationFailed;
    app.iCommStep = kStepSearchFinished;
}
