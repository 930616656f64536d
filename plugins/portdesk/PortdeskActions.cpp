#include "PortdeskActions.h"

#include "DialogService.h"
#include "DriveSearch.h"
#include "PortdeskTexts.h"
#include "SerialFormat.h"

namespace {

constexpr int kConnectedTools = MenuEnableFlags::kKnobset | MenuEnableFlags::kTracelens |
                                MenuEnableFlags::kMonitor | MenuEnableFlags::kGainwise |
                                MenuEnableFlags::kRouteplan;

} // namespace

bool SearchPending(const CPortdeskApp& app) {
    return app.iCommStep.load() != kStepIdle || app.iCommResult.load() != kResultNone;
}

SearchStart StartSearch(CPortdeskApp& app, SharedContext& ctx, const CStringResource& texts,
                        int portSel, int idSel, int formatSel) {
    SearchStart start;
    if (SearchPending(app)) {
        start.busy = true;
        start.busyMessage = FillTemplate(texts.GetResString(PortdeskString::kBusy),
                                         {std::string(CommStepName(app.iCommStep.load()))});
        return start;
    }
    ctx.Int(kLinkFound).store(0);
    app.iPortSel = portSel;
    app.iIdSel = idSel;
    app.iFormatSel = formatSel;
    start.progressRange = SearchCombinations(portSel, idSel, formatSel);
    start.showFormatProgress = idSel == 0 && formatSel == 0;
    app.SetCancel(0);
    app.PublishProgress(0, 0);
    app.iCommResult = kResultStarted;
    app.iCommStep = kStepSearchRequested;
    ctx.RingCommThread();
    return start;
}

void ReleasePortForSearch(CPortdeskApp& app, SharedContext& ctx) {
    app.link.modbus.CloseComPort();
    ctx.ComHandle().store(app.link.modbus.hPort, std::memory_order_release);
}

std::optional<SearchNotice> TakeFinishedSearch(CPortdeskApp& app, SharedContext& ctx,
                                               const CStringResource& texts) {
    if (app.iCommStep.load() != kStepSearchFinished)
        return std::nullopt;
    app.iCommStep = kStepIdle;
    SearchNotice notice;
    notice.result = app.iCommResult.load();
    using namespace MessageBoxStyle;
    switch (notice.result) {
    case kResultIdentified:
        notice.style = kIconInformation;
        notice.text =
            FillTemplate(texts.GetResString(PortdeskString::kFoundBody),
                         {texts.GetResString(PortdeskString::kConnected), ctx.Int(kComPort).load(),
                          static_cast<int>(wirelay::GetSerialFormat(app.iFoundFormat).baudRate),
                          std::string(FramingText(app.iFoundFormat)), ctx.Int(kSlaveId).load()});
        break;
    case kResultNotFound:
        notice.style = kIconError;
        notice.text = std::string(kCommFailedText) + "\n" +
                      (app.permissionDenied.empty()
                           ? texts.GetResString(PortdeskString::kCommFailedHelp)
                           : FillTemplate(texts.GetResString(PortdeskString::kPermissionHelp),
                                          {app.permissionDenied}));
        break;
    case kResultIdentificationFailed:
        notice.style = kIconError;
        notice.text = texts.GetResString(PortdeskString::kIdentificationFailed);
        break;
    case kResultCancelled:
        notice.style = kIconWarning;
        notice.text = texts.GetResString(PortdeskString::kSearchStopped);
        break;
    default:
        break;
    }
    return notice;
}

void ApplyConnected(SharedContext& ctx) {
    const int model = ctx.Parms().iModel.load();
    ctx.UpdateMenu([model](int flags) {
        flags |= kConnectedTools;
        if (model == kModelT5)
            flags &= ~MenuEnableFlags::kLinearTools;
        else if (model == kModelW5)
            flags |= MenuEnableFlags::kLinearTools;
        return flags;
    });
    ctx.Int(kOnline).store(1);
}

void RequestParameterEditor(SharedContext& ctx) {
    ctx.UpdateMenu([](int flags) { return flags | MenuEnableFlags::kOpenEditor; });
}

void ApplyOffline(SharedContext& ctx, int selection) {
    if (selection < 0 || selection > 2)
        return;
    ctx.Int(kVersionSelect).store(selection);
    ctx.Parms().iModel = selection;
    DriveIdentity& identity = ctx.Identity();
    switch (selection) {
    case 0:
        identity.Set(3, "hQ_417");
        identity.Set(2, "t5");
        identity.Set(1, kVersionNames[0]);
        break;
    case 1:
        identity.Set(3, "WhQ_417");
        identity.Set(2, "w5");
        identity.Set(1, kVersionNames[1]);
        break;
    default:
        ctx.OfflineIdentity().Set(1, "rk 905");
        identity.Set(1, "rk 905");
        identity.Set(3, "rk_905");
        identity.Set(2, "rk");
        break;
    }
    ctx.Int(kOnline).store(0);
    ctx.UpdateMenu([](int flags) {
        flags |= MenuEnableFlags::kConnect | MenuEnableFlags::kOpenEditor |
                 MenuEnableFlags::kTracelens | MenuEnableFlags::kMonitor |
                 MenuEnableFlags::kGainwise | MenuEnableFlags::kRouteplan;
        return flags & ~MenuEnableFlags::kLinearTools;
    });
}
