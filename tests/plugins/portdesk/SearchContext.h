// Portdesk's search without the window: its application object on a shared
// context filled as the host fills it, and CommLoop run once for a request.
#pragma once

#include "ContextStorage.h"
#include "PortdeskCommLoop.h"

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

    ContextStorage storage;
    SharedContext& ctx = storage.Context();
    CPortdeskApp app;
};
