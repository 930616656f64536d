// The tuning window: the manual estimation's messages and table, the
// transfer's range message, the steps without a drive, and (on-line, also
// e2e) the automatic procedure through the plug-in's own link against the
// simulated T5 drive, up to the EEPROM save.
#include "../FilledContext.h"
#include "DriveSim.h"
#include "GainwiseApp.h"
#include "GainwiseView.h"
#include "RecordingDialogs.h"
#include "SerialFormat.h"
#include "WaitUntil.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace gainwise;

namespace {

class GainwiseWindow : public ::testing::Test {
protected:
    void SetUp() override {
        Ctx().SetLanguage(kLangGainwise, kLanguageEnglish);
        Ctx().Parms().iModel = kModelT5;
        CGainwiseApp::Instance().Attach(&Ctx());
    }
    void TearDown() override {
        view.reset();
        CGainwiseApp& app = CGainwiseApp::Instance();
        app.EndWorker();
        if (app.link.modbus.hPort > 0)
            app.link.modbus.CloseComPort();
        app.link.modbus.hPort = 0;
        while (app.mailbox.TakeAnswer()) {
        }
    }
    SharedContext& Ctx() { return host.Ctx(); }
    void Open() {
        view = std::make_unique<CGainwiseView>(CGainwiseApp::Instance());
        view->OnTimer(); // takes the language
    }
    // Cycles and window ticks until `done`; a time-out fails naming `what`.
    testing::AssertionResult Run(const char* what, const std::function<bool()>& done) {
        return WaitUntil(what, done, std::chrono::seconds(20), [this] {
            CGainwiseApp::Instance().RunCycle();
            view->OnTimer();
            QApplication::processEvents();
        });
    }

    FilledContext host;
    RecordingDialogs dialogs;
    std::unique_ptr<CGainwiseView> view;
};

TEST_F(GainwiseWindow, ManualEstimationAndItsMessages) {
    Open();
    view->LevelField()->setCurrentIndex(3);
    view->OnStiffnessPicked(3);
    EXPECT_EQ(view->BandwidthField()->value(), 25);
    EXPECT_EQ(view->ReactionField()->value(), 2500);

    view->InertiaField()->setValue(400);
    view->BandwidthField()->setValue(321);
    view->OnEstimateGains();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Speed control bandwidth input value out of range");
    EXPECT_EQ(dialogs.boxes[0].caption, "Message");
    view->BandwidthField()->setValue(22);
    view->ReactionField()->setValue(5000);
    view->OnEstimateGains();
    EXPECT_EQ(dialogs.boxes.size(), 1u) << "estimated without a message";
    const char* current[] = {"400", "20", "22", "35", "94"};
    for (int p = 0; p < kGainParms; ++p)
        EXPECT_EQ(view->Table()->item(p, 2)->text().toStdString(), current[p]) << ParmLabel(p);
}

TEST_F(GainwiseWindow, TransferChecksRangesBeforeTheDrive) {
    Open();
    view->InertiaField()->setValue(20000);
    view->OnEstimateGains();
    dialogs.boxes.clear();
    view->OnTransfer();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "The parameter value is out of range: Pr.004: 0~10000");

    view->InertiaField()->setValue(300);
    view->OnEstimateGains();
    dialogs.boxes.clear();
    view->OnTransfer();
    view->OnServoOff(); // step 5 says nothing without a drive
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Drive not connected");
}

TEST_F(GainwiseWindow, OnlineAutomaticProcedureOnAT5) {
    drivesim::SimConfig config;
    config.model = drivesim::DriveModel::T5;
    config.loadInertiaRatio = 600;
    drivesim::DriveSim sim(config);
    sim.Start();
    CModbus port;
    ASSERT_TRUE(port._OpenDevicePort(sim.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1));
    CGainwiseApp& app = CGainwiseApp::Instance();
    app.link.modbus.hPort = port.hPort;
    port.hPort = 0;
    Ctx().ComHandle().store(app.link.modbus.hPort);
    Ctx().Int(kLinkFound) = 1;

    Open();
    ASSERT_TRUE(Run("the servo state read", [&] { return !view->Session().Busy(); }));
    view->OnServoOn();
    ASSERT_TRUE(
        Run("servo on", [&] { return sim.WithState([](auto& s) { return s.ServoOn(); }); }));
    view->Patterns()->setCurrentIndex(2);
    view->OnStart();
    ASSERT_TRUE(Run("the estimate", [&] {
        bool ok = false;
        const int shown = view->EstimateField()->text().toInt(&ok);
        return ok && shown > 500;
    }));
    EXPECT_NEAR(view->EstimateField()->text().toInt(), 600, 30);
    EXPECT_EQ(view->InertiaField()->value(), view->EstimateField()->text().toInt())
        << "the manual estimation starts from it";

    view->OnServoOff();
    ASSERT_TRUE(
        Run("servo off", [&] { return !sim.WithState([](auto& s) { return s.ServoOn(); }); }));
    dialogs.boxes.clear();
    view->OnSaveEeprom();
    ASSERT_TRUE(Run("the save", [&] { return dialogs.Saw("Write parameters to EEPROM success"); }));
    EXPECT_EQ(dialogs.boxes[0].caption, "The parameter value is out of range: ")
        << "the EEPROM question carries text 266 as its caption";
    EXPECT_EQ(sim.WithState([](auto& s) { return *s.SavedValue(4); }),
              view->EstimateField()->text().toInt())
        << "the estimate is saved";
}

} // namespace
