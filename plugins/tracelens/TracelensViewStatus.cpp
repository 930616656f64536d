// The scope window's 47 ms tick: publish, show the newest picture, and react
// to what the cycle published (stops, status, trigger, zoom, presets).
#include "DialogService.h"
#include "PanelText.h"
#include "ScopeChartArea.h"
#include "ScopeIndicator.h"
#include "TracelensApp.h"
#include "TracelensStrings.h"
#include "TracelensView.h"

#include <QLabel>

namespace tracelens {

namespace {
constexpr int kPresetEverything = 40; // ScopeRequestBlock word: presets set every control
const char kChannelLetters[] = "ABCD";
} // namespace

void CTracelensView::OnPublishTick() {
    ScopeRequest& request = app_.WorkingRequest();
    request.word[ScopeRequest::kRectLeft] = 0;
    request.word[ScopeRequest::kRectLeft + 1] = 0;
    request.word[ScopeRequest::kRectLeft + 2] = chart_->width();
    request.word[ScopeRequest::kRectLeft + 3] = chart_->height();
    request.word[ScopeRequest::kRedraw] = 1;
    if (app_.PublishRequest())
        Context().RingCommThread();
    QImage picture;
    if (app_.TakePicture(picture))
        chart_->SetPicture(picture);
    ReactToStatus();
    ApplyRules(); // the drive model may have changed since the window opened
    if (app_.ExternalStop() != 0 && input_.RunMode() != kModeStop)
        PressRun(RunButton::Stop);
}

QString CTracelensView::StatusText() const {
    const ScopeStatus& status = app_.WindowStatus();
    unsigned id = status.status == kStatusRetry ? kStrRetry : kStrReady;
    if (status.lineTooSlow != 0)
        id = kStrLineTooSlow;
    return Text(Module(), id);
}

void CTracelensView::ReactToStatus() {
    const ScopeStatus& status = app_.WindowStatus();
    const auto changed = [&](int counter) {
        if (status.counter[counter] == seenCounters_[static_cast<std::size_t>(counter)])
            return false;
        seenCounters_[static_cast<std::size_t>(counter)] = status.counter[counter];
        return true;
    };
    if (changed(ScopeStatus::kZoomCounter)) {
        ApplyRules();
        RefreshPanels();
    }
    if (changed(ScopeStatus::kStoppedCounter)) {
        const int reason = status.stopReason;
        if (reason == kStopSetupFailed || reason == kStopStopped)
            PressRun(RunButton::Stop);
        if (reason == kStopSetupFailed) {
            status_->Show(Text(Module(), kStrReady), ScopeIndicator::Idle);
            Dialogs().MessageBox(this, Module().Text(kStrCommFailed), Module().Text(kStrTitle),
                                 MessageBoxStyle::kIconError);
        } else if (reason == kStopMessage) {
            Dialogs().MessageBox(this, status.message, Module().Text(kStrTitle),
                                 static_cast<unsigned>(status.messageStyle));
        }
    }
    if (changed(ScopeStatus::kStatusCounter)) {
        const ScopeIndicator::Look look =
            status.status == kStatusRetry
                ? ScopeIndicator::Alarm
                : (status.status == kStatusRunning ? ScopeIndicator::Active : ScopeIndicator::Idle);
        status_->Show(StatusText(), look);
        trig_->Show(trig_->text(), ScopeIndicator::Idle);
    }
    if (changed(ScopeStatus::kTriggerCounter)) {
        trig_->Show(trig_->text(),
                    status.triggered != 0 ? ScopeIndicator::Active : ScopeIndicator::Idle);
        if (status.triggered != 0)
            status_->Show(Text(Module(), kStrReady), ScopeIndicator::Idle);
    }
    if (changed(ScopeStatus::kSettingsCounter)) {
        settings_.Apply(status.settings,
                        Context().ScopeRequest().word[kPresetEverything].load() != 0);
        RefreshPanels();
    }
    ShowReadout();
}

// ΔT and 1/ΔT of the X cursors, or ΔY of the Y cursors per shown channel.
void CTracelensView::ShowReadout() {
    const CursorReadout& cursors = app_.WindowStatus().cursors;
    QStringList lines;
    if (cursors.kind == CursorReadout::kX) {
        lines << QString("%1 = %2 ms")
                     .arg(Text(Module(), kStrDeltaT))
                     .arg(cursors.deltaMs, 0, 'f', 1);
        const QString frequency = cursors.deltaMs != 0
                                      ? QString::number(1000.0 / std::abs(cursors.deltaMs), 'f', 2)
                                      : QString("-");
        lines << QString("%1 = %2 Hz").arg(Text(Module(), kStrFrequency), frequency);
    } else if (cursors.kind == CursorReadout::kY) {
        for (int ch = 0; ch < kChannels; ++ch) {
            if (settings_.SelectedSignal(ch) < 0 || settings_.HiddenByPair(ch) ||
                !settings_.TraceOn(ch))
                continue;
            lines << QString("%1 %2 = %3 %4")
                         .arg(Text(Module(), kStrDeltaY), QChar(kChannelLetters[ch]))
                         .arg(cursors.deltaY[static_cast<std::size_t>(ch)])
                         .arg(QString::fromStdString(
                             app_.MasterChannels()[static_cast<std::size_t>(ch)].unit));
        }
    }
    const QString text = lines.join('\n');
    if (readout_->text() != text)
        readout_->setText(text);
}

} // namespace tracelens
