// The internal-position window: the four-group list of the point table, the
// table's transfers and file, and the motion controls. Every drive command
// is posted to the plug-in's cycle; its answer arrives on the window timer.
#pragma once

#include "DLLView.h"
#include "RouteplanCycle.h"

#include <QTimer>
#include <array>
#include <string>

class CListCtrlEx;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;

namespace routeplan {

class CRouteplanApp;

class CRouteplanView : public CDLLView {
    Q_OBJECT
public:
    explicit CRouteplanView(CRouteplanApp& app);
    ~CRouteplanView() override;

    enum Button {
        kRead,
        kWrite,
        kImport,
        kExport,
        kGetPoint,
        kSetPoint,
        kServoOn,
        kServoOff,
        kCheck,
        kHoming,
        kRun,
        kStop,
        kAbsolute,
        kRelative,
        kButtons
    };
    enum JogButton { kInchForward, kInchBackward, kJogForward, kJogBackward, kJogButtons };

    // Commands (public so tests and scripted runs drive them).
    void OnButton(Button button);
    void OnImport(const std::string& path);
    void OnExport(const std::string& path);

    QPushButton* ButtonAt(Button b) const { return buttons_[b]; }
    QPushButton* JogAt(JogButton b) const { return jogs_[b]; }
    CListCtrlEx* List() const { return list_; }
    QLabel* FeedbackLabel() const { return feedback_; }
    QLabel* ModelNote() const { return modelNote_; }
    QSpinBox* endPoint = nullptr;
    QSpinBox* pointNumber = nullptr;
    QSpinBox* pulseCount = nullptr;
    QSpinBox* rpm = nullptr;
    QLineEdit* startPoint = nullptr;
    QLineEdit* delay = nullptr;
    QLineEdit* jogStep = nullptr;
    QLineEdit* pointPosition = nullptr;
    QLineEdit* pointSpeed = nullptr;
    QSlider* speedLimit = nullptr;
    QComboBox* speedChoice = nullptr;
    bool WritesAllowed() const;
    // One tick of the jog timer (public so tests can drive it).
    void PollJog();
    QSize sizeHint() const override;

protected:
    void OnLanguageChanged() override;
    void OnTimerTick() override;

private:
    void BuildForm();
    void ApplyLanguage();
    void ShowModel();
    void EnableMotion();
    // The list.
    void BuildList();
    void LabelList();
    void FillList();
    void ParseList();
    // Commands and answers.
    void Post(int code, bool progress = false);
    bool Guard();
    void HandleAnswer(const CommandPair& answer);
    void ShowVersionMismatch();
    void RequestFeedback();
    int JogSpeed() const;
    std::string Text(unsigned id) const;
    int Box(const std::string& text, unsigned style, unsigned captionId = 244);

    CRouteplanApp& app_;
    std::array<QPushButton*, kButtons> buttons_{};
    std::array<QPushButton*, kJogButtons> jogs_{};
    std::array<QGroupBox*, 6> groups_{};
    std::array<QLabel*, 8> labels_{};
    QLabel* feedback_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* modelNote_ = nullptr;
    QLabel* speedValue_ = nullptr;
    CListCtrlEx* list_ = nullptr;
    QTimer jogTimer_;
    QTimer feedbackTimer_;
    bool inchHeld_ = false;
    bool statusKnown_ = false;
    bool inTimer_ = false;
};

} // namespace routeplan
