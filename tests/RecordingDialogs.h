// Stands in for every message box and file dialog while it lives: records each
// box and answers from a script, so a test sees what the user would have seen.
#pragma once

#include "DialogService.h"

#include <deque>
#include <string>
#include <vector>

class RecordingDialogs final : public DialogService {
public:
    struct Box {
        std::string text, caption;
        unsigned style;
    };

    RecordingDialogs() { InstallDialogService(this); }
    ~RecordingDialogs() override { InstallDialogService(nullptr); }
    RecordingDialogs(const RecordingDialogs&) = delete;
    RecordingDialogs& operator=(const RecordingDialogs&) = delete;

    int MessageBox(QWidget*, const std::string& text, const std::string& caption,
                   unsigned style) override {
        boxes.push_back({text, caption, style});
        if (!answers.empty()) {
            const int next = answers.front();
            answers.pop_front();
            return next;
        }
        switch (style & MessageBoxStyle::kButtonMask) {
        case MessageBoxStyle::kYesNo:
            return answer;
        case MessageBoxStyle::kRetryCancel:
            return kAnswerRetry; // the first button, as OK elsewhere
        default:
            return kAnswerOk;
        }
    }
    std::string GetOpenFileName(QWidget*, const std::string&, const std::string&,
                                const std::string&) override {
        return NextPath();
    }
    std::string GetSaveFileName(QWidget*, const std::string& caption, const std::string& proposed,
                                const std::string&) override {
        saveProposals.push_back(proposed);
        saveCaptions.push_back(caption);
        return NextPath();
    }
    bool Saw(const std::string& text) const {
        for (const Box& b : boxes)
            if (b.text == text)
                return true;
        return false;
    }

    std::vector<Box> boxes;
    std::deque<int> answers;                // for the next boxes, in order
    int answer = kAnswerYes;                // then to every Yes/No question (OK to the rest)
    std::deque<std::string> paths;          // for the next file dialogs ("" = cancelled)
    std::vector<std::string> saveProposals; // the path each save dialog proposed
    std::vector<std::string> saveCaptions;

private:
    std::string NextPath() {
        if (paths.empty())
            return {};
        std::string path = std::move(paths.front());
        paths.pop_front();
        return path;
    }
};
