#include "VtCh.h"

#include "PanelSettings.h"
#include "PanelText.h"
#include "TracelensApp.h"
#include "TracelensStrings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace tracelens {

namespace {
constexpr char kDebugWord[] = "dbgshow";
constexpr int kSignalChars = 18; // the list's width; its popup shows whole names
} // namespace

OffsetSpin::OffsetSpin(bool takesDebugWord, QWidget* parent)
    : QSpinBox(parent), takesDebugWord_(takesDebugWord) {
    connect(lineEdit(), &QLineEdit::textEdited, this, &OffsetSpin::Typed);
}

void OffsetSpin::ResetToZero() {
    setValue(0);
    lineEdit()->setText(textFromValue(0));
}

QValidator::State OffsetSpin::validate(QString& text, int& pos) const {
    if (takesDebugWord_ && !text.isEmpty() && QString(kDebugWord).startsWith(text))
        return QValidator::Intermediate; // kept in the field, never a value
    return QSpinBox::validate(text, pos);
}

CVtCh::CVtCh(CTracelensApp& app, PanelSettings& settings, PluginModule& module, QWidget* parent)
    : QWidget(parent), app_(app), settings_(settings), module_(module) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    for (int ch = 0; ch < 4; ++ch) {
        layout->addWidget(BuildChannel(ch));
        if (ch % 2 == 0) {
            auto* wide = new QCheckBox(this);
            wide_[static_cast<std::size_t>(ch / 2)] = wide;
            layout->addWidget(wide);
            connect(wide, &QCheckBox::toggled, this, [this, ch](bool on) {
                settings_.SetWide(ch / 2, on);
                Refresh();
            });
        }
        Connect(ch);
    }
    layout->addStretch(1);
    ApplyLanguage();
    Refresh();
}

QWidget* CVtCh::BuildChannel(int ch) {
    auto* box = new QWidget(this);
    ChannelControls& c = channels_[static_cast<std::size_t>(ch)];
    c.traceOn = new QCheckBox(box);
    c.traceOn->setChecked(true);
    c.dataLabel = new QLabel(box);
    c.signal = new QComboBox(box);
    c.signal->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c.signal->setMinimumContentsLength(kSignalChars);
    c.inverted = new QCheckBox(box);
    c.unitLabel = new QLabel(box);
    c.unitPerDiv = new QComboBox(box);
    c.offsetLabel = new QLabel(box);
    c.offset = new OffsetSpin(ch == 3, box);
    c.offset->setMinimumWidth(90);
    c.zero = new QToolButton(box);

    auto* rows = new QVBoxLayout(box);
    rows->setContentsMargins(0, 2, 0, 2);
    auto* top = new QHBoxLayout;
    top->addWidget(c.traceOn);
    top->addWidget(c.dataLabel);
    top->addWidget(c.signal, 1);
    top->addWidget(c.inverted);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(c.unitLabel);
    bottom->addWidget(c.unitPerDiv, 1);
    bottom->addWidget(c.offsetLabel);
    bottom->addWidget(c.offset, 1);
    bottom->addWidget(c.zero);
    rows->addLayout(top);
    rows->addLayout(bottom);
    return box;
}

void CVtCh::Connect(int ch) {
    const ChannelControls& c = Channel(ch);
    connect(c.traceOn, &QCheckBox::toggled, this, [this, ch](bool on) {
        settings_.SetTraceOn(ch, on);
        RefreshChannel(ch);
    });
    connect(c.inverted, &QCheckBox::toggled, this,
            [this, ch](bool on) { settings_.SetInverted(ch, on); });
    connect(c.signal, &QComboBox::activated, this, [this, ch](int index) {
        settings_.SelectSignal(ch, index);
        RefreshChannel(ch);
        emit SignalsChanged();
    });
    connect(c.unitPerDiv, &QComboBox::activated, this,
            [this, ch](int index) { settings_.SelectUnitPerDiv(ch, index); });
    connect(c.offset, &QSpinBox::valueChanged, this,
            [this, ch](int value) { settings_.SetOffset(ch, value); });
    connect(c.zero, &QToolButton::clicked, this, [c] { c.offset->setValue(0); });
    connect(c.offset, &OffsetSpin::Typed, this,
            [this, ch](const QString& text) { OnOffsetTyped(ch, text); });
}

void CVtCh::OnOffsetTyped(int ch, const QString& text) {
    if (ch != 3)
        return;
    const bool debug = text == kDebugWord;
    app_.SetDebug(debug ? 1 : 0);
    if (debug)
        Channel(ch).offset->ResetToZero();
}

void CVtCh::ApplyLanguage() {
    static const char kLetters[] = "ABCD";
    for (int ch = 0; ch < 4; ++ch) {
        const ChannelControls& c = Channel(ch);
        c.traceOn->setText(Text(module_, kStrChannel) + ' ' + QChar(kLetters[ch]));
        c.dataLabel->setText(Text(module_, kStrData));
        c.inverted->setText(Text(module_, kStrInv));
        c.unitLabel->setText(Text(module_, kStrUnitPerDiv));
        c.offsetLabel->setText(Text(module_, kStrOffset));
        c.zero->setText(Text(module_, kStrZero));
    }
    for (QCheckBox* wide : wide_)
        wide->setText(Text(module_, kStr32bit));
}

void CVtCh::Refresh() {
    for (int pair = 0; pair < 2; ++pair) {
        const QSignalBlocker quiet(wide_[static_cast<std::size_t>(pair)]);
        wide_[static_cast<std::size_t>(pair)]->setChecked(settings_.Wide(pair));
    }
    for (int ch = 0; ch < 4; ++ch)
        RefreshChannel(ch);
}

void CVtCh::RefreshChannel(int ch) {
    const ChannelControls& c = Channel(ch);
    QStringList names;
    for (const SignalEntry& entry : settings_.Signals())
        names << QString("%1: %2").arg(entry.code).arg(QString::fromStdString(entry.name));
    Refill(c.signal, names, settings_.SelectedSignal(ch));
    QStringList units;
    for (int value : settings_.UnitChoices(ch).values)
        units << QString::number(value);
    Refill(c.unitPerDiv, units, settings_.UnitIndex(ch));
    {
        const QSignalBlocker quiet(c.offset);
        const int limit = settings_.OffsetLimit(ch);
        c.offset->setRange(-limit, limit);
        c.offset->setValue(app_.MasterChannels()[static_cast<std::size_t>(ch)].offset);
    }
    {
        const QSignalBlocker quiet(c.traceOn);
        c.traceOn->setChecked(settings_.TraceOn(ch));
    }
    {
        const QSignalBlocker quiet(c.inverted);
        c.inverted->setChecked(app_.MasterChannels()[static_cast<std::size_t>(ch)].inverted != 0);
    }
    const bool usable = !settings_.HiddenByPair(ch);
    c.traceOn->setEnabled(usable);
    const bool on = usable && settings_.TraceOn(ch);
    for (QWidget* w :
         std::initializer_list<QWidget*>{c.inverted, c.signal, c.unitPerDiv, c.offset, c.zero})
        w->setEnabled(on);
}

} // namespace tracelens
