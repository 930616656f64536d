#include "GainwiseView.h"

#include "DialogService.h"
#include "GainRegisters.h"
#include "GainwiseApp.h"
#include "GainwiseStrings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace gainwise {

CGainwiseView::CGainwiseView(CGainwiseApp& app)
    : CDLLView(app.Module()), app_(app), session_(app.mailbox, *app.Module().Context()) {
    BuildForm();
    OnStiffnessPicked(0);
    ApplyLanguage();
    session_.Open();
    UpdateEnabling();
}

CGainwiseView::~CGainwiseView() {
    app_.mailbox.SetLinkDemand(0);
}

std::string CGainwiseView::Text(unsigned id) const {
    return Module().Text(id);
}

bool CGainwiseView::Confirm(unsigned textId, unsigned captionId) {
    return Dialogs().MessageBox(this, Text(textId), Text(captionId),
                                MessageBoxStyle::kYesNo | MessageBoxStyle::kIconQuestion) ==
           kAnswerYes;
}

void CGainwiseView::Message(const std::string& text, unsigned captionId) {
    Dialogs().MessageBox(this, text, Text(captionId), MessageBoxStyle::kOk);
}

void CGainwiseView::OnLanguageChanged() {
    ApplyLanguage();
}

// A step without a drive: the confirming steps say so, Step 5 does nothing.
void CGainwiseView::OnServoOn() {
    if (!session_.Connected())
        return Message(Text(kMsgNotConnected));
    if (Confirm(kStrConfirmServoOn) && session_.ServoOn())
        lastCommand_ = kServoOn;
    UpdateEnabling();
}

void CGainwiseView::OnStart() {
    if (!session_.Connected())
        return Message(Text(kMsgNotConnected));
    if (!RegistersFor(Context().Parms().iModel.load()))
        return Message(Text(kStrNoGainParameters));
    if (Confirm(kStrConfirmStart) && session_.Start(patterns_->currentIndex())) {
        lastCommand_ = kExecute;
        estimate_->setText(QString::fromStdString(Text(kStrEstimating)));
    }
    UpdateEnabling();
}

void CGainwiseView::OnServoOff() {
    if (session_.ServoOff())
        lastCommand_ = kServoOff;
    UpdateEnabling();
}

void CGainwiseView::OnSaveEeprom() {
    if (!session_.Connected())
        return Message(Text(kMsgNotConnected));
    if (!RegistersFor(Context().Parms().iModel.load()))
        return Message(Text(kStrNoGainParameters));
    if (!Confirm(kStrConfirmEeprom, kStrOutOfRange) || !session_.SaveEeprom())
        return;
    lastCommand_ = kWriteDrvEEp;
    progress_ = new QDialog(this);
    progress_->setWindowTitle(QString::fromStdString(Text(kStrTitle)));
    auto* layout = new QVBoxLayout(progress_);
    layout->addWidget(new QLabel(QString::fromStdString(Text(kStrWritingEeprom))));
    auto* bar = new QProgressBar;
    bar->setRange(0, 0); // the drive tells no progress: a busy bar
    layout->addWidget(bar);
    progress_->setModal(true);
    progress_->show();
    UpdateEnabling();
}

void CGainwiseView::OnStiffnessPicked(int level) {
    const auto preset = PresetFor(level);
    if (!preset)
        return;
    bandwidth_->setValue(preset->bandwidth);
    reaction_->setValue(preset->reactionTime);
    ShowHint(level);
}

void CGainwiseView::ShowHint(int level) {
    if (const auto preset = PresetFor(level))
        hint_->setText(QString::fromStdString(Text(kStrBandwidthHint)) +
                       QString("%1~%2").arg(preset->lowestBandwidth).arg(preset->highestBandwidth));
}

void CGainwiseView::OnEstimateGains() {
    const GainInput input{inertia_->value(), level_->currentIndex(), bandwidth_->value(),
                          reaction_->value()};
    const GainOutcome outcome = EstimateGains(input);
    bandwidth_->setValue(outcome.corrected.bandwidth);
    reaction_->setValue(outcome.corrected.reactionTime);
    if (outcome.message != kMsgNone)
        return Message(Text(static_cast<unsigned>(outcome.message)));
    if (computed_)
        previous_ = current_;
    current_ = outcome.gains;
    computed_ = true;
    ShowGains();
    UpdateEnabling();
}

void CGainwiseView::OnTransfer() {
    if (!computed_)
        return;
    const int model = Context().Parms().iModel.load();
    if (const auto bad = FirstOutOfRange(current_, RangesFor(model, Context().Parms())))
        return Message(Text(kStrOutOfRange) +
                       RangeText(*bad, RangesFor(model, Context().Parms())[*bad]));
    if (!session_.Connected())
        return Message(Text(kMsgNotConnected));
    if (!RegistersFor(model))
        return Message(Text(kStrNoGainParameters));
    if (Confirm(kStrConfirmTransfer) && session_.Transfer(current_))
        lastCommand_ = kTransAllParms;
    UpdateEnabling();
}

void CGainwiseView::ShowGains() {
    auto show = [this](int column, const GainValues& values, bool known) {
        for (int p = 0; p < kGainParms; ++p)
            table_->item(p, column)->setText(known ? QString::number(values[p]) : QString());
    };
    show(kColPrevious, previous_, computed_ && previous_ != GainValues{});
    show(kColCurrent, current_, computed_);
    show(kColDriver, driver_, driver_ != GainValues{});
}

void CGainwiseView::UpdateEnabling() {
    const bool free = !session_.Busy() || session_.Reading();
    autoButtons_[kServoOnButton]->setEnabled(free);
    autoButtons_[kStartButton]->setEnabled(free && servoOn_);
    autoButtons_[kServoOffButton]->setEnabled(free);
    autoButtons_[kSaveButton]->setEnabled(free);
    const bool transferable = free && computed_ && !setAfterTick_->isChecked();
    transfer_->setEnabled(transferable);
    manualSave_->setEnabled(free);
    estimateButton_->setEnabled(true);
}

void CGainwiseView::ShowNews(const TickNews& news) {
    if (news.finished == kWriteDrvEEp && progress_ != nullptr) {
        progress_->close();
        progress_->deleteLater();
        progress_ = nullptr;
    }
    if (news.servoKnown) {
        servoOn_ = news.servoOn;
        servoState_->setText(
            QString::fromStdString(Text(servoOn_ ? kStrServoIsOn : kStrServoIsOff)));
    }
    if (news.inertiaRead) {
        estimate_->setText(QString::number(news.inertiaRatio));
        inertia_->setValue(news.inertiaRatio); // the manual estimation starts from it
        driver_[kPr004] = news.inertiaRatio;
    }
    if (news.finished == kExecute && !news.success)
        estimate_->setText(QStringLiteral("0"));
    if (news.finished == kTransAllParms && news.success) {
        driver_ = current_;
        ShowGains();
    }
    if (news.finished == kExecute && news.success) {
        level_->setCurrentIndex(autoLevel_->currentIndex());
        OnStiffnessPicked(autoLevel_->currentIndex());
    }
    if (news.message != 0)
        Message(Text(static_cast<unsigned>(news.message)));
}

void CGainwiseView::OnTimerTick() {
    if (inTick_)
        return; // a message box of the tick itself runs the timer again
    inTick_ = true;
    const TickNews news = session_.Tick();
    if (news.finished != kIdle)
        ShowNews(news);
    UpdateEnabling();
    inTick_ = false;
}

} // namespace gainwise
