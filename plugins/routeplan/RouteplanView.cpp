#include "RouteplanView.h"

#include "CListCtrlEx.h"
#include "DialogService.h"
#include "RouteplanApp.h"
#include "RouteplanStrings.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <algorithm>

namespace routeplan {

CRouteplanView::CRouteplanView(CRouteplanApp& app) : CDLLView(app.Module()), app_(app) {
    setObjectName("RouteplanView");
    BuildForm();
    ApplyLanguage();
    FillList();
    ShowModel();
    connect(&jogTimer_, &QTimer::timeout, this, &CRouteplanView::PollJog);
    connect(&feedbackTimer_, &QTimer::timeout, this, &CRouteplanView::RequestFeedback);
    jogTimer_.start(10);
    feedbackTimer_.start(500);
    app_.board.Open();
    // The opening read shows its progress window once the window is up.
    QTimer::singleShot(0, this, [this] {
        if (Context().Int(kOnline).load() != 0)
            Post(CS_ReadAllParms, true);
    });
}

CRouteplanView::~CRouteplanView() {
    jogTimer_.stop();
    feedbackTimer_.stop();
    const bool servoOn = app_.board.WithMotion([](MotionValues& m) { return m.servoOn; });
    app_.board.Close();
    // Nothing keeps the motor powered and the drive under host control once
    // the window that commands it is gone.
    if (servoOn && WritesAllowed() && !app_.board.Post(CS_ServoOff))
        app_.board.Release();
    Context().Claim(kClaimRouteplan).iState.store(0);
    Context().RingCommThread();
}

std::string CRouteplanView::Text(unsigned id) const {
    return Module().Text(id);
}

int CRouteplanView::Box(const std::string& text, unsigned style, unsigned captionId) {
    return Dialogs().MessageBox(this, text, Text(captionId), style);
}

bool CRouteplanView::WritesAllowed() const {
    return RouteplanJobs::WritesAllowed(Context().Parms().iModel.load());
}

void CRouteplanView::OnLanguageChanged() {
    ApplyLanguage();
}

void CRouteplanView::ApplyLanguage() {
    auto q = [this](unsigned id) { return QString::fromStdString(Text(id)); };
    const unsigned buttonTexts[kButtons] = {
        kStrRead,     kStrWrite,   kStrImport,   kStrExport,      kStrGetPoint,
        kStrSetPoint, kStrServoOn, kStrServoOff, kStrCheckStatus, kStrHoming,
        kStrRun,      kStrStop,    kStrAbsolute, kStrRelative};
    for (int b = 0; b < kButtons; ++b)
        buttons_[b]->setText(q(buttonTexts[b]));
    for (int j = 0; j < kJogButtons; ++j)
        jogs_[j]->setText(q(kStrJogFirst + j));
    for (int g = 0; g < static_cast<int>(groups_.size()); ++g)
        groups_[g]->setTitle(q(kStrGroupRun + g));
    const unsigned labelTexts[] = {kStrStartPoint, kStrEndPoint,  kStrDelay,
                                   kStrPulseCount, kStrRpm,       kStrJogStep,
                                   kStrSpeedLimit, kStrFeedback};
    for (std::size_t l = 0; l < labels_.size(); ++l)
        labels_[l]->setText(q(labelTexts[l]));
    for (int s = 0; s < 3; ++s)
        speedChoice->setItemText(s, q(kStrSpeedFirst + s));
    modelNote_->setText(q(kStrNeedsT8));
    LabelList();
    EnableMotion();
    setWindowTitle(q(kStrTitle));
    if (parentWidget() != nullptr)
        parentWidget()->setWindowTitle(q(kStrTitle));
}

// On a T5 or W5 the table's registers hold other parameters: the window says
// so and offers only what reads.
void CRouteplanView::ShowModel() {
    modelNote_->setVisible(!WritesAllowed());
    EnableMotion();
}

void CRouteplanView::EnableMotion() {
    const bool writes = WritesAllowed();
    const MotionValues m = app_.board.WithMotion([](MotionValues& v) { return v; });
    const bool on = writes && m.servoOn;
    buttons_[kWrite]->setEnabled(writes);
    buttons_[kSetPoint]->setEnabled(writes);
    buttons_[kServoOn]->setEnabled(writes && !m.servoOn);
    buttons_[kServoOff]->setEnabled(on);
    // Mode 6 runs the table's points, mode 7 moves by pulses.
    groups_[0]->setEnabled(on && m.controlMode == 6);
    groups_[1]->setEnabled(on && m.controlMode == 7);
    groups_[2]->setEnabled(on);
    if (statusKnown_)
        status_->setText(QString::fromStdString(Text(m.servoOn ? kStrServoIsOn : kStrServoIsOff)) +
                         "   " + QString::fromStdString(Text(kStrModeLabel)) + " " +
                         QString::number(m.controlMode));
}

void CRouteplanView::OnTimerTick() {
    if (inTimer_)
        return;
    inTimer_ = true;
    if (app_.board.TakeStoppedByYield())
        Box(Text(kStrYielded), MessageBoxStyle::kOk | MessageBoxStyle::kIconInformation);
    const CommandPair pair = app_.board.Current();
    if (IsAnswer(pair.code)) {
        app_.board.Release();
        HandleAnswer(pair);
    }
    inTimer_ = false;
}

int CRouteplanView::JogSpeed() const {
    static constexpr SharedSlot kPercent[] = {kJogSpdSlow, kJogSpdMedium, kJogSpdFast};
    const int percent = Context().Int(kPercent[std::clamp(speedChoice->currentIndex(), 0, 2)]);
    return speedLimit->value() * percent / 100;
}

// Held jog buttons: a step jog goes once per press, a continuous jog is
// renewed every tick while its button is down and runs out on the drive's
// time-out once it is released.
void CRouteplanView::PollJog() {
    int held = -1;
    for (int j = 0; j < kJogButtons; ++j)
        if (jogs_[j]->isDown() && jogs_[j]->isEnabled())
            held = j;
    const bool inching = held == kInchForward || held == kInchBackward;
    if (held < 0 || (inching && inchHeld_)) {
        inchHeld_ = held >= 0;
        if (held < 0)
            app_.board.WithMotion([](MotionValues& m) { m.speedUpdate = 0; });
        return;
    }
    inchHeld_ = inching;
    const int step = jogStep->text().toInt();
    const int speed = JogSpeed();
    app_.board.WithMotion([&](MotionValues& m) {
        m.jogPending = true;
        m.stepForward = held == kInchForward;
        m.stepBackward = held == kInchBackward;
        m.runForward = held == kJogForward;
        m.runBackward = held == kJogBackward;
        m.jogStep = step;
        m.jogSpeed = speed;
        if (m.speedUpdate == 0)
            m.speedUpdate = 1;
    });
    if (app_.board.PostCurrent(CS_ReadPosFeedback))
        Context().RingCommThread();
}

// The 500 ms timer: the fed-back position while the servo is on.
void CRouteplanView::RequestFeedback() {
    const bool on = app_.board.WithMotion([](MotionValues& m) { return m.servoOn; });
    if (on && Context().Int(kOnline).load() != 0 && app_.board.Post(CS_ReadPosFeedback))
        Context().RingCommThread();
}

} // namespace routeplan
