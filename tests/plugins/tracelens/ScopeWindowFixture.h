// The scope window on a standalone context, with the program's language
// tables (tests run in the application folder) and a cd.dat of choice.
#pragma once

#include "PluginModule.h"
#include "StandaloneContext.h"
#include "TempDir.h"
#include "TracelensApp.h"
#include "TracelensStrings.h"
#include "TracelensView.h"

#include <QApplication>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace tracelens {

class ScopeWindow : public testing::Test {
protected:
    // `catalogue`: the cd.dat of the start folder; empty: the program's own.
    void Open(const std::string& catalogue = std::string(), int model = kModelT5) {
        context.Context().Parms().iModel = model;
        std::string startDir = std::filesystem::current_path().string();
        if (!catalogue.empty()) {
            startDir = dir.Path().string();
            if (catalogue != "none")
                dir.Write("cd.dat", catalogue);
        }
        module.Attach(&context.Context());
        context.Context().SetLanguage(kLangTracelens, kLanguageEnglish);
        view = std::make_unique<CTracelensView>(module, app, startDir);
        view->resize(1270, 700);
        view->show();
        Settle();
    }
    void Language(int id) {
        context.Context().SetLanguage(kLangTracelens, id);
        Settle();
    }
    static void Settle(int ms = 60) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < until) {
            QApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    ~ScopeWindow() override { view.reset(); }

    TempDir dir;
    StandaloneContext context;
    CTracelensApp app;
    PluginModule module{{"Trace", kLangTracelens, MenuEnableFlags::kTracelens, 1280, 800},
                        &kTracelensStrings};
    std::unique_ptr<CTracelensView> view;
};

} // namespace tracelens
