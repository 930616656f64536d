// The editor window on a context filled as the host fills it, with a dialog
// service that records every box and answers from a script.
#pragma once

#include "ContextStorage.h"
#include "DialogService.h"
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

class ScriptedDialogs : public DialogService {
public:
    struct Box {
        std::string text, caption;
        unsigned style;
    };
    int MessageBox(QWidget*, const std::string& text, const std::string& caption,
                   unsigned style) override {
        boxes.push_back({text, caption, style});
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        // Unscripted questions take their first button.
        return (style & MessageBoxStyle::kButtonMask) == MessageBoxStyle::kRetryCancel
                   ? kAnswerRetry
                   : kAnswerOk;
    }
    std::string GetOpenFileName(QWidget*, const std::string&, const std::string&,
                                const std::string&) override {
        return Next();
    }
    std::string GetSaveFileName(QWidget*, const std::string& caption, const std::string& proposed,
                                const std::string&) override {
        saveProposals.push_back(proposed);
        saveCaptions.push_back(caption);
        return Next();
    }
    bool Saw(const std::string& text) const {
        for (const Box& b : boxes)
            if (b.text == text)
                return true;
        return false;
    }
    std::vector<Box> boxes;
    std::deque<int> answers;
    std::deque<std::string> paths;
    std::vector<std::string> saveProposals; // the path each save dialog proposed
    std::vector<std::string> saveCaptions;

private:
    std::string Next() {
        if (paths.empty())
            return {};
        std::string p = paths.front();
        paths.pop_front();
        return p;
    }
};

// One context and one editor application for the whole test program (the
// plug-in's application object is module-wide, as in the program).
struct EditorHost {
    ContextStorage storage;
    EditorHost() {
        storage.CreateParmStore(nullptr);
        storage.Fill(ReadHostConfig("Velmora.ini"), ".", nullptr);
        Ctx().SetLanguage(kLangKnobset, kLanguageEnglish);
        knobset::CKnobsetApp::Instance().Attach(&Ctx());
    }
    ~EditorHost() { knobset::CKnobsetApp::Instance().StopWorker(); }
    SharedContext& Ctx() { return storage.Context(); }
    static EditorHost& Get() {
        static EditorHost host;
        return host;
    }
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
