// The vertical panel: for each channel A..D the trace switch, the signal
// list, "Inv", the "Unit /Div." list and the offset with its "0" button;
// "32bit" joins A with B and C with D. Typing "dbgshow" into channel D's
// offset shows the cycle's diagnostic lines.
#pragma once

#include <QSpinBox>
#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QToolButton;
class PluginModule;

namespace tracelens {

class CTracelensApp;
class PanelSettings;

// An offset spin that, for channel D, also takes the word "dbgshow".
class OffsetSpin : public QSpinBox {
    Q_OBJECT
public:
    OffsetSpin(bool takesDebugWord, QWidget* parent);
    // Back to 0, also when the field held a word.
    void ResetToZero();

signals:
    // The user typed into the field.
    void Typed(const QString& text);

protected:
    QValidator::State validate(QString& text, int& pos) const override;

private:
    bool takesDebugWord_;
};

class CVtCh : public QWidget {
    Q_OBJECT
public:
    CVtCh(CTracelensApp& app, PanelSettings& settings, PluginModule& module, QWidget* parent);
    void ApplyLanguage();
    // Shows the settings' state (signal list, selections, ranges).
    void Refresh();

    struct ChannelControls {
        QCheckBox* traceOn;
        QCheckBox* inverted;
        QLabel* dataLabel;
        QComboBox* signal;
        QLabel* unitLabel;
        QComboBox* unitPerDiv;
        QLabel* offsetLabel;
        OffsetSpin* offset;
        QToolButton* zero;
    };
    const ChannelControls& Channel(int ch) const { return channels_[static_cast<std::size_t>(ch)]; }
    QCheckBox* Wide(int pair) const { return wide_[static_cast<std::size_t>(pair)]; }

signals:
    // A choice changed what other panels show (trigger sources, time).
    void SignalsChanged();

private:
    QWidget* BuildChannel(int ch);
    void Connect(int ch);
    void OnOffsetTyped(int ch, const QString& text);
    void RefreshChannel(int ch);

    CTracelensApp& app_;
    PanelSettings& settings_;
    PluginModule& module_;
    std::array<ChannelControls, 4> channels_{};
    std::array<QCheckBox*, 2> wide_{};
};

} // namespace tracelens
