// The editor window on a context filled as the host fills it, in a child
// frame, its dialogs scripted; on-line against a simulated drive on a pty.
#pragma once

#include "../FilledContext.h"
#include "DriveSim.h"
#include "ExportDialog.h"
#include "KnobsetApp.h"
#include "KnobsetDialogs.h"
#include "KnobsetView.h"
#include "QtWaitUntil.h"
#include "RecordingDialogs.h"
#include "SerialFormat.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// A fresh context for one test, with the editor's application object (one
// per module, as in the program) attached to it; on destruction the worker
// stops and the port the editor's link holds is closed.
struct EditorHost : FilledContext {
    EditorHost() {
        Ctx().SetLanguage(kLangKnobset, kLanguageEnglish);
        knobset::CKnobsetApp::Instance().Attach(&Ctx());
    }
    ~EditorHost() {
        knobset::CKnobsetApp& app = knobset::CKnobsetApp::Instance();
        app.StopWorker();
        if (app.link.modbus.hPort > 0)
            app.link.modbus.CloseComPort();
        app.link.modbus.hPort = 0;
    }
    void SetDrive(int model, bool online) {
        SharedContext& ctx = Ctx();
        ctx.Parms().iModel = model;
        ctx.Int(kOnline) = online ? 1 : 0;
        ctx.Int(kSuspendExtern) = 1; // the editor's own worker runs the jobs
        const char* texts[4][3] = {{"T5-400W", "t5-400w", "hq_417"},
                                   {"W5-750W", "w5-750w", "Whq_417"},
                                   {"rk 905", "rk", "rk_905"}};
        for (int e = 0; e < 3; ++e)
            ctx.Identity().Set(e + 1, texts[model][e]);
        ctx.SetLanguageApplied(kLangKnobset, 0);
    }
};

// The simulated T5 drive whose port the "search" published and handed to the
// editor's link (the link owns and closes it).
struct OnlineDrive {
    drivesim::DriveSim sim{drivesim::SimConfig{}}; // a T5
    explicit OnlineDrive(SharedContext& ctx) {
        sim.Start();
        Connect();
        ctx.ComHandle().store(knobset::CKnobsetApp::Instance().link.modbus.hPort);
    }
    // Also after a failure, when the editor's link closed the port and could
    // not reopen it by its COM number (the drive lives on a pty).
    void Connect() {
        CModbus port;
        port._OpenDevicePort(sim.SlavePath().c_str(), wirelay::MakeSerialDcb(3), 1);
        knobset::CKnobsetApp::Instance().link.modbus.hPort = port.hPort;
        knobset::CKnobsetApp::Instance().link.linkGood = 1;
    }
};

class KnobsetWindow : public ::testing::Test {
protected:
    void SetUp() override {
        knobset::InstallModalAnswerer([this](QDialog& d) { return Answer(d); });
    }
    void TearDown() override {
        CloseView();
        knobset::InstallModalAnswerer(nullptr);
    }
    // The frame lets go of the view before it goes.
    void CloseView() {
        frame.setWidget(nullptr);
        view.reset();
    }
    int Answer(QDialog& d) {
        if (auto* source = qobject_cast<knobset::CSelParmSrc*>(&d)) {
            if (sourceAnswer < 0)
                return QDialog::Rejected;
            (sourceAnswer == 1 ? source->fileButton : source->defaultButton)->setChecked(true);
            return QDialog::Accepted;
        }
        if (auto* exporter = qobject_cast<knobset::CExportParm*>(&d)) {
            if (exportScript)
                exportScript(*exporter);
            return exporter->result();
        }
        if (auto* input = qobject_cast<knobset::CParmInput*>(&d)) {
            input->valueEdit->setText(editText);
            input->findChildren<QPushButton*>().front()->click(); // its confirm button
            refusal = input->refusalLabel->isVisibleTo(input) ? input->refusalLabel->text() : "";
            return input->result();
        }
        return -1; // the progress box runs for real
    }
    void Open(int model, bool online, const drivesim::FaultSettings& faults = {}) {
        CloseView();
        host.SetDrive(model, online);
        if (online) {
            drive = std::make_unique<OnlineDrive>(host.Ctx());
            drive->sim.SetFaults(faults);
        }
        view = std::make_unique<knobset::CKnobsetView>(knobset::CKnobsetApp::Instance());
        QObject::connect(view.get(), &knobset::CKnobsetView::CloseRequested,
                         [this] { closed = true; });
        frame.setWidget(view.get());
        frame.show();
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }
    int RowOf(int number) const {
        const auto& rows = view->RowNumbers();
        return static_cast<int>(std::find(rows.begin(), rows.end(), number) - rows.begin());
    }
    void WaitIdle() {
        EXPECT_TRUE(WaitProcessingEvents("the editor's jobs to finish", [] {
            return !knobset::CKnobsetApp::Instance().board.Busy();
        }));
        QApplication::processEvents();
    }
    ParmStore& Store() { return host.Ctx().Parms(); }
    static void ConfirmExport(knobset::CExportParm& d) {
        for (QPushButton* b : d.findChildren<QPushButton*>())
            if (b->text() == "Confirm")
                b->click();
    }

    RecordingDialogs dialogs;
    std::unique_ptr<OnlineDrive> drive; // outlives the editor's worker
    EditorHost host;
    QMdiSubWindow frame; // the host's child frame
    std::unique_ptr<knobset::CKnobsetView> view;
    bool closed = false;  // the view asked its frame to close
    int sourceAnswer = 0; // -1 cancel, 0 Default, 1 FILE
    QString editText;
    QString refusal; // what the edit dialog showed when it refused the value
    std::function<void(knobset::CExportParm&)> exportScript;
};
