// The auto-tuning window: the automatic procedure (steps 1 to 6) on one tab
// and the manual gain estimation on the other. Every drive step goes to the
// plug-in's cycle through the mailbox; its completion arrives on the timer.
#pragma once

#include "DLLView.h"
#include "GainMath.h"
#include "GainwiseSession.h"

#include <array>

class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace gainwise {

class CGainwiseApp;

class CGainwiseView : public CDLLView {
    Q_OBJECT
public:
    explicit CGainwiseView(CGainwiseApp& app);
    ~CGainwiseView() override;

    // The steps and buttons (public so tests and scripted runs drive them).
    void OnServoOn();
    void OnStart();
    void OnServoOff();
    void OnSaveEeprom();
    void OnStiffnessPicked(int level);
    void OnEstimateGains();
    void OnTransfer();

    QTabWidget* Tabs() const { return tabs_; }
    QComboBox* Patterns() const { return patterns_; }
    QLineEdit* EstimateField() const { return estimate_; }
    QSpinBox* InertiaField() const { return inertia_; }
    QComboBox* LevelField() const { return level_; }
    QSpinBox* BandwidthField() const { return bandwidth_; }
    QSpinBox* ReactionField() const { return reaction_; }
    QTableWidget* Table() const { return table_; }
    GainValues Current() const { return current_; }
    GainwiseSession& Session() { return session_; }

protected:
    void OnLanguageChanged() override;
    void OnTimerTick() override;

private:
    enum AutoButton { kServoOnButton, kStartButton, kServoOffButton, kSaveButton, kAutoButtons };
    enum Column { kColParm, kColPrevious, kColCurrent, kColDriver, kColumns };
    void BuildForm();
    QWidget* BuildAutoPage();
    QWidget* BuildManualPage();
    void ApplyLanguage();
    void UpdateEnabling();
    void ShowGains();
    void ShowHint(int level);
    void ShowNews(const TickNews& news);
    bool Confirm(unsigned textId, unsigned captionId = 201);
    void Message(const std::string& text, unsigned captionId = 201);
    std::string Text(unsigned id) const;

    CGainwiseApp& app_;
    GainwiseSession session_;
    QTabWidget* tabs_ = nullptr;
    std::array<QGroupBox*, 6> steps_{};
    std::array<QPushButton*, kAutoButtons> autoButtons_{};
    QComboBox* patterns_ = nullptr;
    QComboBox* autoLevel_ = nullptr;
    QLabel* servoState_ = nullptr;
    QLabel* estimateLabel_ = nullptr;
    QLineEdit* estimate_ = nullptr;
    QGroupBox* manualGroup_ = nullptr;
    std::array<QLabel*, 4> manualLabels_{};
    QSpinBox* inertia_ = nullptr;
    QComboBox* level_ = nullptr;
    QSpinBox* bandwidth_ = nullptr;
    QSpinBox* reaction_ = nullptr;
    QLabel* hint_ = nullptr;
    QPushButton* estimateButton_ = nullptr;
    QTableWidget* table_ = nullptr;
    QCheckBox* setAfterTick_ = nullptr;
    QPushButton* transfer_ = nullptr;
    QPushButton* manualSave_ = nullptr;
    QDialog* progress_ = nullptr;
    GainValues previous_{}, current_{}, driver_{};
    bool computed_ = false;
    bool servoOn_ = false;
    int lastCommand_ = kIdle;
    bool inTick_ = false;
};

} // namespace gainwise
