// The trigger panel: the combination of the two triggers and, per trigger,
// its source channel, condition and level with a "0" button.
#pragma once

#include "TriggerChoices.h"

#include <QWidget>
#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QToolButton;
class QSpinBox;
class PluginModule;

namespace tracelens {

class PanelSettings;

class CHzTrig : public QWidget {
    Q_OBJECT
public:
    CHzTrig(PanelSettings& settings, PluginModule& module, QWidget* parent);
    void ApplyLanguage();
    // The list texts of the language's trigger-choice file.
    void SetChoices(const TriggerChoices& choices);
    void Refresh();

    struct TriggerControls {
        QGroupBox* box;
        QLabel* sourceLabel;
        QComboBox* source;
        QLabel* conditionLabel;
        QComboBox* condition;
        QLabel* levelLabel;
        QSpinBox* level;
        QLabel* unit;
        QToolButton* zero;
    };
    QComboBox* Combination() const { return combination_; }
    const TriggerControls& Trigger(int t) const { return triggers_[static_cast<std::size_t>(t)]; }

private:
    QGroupBox* BuildTrigger(int t);

    PanelSettings& settings_;
    PluginModule& module_;
    TriggerChoices choices_ = DefaultTriggerChoices();
    QLabel* combinationLabel_;
    QComboBox* combination_;
    std::array<TriggerControls, 2> triggers_{};
};

} // namespace tracelens
