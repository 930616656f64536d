// The editor window on a context filled as the host fills it.
#pragma once

#include "ContextStorage.h"
#include "HostConfig.h"
#include "KnobsetApp.h"
#include "KnobsetDialogs.h"
#include "KnobsetView.h"

#include <QApplication>
#include <QPushButton>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// A fresh context for one test, with the editor's application object (one
// per module, as in the program) attached to it; on destruction the worker
// stops and the port the editor's link holds is closed.
struct EditorHost {
    ContextStorage storage;
    EditorHost() {
        storage.CreateParmStore(nullptr);
        storage.Fill(ReadHostConfig("Velmora.ini"), ".", nullptr);
        Ctx().SetLanguage(kLangKnobset, kLanguageEnglish);
        knobset::CKnobsetApp::Instance().Attach(&Ctx());
    }
    ~EditorHost() {
        knobset::CKnobsetApp& app = knobset::CKnobsetApp::Instance();
        app.StopWorker();
        if (app.link.modbus.hPort > 0)
            app.link.modbus.CloseComPort();
        app.link.modbus.hPort = 0;
    }
    EditorHost(const EditorHost&) = delete;
    EditorHost& operator=(const EditorHost&) = delete;
    SharedContext& Ctx() { return storage.Context(); }
    void SetDrive(int model, bool online) {
        SharedContext& ctx = Ctx();
        ctx.Parms().iModel = model;
        ctx.Int(kOnline) = online ? 1 : 0;
        ctx.Int(kSuspendExtern) = 1; // the editor's own worker runs the jobs
        const char* texts[4][3] = {{"T5-400W", "t5-400w", "hq_417"},
                                   {"W5-750W", "w5-750w", "Whq_417"},
                                   {"rk 905", "rk", "rk_905"}};
        for (int e = 0; e < 3; ++e)
            ctx.Identity().Set(e + 1, texts[model][e]);
        ctx.SetLanguageApplied(kLangKnobset, 0);
    }
};

// Clicks the first button of a dialog (its confirm button).
inline int Confirm(QDialog& dialog) {
    dialog.findChildren<QPushButton*>().front()->click();
    return dialog.result();
}
