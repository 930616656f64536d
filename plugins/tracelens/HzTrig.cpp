#include "HzTrig.h"

#include "PanelSettings.h"
#include "PanelText.h"
#include "TracelensStrings.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace tracelens {

namespace {
QStringList ToList(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts)
        list << QString::fromStdString(text);
    return list;
}
} // namespace

CHzTrig::CHzTrig(PanelSettings& settings, PluginModule& module, QWidget* parent)
    : QWidget(parent), settings_(settings), module_(module) {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    combinationLabel_ = new QLabel(this);
    combination_ = new QComboBox(this);
    top->addWidget(combinationLabel_);
    top->addWidget(combination_, 1);
    layout->addLayout(top);
    for (int t = 0; t < 2; ++t)
        layout->addWidget(BuildTrigger(t));
    layout->addStretch(1);
    connect(combination_, &QComboBox::activated, this, [this](int index) {
        settings_.SetCombination(index);
        Refresh();
    });
    ApplyLanguage();
}

QGroupBox* CHzTrig::BuildTrigger(int t) {
    TriggerControls& c = triggers_[static_cast<std::size_t>(t)];
    c.box = new QGroupBox(this);
    c.sourceLabel = new QLabel(c.box);
    c.source = new QComboBox(c.box);
    c.source->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c.source->setMinimumContentsLength(16);
    c.conditionLabel = new QLabel(c.box);
    c.condition = new QComboBox(c.box);
    c.levelLabel = new QLabel(c.box);
    c.level = new QSpinBox(c.box);
    c.level->setKeyboardTracking(false);
    c.level->setMinimumWidth(100);
    c.unit = new QLabel(c.box);
    c.unit->setMinimumWidth(50);
    c.zero = new QToolButton(c.box);
    auto* grid = new QGridLayout(c.box);
    grid->addWidget(c.sourceLabel, 0, 0);
    grid->addWidget(c.source, 0, 1, 1, 3);
    grid->addWidget(c.conditionLabel, 1, 0);
    grid->addWidget(c.condition, 1, 1, 1, 3);
    grid->addWidget(c.levelLabel, 2, 0);
    grid->addWidget(c.level, 2, 1);
    grid->addWidget(c.unit, 2, 2);
    grid->addWidget(c.zero, 2, 3);
    grid->setColumnStretch(1, 1);

    connect(c.source, &QComboBox::activated, this, [this, t](int index) {
        settings_.SetSource(t, index);
        Refresh();
    });
    connect(c.condition, &QComboBox::activated, this,
            [this, t](int index) { settings_.SetCondition(t, index); });
    connect(c.level, &QSpinBox::valueChanged, this,
            [this, t](int value) { settings_.SetLevel(t, value); });
    connect(c.zero, &QToolButton::clicked, this, [c] { c.level->setValue(0); });
    return c.box;
}

void CHzTrig::SetChoices(const TriggerChoices& choices) {
    choices_ = choices;
    Refresh();
}

void CHzTrig::ApplyLanguage() {
    combinationLabel_->setText(Text(module_, kStrConditions));
    for (int t = 0; t < 2; ++t) {
        const TriggerControls& c = Trigger(t);
        c.box->setTitle(Text(module_, t == 0 ? kStrTrigger1 : kStrTrigger2));
        c.sourceLabel->setText(Text(module_, kStrSource));
        c.conditionLabel->setText(Text(module_, kStrSetup));
        c.levelLabel->setText(Text(module_, kStrLevel));
        c.zero->setText(Text(module_, kStrZero));
    }
    Refresh();
}

void CHzTrig::Refresh() {
    static const char* const kLetters[] = {"A)", "B)", "C)", "D)"};
    QStringList sources;
    for (int ch : settings_.SourceChannels()) {
        const SignalEntry& signal =
            settings_.Signals()[static_cast<std::size_t>(settings_.SelectedSignal(ch))];
        sources << QString("%1 %2").arg(kLetters[ch], QString::fromStdString(signal.name));
    }
    Refill(combination_, ToList(choices_.combinations), settings_.Combination());
    const bool available = settings_.TriggerAvailable();
    setEnabled(available);
    for (int t = 0; t < 2; ++t) {
        const TriggerControls& c = Trigger(t);
        Refill(c.source, sources, settings_.SourceIndex(t));
        Refill(c.condition, ToList(choices_.conditions), settings_.Condition(t));
        {
            const QSignalBlocker quiet(c.level);
            c.level->setRange(-settings_.LevelLimit(t), settings_.LevelLimit(t));
            c.level->setValue(settings_.Level(t));
        }
        c.unit->setText(QString::fromStdString(settings_.LevelUnit(t)));
        c.box->setEnabled(available && settings_.TriggerUsed(t));
    }
}

} // namespace tracelens
