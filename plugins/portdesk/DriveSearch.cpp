#include "DriveSearch.h"

#include "CommApi.h"
#include "PortMap.h"
#include "SerialFormat.h"

#include <cstring>

namespace {

struct LoopRange {
    int first;
    int last;
};

// A fixed selection (1-based) or every value from 1 to `count`.
LoopRange Range(int selection, int count) {
    return selection != 0 ? LoopRange{selection, selection} : LoopRange{1, count};
}

// The settings the driver reports for the port just opened, with the serial
// format being tried: a driver that cannot show a parity (a pseudo-terminal
// never reports one) must not make the other plug-ins reopen without it.
void PublishPortSettings(const CModbus& modbus, int format, SharedContext& ctx) {
    COMMCONFIG config{};
    DWORD size = sizeof config;
    if (!GetCommConfig(modbus.hPort, &config, &size))
        return;
    wirelay::ApplySerialFormat(format, config.dcb);
    std::memcpy(ctx.CommDcb().bytes, &config.dcb, CommDcbBlock::kSize);
}

// One probe on the port the search has open.
bool Probe(DriveLink& link) {
    unsigned short zero = 0;
    return link.WriteMultipleRegisters(kProbeRegister, 1, &zero) != 0;
}

} // namespace

int SearchCombinations(int portSel, int idSel, int formatSel) {
    int count = 1;
    if (portSel == 0)
        count *= CPortdeskApp::kPorts;
    if (idSel == 0)
        count *= CPortdeskApp::kAddresses;
    if (formatSel == 0)
        count *= static_cast<int>(kAutoFormatOrder.size());
    return count;
}

bool SearchStopRequested(const CPortdeskApp& app, const SharedContext& ctx) {
    return app.Cancelled() || ctx.Int(kCloseRequest).load() != 0;
}

int SearchDrive(CPortdeskApp& app, SharedContext& ctx) {
    DriveLink& link = app.link;
    CModbus& modbus = link.modbus;
    if (app.firstSearch) {
        app.savedSettings = LinkWaitSettings::From(modbus);
        app.firstSearch = false;
    }
    // The guarded call reopens only Portdesk's own port number, which is
    // never set: a failed probe can never move the search to another port.
    link.searching = 1;
    LinkWaitSettings{kProbeRetryTimes, kProbeWaitWriteMs, kProbePreCountQueTimes}.ApplyTo(modbus);
    app.portFlags.fill(1);

    const LoopRange addresses = Range(app.iIdSel, CPortdeskApp::kAddresses);
    const LoopRange positions = Range(app.iFormatSel, static_cast<int>(kAutoFormatOrder.size()));
    const LoopRange ports = Range(app.iPortSel, CPortdeskApp::kPorts);
    int count = 0;
    int position = positions.first;
    bool found = false;
    bool stopped = false;
    bool anyOpened = false;
    std::string refused;
    for (int d = addresses.first; d <= addresses.last && !found && !stopped; ++d) {
        modbus.SetSlaveAddress(static_cast<std::uint8_t>(d));
        for (position = positions.first; position <= positions.last && !found && !stopped;
             ++position) {
            const int format =
                app.iFormatSel != 0 ? app.iFormatSel - 1 : kAutoFormatOrder[position - 1];
            const DCB dcb = wirelay::MakeSerialDcb(format);
            for (int k = ports.first; k <= ports.last; ++k) {
                app.TryPublishProgress(++count, position);
                if (SearchStopRequested(app, ctx)) {
                    modbus.CloseComPort();
                    stopped = true;
                    break;
                }
                if (app.portFlags[k] != 1)
                    continue;
                modbus.CloseComPort();
                app.portFlags[k] = modbus._OpenComPort(k, dcb, 1);
                if (app.portFlags[k] != 1) {
                    if (refused.empty() && LastOpenRefusedPermission())
                        refused = wirelay::ResolveComPort(k).devicePath;
                    continue;
                }
                anyOpened = true;
                PublishPortSettings(modbus, format, ctx);
                if (Probe(link)) {
                    found = true;
                    ctx.Int(kComPort).store(k);
                    ctx.Int(kSlaveId).store(d);
                    app.iFoundFormat = format;
                    break;
                }
            }
        }
    }
    app.permissionDenied = found || anyOpened ? std::string() : refused;
    // The format loop leaves `position` one past the last one tried.
    app.PublishProgress(count, position - 1);
    app.savedSettings.ApplyTo(modbus);
    if (found) {
        COMMTIMEOUTS timeouts{0, 0, 100, 0, 100};
        SetCommTimeouts(modbus.hPort, &timeouts);
        ctx.ComHandle().store(modbus.hPort, std::memory_order_release);
    } else {
        // Nothing found: no port stays held away from other programs.
        modbus.CloseComPort();
    }
    link.searching = 0;
    return found ? 1 : 0;
}
