// The internal-position window on-line with the simulated T8 (control mode
// 6) on a pseudo-terminal, the test playing the comm thread: the opening
// read, servo on, homing, a transfer of three points and a run to point 3
// that the fed-back position shows.
#include "CListCtrlEx.h"
#include "DriveSim.h"
#include "KnobsetDialogs.h"
#include "RecordingDialogs.h"
#include "RouteplanApp.h"
#include "RouteplanFixture.h"
#include "RouteplanView.h"
#include "SerialFormat.h"
#include "TempDir.h"
#include "WaitUntil.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace routeplan;

namespace {

class OnlineT8 : public testing::Test {
protected:
    OnlineT8() : sim_(Config(dir_)) {
        sim_.Start();
        Ctx().SetLanguage(kLangRouteplan, kLanguageEnglish);
        opener_.dcb = wirelay::MakeSerialDcb(3);
        EXPECT_EQ(opener_.modbus._OpenDevicePort(sim_.SlavePath().c_str(), opener_.dcb, 1), 1);
        opener_.PublishPort(Ctx());
        app_.Attach(&Ctx());
        app_.board.Release();
        app_.board.WithMotion([](MotionValues& m) { m = MotionValues{}; });
        // The progress window waits while the test runs the cycles.
        knobset::InstallModalAnswerer([this](QDialog&) {
            EXPECT_TRUE(
                Cycle([this] { return app_.board.transferDone.load() != 0; }, "the transfer"));
            return 1;
        });
    }
    ~OnlineT8() override {
        view_.reset();
        for (int i = 0; i < 3 && app_.board.Busy(); ++i)
            app_.RunCycle(); // the servo off of the closing window
        knobset::InstallModalAnswerer(nullptr);
        opener_.modbus.CloseComPort();
        app_.link.modbus.hPort = 0;
    }
    static drivesim::SimConfig Config(const TempDir& dir) {
        std::ofstream(dir.File("t8.eeprom")) << "[Drive]\nModel=t8\n[Eeprom]\nPr2=6\n";
        drivesim::SimConfig config;
        config.model = drivesim::DriveModel::T8;
        config.dataDir = std::filesystem::current_path().string();
        config.statePath = dir.File("t8.eeprom");
        return config;
    }
    SharedContext& Ctx() { return context_.Ctx(); }
    // Runs the cycle and the window's events until `done` holds.
    testing::AssertionResult Cycle(const std::function<bool()>& done, const char* what) {
        return WaitUntil(what, done, std::chrono::seconds(20), [this] {
            app_.RunCycle();
            QApplication::processEvents();
        });
    }
    // Until `message` was shown and the window's own follow-up is answered.
    testing::AssertionResult Answered(const std::string& message) {
        return Cycle([&] { return dialogs_.Saw(message) && !app_.board.Busy(); }, message.c_str());
    }

    TempDir dir_;
    drivesim::DriveSim sim_;
    RouteplanContext context_;
    DriveLink opener_;
    RecordingDialogs dialogs_;
    CRouteplanApp& app_ = CRouteplanApp::Instance();
    std::unique_ptr<CRouteplanView> view_;
};

TEST_F(OnlineT8, ReadsServoOnHomesAndRunsToPointThree) {
    view_ = std::make_unique<CRouteplanView>(app_);
    ASSERT_TRUE(Answered("Read all parameters success."));
    EXPECT_EQ(view_->List()->GetItemText(1, 2), "100"); // point 1's speed as the drive holds it
    view_->OnButton(CRouteplanView::kServoOn);
    ASSERT_TRUE(app_.board.Busy());
    ASSERT_TRUE(Cycle([this] { return view_->ButtonAt(CRouteplanView::kRun)->isEnabled(); },
                      "the point-run controls of mode 6"));
    ASSERT_TRUE(Cycle([this] { return !app_.board.Busy(); }, "the motor status"));
    view_->OnButton(CRouteplanView::kHoming); // confirmed with OK
    ASSERT_TRUE(Cycle([this] { return !app_.board.Busy(); }, "the homing command"));

    const char* targets[] = {"30000", "-40000", "262144"};
    for (int p = 0; p < 3; ++p) {
        view_->List()->SetItemText(1 + p, 1, targets[p]);
        view_->List()->SetItemText(1 + p, 2, "900");
    }
    view_->OnButton(CRouteplanView::kWrite);
    ASSERT_TRUE(Answered("Transfer parameters to drive success."));
    view_->endPoint->setValue(3);
    view_->delay->setText("100");
    view_->OnButton(CRouteplanView::kRun);
    ASSERT_TRUE(
        Cycle([this] { return std::abs(view_->FeedbackLabel()->text().toInt() - 262144) < 50; },
              "the fed-back position at point 3"));
    if (const QByteArray shot = qgetenv("VELMORA_ROUTEPLAN_SHOT"); !shot.isEmpty()) {
        view_->resize(view_->sizeHint());
        view_->grab().save(QString::fromUtf8(shot));
    }
}

} // namespace
