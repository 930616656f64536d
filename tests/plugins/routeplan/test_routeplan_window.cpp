// The internal-position window without a drive: the guards before a request
// (off-line, T5/W5, point numbers), the answers it shows, the jog speed and
// the file commands.
#include "CListCtrlEx.h"
#include "RecordingDialogs.h"
#include "RouteplanApp.h"
#include "RouteplanFixture.h"
#include "RouteplanStrings.h"
#include "RouteplanView.h"
#include "TempDir.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <gtest/gtest.h>
#include <memory>

using namespace routeplan;

namespace {

class Window : public testing::Test {
protected:
    explicit Window(int model = kModelT8, int online = 0) : context_(model) {
        Ctx().Int(kOnline) = online;
        Ctx().SetLanguage(kLangRouteplan, kLanguageEnglish);
        app_.Attach(&Ctx());
        ResetBoard();
        view_ = std::make_unique<CRouteplanView>(app_);
        view_->OnTimer();
    }
    ~Window() override {
        view_.reset();
        ResetBoard();
    }
    // The plug-in's one board, as a fresh program has it.
    void ResetBoard() {
        std::lock_guard lock(app_.board.requestLock);
        app_.board.request = app_.board.current = {};
        app_.board.newRequest = app_.board.closing = false;
        app_.board.motion = MotionValues{};
    }
    SharedContext& Ctx() { return context_.Ctx(); }
    // The answer `code` + 1 with `result`, as the cycle publishes it.
    void Answer(int code, int result) {
        std::lock_guard lock(app_.board.requestLock);
        app_.board.current = {code + 1, result};
    }

    RecordingDialogs dialogs_;
    RouteplanContext context_;
    CRouteplanApp& app_ = CRouteplanApp::Instance();
    std::unique_ptr<CRouteplanView> view_;
};

TEST_F(Window, OfflineCommandsSayNotConnectedAndPostNothing) {
    view_->OnButton(CRouteplanView::kServoOn);
    view_->OnButton(CRouteplanView::kRead);
    EXPECT_EQ(dialogs_.boxes.size(), 2u);
    EXPECT_TRUE(dialogs_.Saw("Not connected"));
    EXPECT_FALSE(app_.board.Busy());
}

class OnlineWindow : public Window {
protected:
    OnlineWindow() : Window(kModelT8, 1) { app_.board.Release(); }
};

TEST_F(OnlineWindow, AnswersShowTheirMessages) {
    const struct {
        int code, result;
        std::string shown;
    } cases[] = {
        {CS_ReadAllParms, kResultVersion,
         "Version different,\r\n\r\nversion of list:    hq_417\r\nversion of drive: rk_905"},
        {CS_SetPositionPointParm, kResultSuccess, "Set position point Success"},
        {CS_RelativePosMovement, kResultFailure, "Set position point fail"},
        {CS_Homing, kResultFailure, "Abnormal communication"},
        {CS_ServoOn, kResultFailure, "Err code. 21"}, // the alarm that refused it
    };
    app_.board.WithMotion([](MotionValues& m) { m.alarmCode = 21; });
    Ctx().OfflineIdentity().Set(3, "hq_417");
    Ctx().Identity().Set(3, "rk_905");
    for (const auto& c : cases) {
        dialogs_.boxes.clear();
        Answer(c.code, c.result);
        view_->OnTimer();
        ASSERT_FALSE(dialogs_.boxes.empty()) << c.shown;
        EXPECT_EQ(dialogs_.boxes.front().text, c.shown);
        app_.board.Release();
    }
}

TEST_F(OnlineWindow, HomingAndRunAskFirstAndOnlyOkSends) {
    dialogs_.answers = {kAnswerCancel};
    view_->OnButton(CRouteplanView::kHoming);
    EXPECT_FALSE(app_.board.Busy());
    EXPECT_EQ(dialogs_.boxes.back().text,
              "Click to return to the original point, do you want to continue?");
    view_->endPoint->setValue(3);
    view_->OnButton(CRouteplanView::kRun);
    EXPECT_EQ(dialogs_.boxes.back().text,
              "Click to perform point movement, do you want to continue?");
    EXPECT_EQ(app_.board.request.code, CS_Run);
    EXPECT_EQ(app_.board.WithMotion([](MotionValues& m) { return m.endPoint; }), 3);
}

TEST_F(OnlineWindow, JogSpeedIsTheLimitTimesTheChosenPercent) {
    Ctx().Int(kJogSpdMedium) = 33;
    app_.board.WithMotion([](MotionValues& m) { m.servoOn = true; });
    Answer(CS_ReadPosFeedback, kResultSuccess); // the jog buttons follow the servo
    view_->OnTimer();
    view_->speedLimit->setValue(1000);
    view_->JogAt(CRouteplanView::kJogForward)->setDown(true);
    view_->PollJog();
    const MotionValues m = app_.board.WithMotion([](MotionValues& v) { return v; });
    EXPECT_EQ(m.jogSpeed, 330);
    EXPECT_TRUE(m.jogPending && m.runForward);
    EXPECT_EQ(m.speedUpdate, 1);
    EXPECT_EQ(app_.board.Current().code, CS_ReadPosFeedback);
    view_->JogAt(CRouteplanView::kJogForward)->setDown(false);
    view_->PollJog();
    EXPECT_EQ(app_.board.WithMotion([](MotionValues& v) { return v.speedUpdate; }), 0);
}

TEST_F(OnlineWindow, ImportRefusesABrokenFileAndKeepsTheList) {
    TempDir dir;
    view_->List()->SetItemText(1, 1, "1234");
    view_->OnExport(dir.File("t.rtpx"));
    view_->List()->SetItemText(1, 1, "0");
    view_->OnImport(dir.File("t.rtpx"));
    EXPECT_EQ(view_->List()->GetItemText(1, 1), "1234");
    view_->OnImport(dir.File("missing.rtpx"));
    EXPECT_EQ(dialogs_.boxes.back().text,
              dir.File("missing.rtpx") + "\ncannot be read, or is larger than 1 MiB.");
    EXPECT_EQ(view_->List()->GetItemText(1, 1), "1234");
}

class T5Window : public Window {
protected:
    T5Window() : Window(kModelT5, 1) { app_.board.Release(); }
};

TEST_F(T5Window, SaysItNeedsAT8AndSendsNoWrite) {
    EXPECT_FALSE(view_->ModelNote()->isHidden());
    for (auto b : {CRouteplanView::kWrite, CRouteplanView::kSetPoint, CRouteplanView::kServoOn,
                   CRouteplanView::kHoming, CRouteplanView::kRun, CRouteplanView::kAbsolute}) {
        view_->OnButton(b);
        EXPECT_FALSE(app_.board.Busy()) << b;
    }
    EXPECT_TRUE(dialogs_.Saw(app_.Module().Text(kStrNeedsT8)));
    view_->OnButton(CRouteplanView::kGetPoint); // reading is fine
    EXPECT_EQ(app_.board.request.code, CS_GetPositionPointParm);
}

} // namespace
