// Portdesk's search without the window: its application object on a shared
// context filled as the host fills it, and CommLoop run once for a request.
#pragma once

#include "ContextStorage.h"
#include "PortdeskActions.h"
#include "PortdeskCommLoop.h"
#include "PortdeskTexts.h"

#include <optional>

class SearchContext {
public:
    SearchContext() {
        storage.CreateParmStore(nullptr);
        HostConfig config;
        config.waitWriteTime = 1;
        config.preCountQueTimes = 50;
        storage.Fill(config, ".", nullptr);
        app.link.AttachContext(&ctx);
    }
    ~SearchContext() { app.link.modbus.CloseComPort(); }
    SearchContext(const SearchContext&) = delete;
    SearchContext& operator=(const SearchContext&) = delete;

    // The list selections (0 = "Auto Search"), then "Connect".
    void Search(int port, int id, int format) {
        app.iPortSel = port;
        app.iIdSel = id;
        app.iFormatSel = format;
        app.iCommResult = kResultStarted;
        app.iCommStep = kStepSearchRequested;
        RunCommLoop(app, ctx);
    }
    // The box the window shows for the finished search, from the built-in texts.
    std::optional<SearchNotice> Notice() {
        ModuleHandle module = &kPortdeskStrings;
        return TakeFinishedSearch(app, ctx, CStringResource(&module));
    }

    ContextStorage storage;
    SharedContext& ctx = storage.Context();
    CPortdeskApp app;
};
