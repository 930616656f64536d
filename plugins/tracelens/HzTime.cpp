#include "HzTime.h"

#include "PanelSettings.h"
#include "PanelText.h"
#include "TracelensStrings.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace tracelens {

namespace {
// Auto-repeat steps come about every 100 ms; a longer gap is a new press.
constexpr qint64 kSamePressMs = 400;
} // namespace

TimeSpin::TimeSpin(PanelSettings& settings, QWidget* parent)
    : QSpinBox(parent), settings_(settings) {}

void TimeSpin::stepBy(int steps) {
    if (!sinceStep_.isValid() || sinceStep_.elapsed() > kSamePressMs)
        held_.start();
    sinceStep_.start();
    const int step =
        PanelSettings::TimeStep(value(), settings_.HighSample(), static_cast<int>(held_.elapsed()));
    QSpinBox::stepBy(steps * step);
}

CHzTime::CHzTime(PanelSettings& settings, PluginModule& module, QWidget* parent)
    : QWidget(parent), settings_(settings), module_(module) {
    timeLabel_ = new QLabel(this);
    time_ = new TimeSpin(settings, this);
    delayLabel_ = new QLabel(this);
    delay_ = new QDoubleSpinBox(this);
    delay_->setKeyboardTracking(false);
    time_->setKeyboardTracking(false);
    res_ = new QPushButton(this);
    highSample_ = new QCheckBox(this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(timeLabel_, 0, 0);
    grid->addWidget(time_, 0, 1);
    grid->addWidget(delayLabel_, 1, 0);
    grid->addWidget(delay_, 1, 1);
    grid->addWidget(res_, 1, 2);
    grid->addWidget(highSample_, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);

    connect(time_, &QSpinBox::valueChanged, this, [this](int ms) {
        settings_.SetTimeBase(ms);
        Refresh();
    });
    connect(delay_, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        settings_.SetDelay(value);
        Refresh();
    });
    connect(res_, &QPushButton::clicked, this, [this] {
        settings_.ResetDelay();
        Refresh();
    });
    connect(highSample_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.SetHighSample(on);
        Refresh();
    });
    ApplyLanguage();
    Refresh();
}

void CHzTime::ApplyLanguage() {
    timeLabel_->setText(Text(module_, kStrTimePerDiv));
    delayLabel_->setText(Text(module_, kStrDelay));
    res_->setText(Text(module_, kStrRes));
    highSample_->setText(Text(module_, kStrHighSample));
}

void CHzTime::Refresh() {
    {
        const QSignalBlocker quiet(time_);
        time_->setRange(1, settings_.TimeMax());
        time_->setValue(settings_.TimeBase());
    }
    {
        const QSignalBlocker quiet(highSample_);
        highSample_->setChecked(settings_.HighSample());
    }
    const QSignalBlocker quiet(delay_);
    const bool ms = settings_.HighSample();
    delay_->setDecimals(ms ? 1 : 0);
    delay_->setSingleStep(ms ? settings_.DelayMin() : 1.0);
    delay_->setRange(settings_.DelayMin(), settings_.DelayMax());
    delay_->setValue(QString::fromStdString(settings_.DelayText()).toDouble());
}

void CHzTime::Allow(bool timeEditable, bool highSampleAllowed) {
    time_->setEnabled(timeEditable);
    highSample_->setEnabled(highSampleAllowed);
}

} // namespace tracelens
