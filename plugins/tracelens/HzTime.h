// The time base panel: the time per division (a spin that speeds up while
// held), "Delay" with "Res", and "High Sample".
#pragma once

#include <QElapsedTimer>
#include <QSpinBox>
#include <QWidget>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class PluginModule;

namespace tracelens {

class PanelSettings;

// Steps by PanelSettings::TimeStep: the longer an arrow is held, the larger.
class TimeSpin : public QSpinBox {
    Q_OBJECT
public:
    TimeSpin(PanelSettings& settings, QWidget* parent);
    void stepBy(int steps) override;

private:
    PanelSettings& settings_;
    QElapsedTimer held_;
    QElapsedTimer sinceStep_;
};

class CHzTime : public QWidget {
    Q_OBJECT
public:
    CHzTime(PanelSettings& settings, PluginModule& module, QWidget* parent);
    void ApplyLanguage();
    void Refresh();
    // The window's rules: the time only while not zoomed; High Sample only
    // while stopped, not zoomed and on a linear drive.
    void Allow(bool timeEditable, bool highSampleAllowed);

    QSpinBox* Time() const { return time_; }
    QDoubleSpinBox* Delay() const { return delay_; }
    QPushButton* Res() const { return res_; }
    QCheckBox* HighSample() const { return highSample_; }

private:
    PanelSettings& settings_;
    PluginModule& module_;
    QLabel* timeLabel_;
    TimeSpin* time_;
    QLabel* delayLabel_;
    QDoubleSpinBox* delay_;
    QPushButton* res_;
    QCheckBox* highSample_;
};

} // namespace tracelens
