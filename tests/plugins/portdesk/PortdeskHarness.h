// The real host with the real Portdesk (and a test plug-in standing in for the
// parameter editor) in a scratch application folder that is also the working
// folder, whose Velmora.ini maps COM5 to a simulated drive behind a wire tap
// (and COM6 to a second one, when asked). Message boxes are answered and
// recorded.
#pragma once

#include "DriveSim.h"
#include "PortMapFolder.h"
#include "QtWaitUntil.h"
#include "RecordingDialogs.h"
#include "VelmoraApp.h"
#include "WireTap.h"

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <filesystem>
#include <memory>
#include <string>

inline constexpr int kDrivePort = 5;
inline constexpr int kSecondDrivePort = 6;

inline drivesim::SimConfig Drive(drivesim::DriveModel model, int address, int format) {
    return {.model = model,
            .address = static_cast<std::uint8_t>(address),
            .format = format,
            .dataDir = VELMORA_APP_DIR_FOR_TESTS};
}

class PortdeskHarness {
public:
    // `drive` empty: COM5 leads to a line nobody answers.
    // `realEditor`: the real parameter editor with its product data instead of
    // the stand-in. `secondDrive`: a drive on COM6 as well.
    explicit PortdeskHarness(std::optional<drivesim::SimConfig> drive, bool realEditor = false,
                             std::optional<drivesim::SimConfig> secondDrive = std::nullopt) {
        std::map<int, std::string> ports;
        if (secondDrive)
            ports[kSecondDrivePort] = Serve(*secondDrive, secondSim_, secondTap_);
        if (drive) {
            ports[kDrivePort] = Serve(*drive, sim_, tap_);
        } else {
            idle_ = std::make_unique<PtyPair>();
            ports[kDrivePort] = idle_->SlavePath();
        }
        folder_ = std::make_unique<PortMapFolder>(
            ports, false,
            "[ComPortSetup]\niPort1COM=1\niModbusID=1\niLanguage=1000\niSetWaitWriteTime=1\n"
            "iSetPreCountQueTimes=400\n");
        const std::filesystem::path dir = folder_->Dir().Path(), plugins = dir / "plugins";
        const std::string app = VELMORA_APP_DIR_FOR_TESTS;
        std::filesystem::create_directories(plugins);
        std::filesystem::create_directories(dir / "Language");
        std::filesystem::create_symlink(
            realEditor ? app + "/Knobset.so" : std::string(TEST_PLUGIN_DIR) + "/good/Knobset.so",
            plugins / "Knobset.so");
        std::filesystem::create_symlink(app + "/Portdesk.so", plugins / "Portdesk.so");
        for (const char* module : {"Portdesk", "Knobset"})
            std::filesystem::copy(app + "/Language/" + module, dir / "Language" / module,
                                  std::filesystem::copy_options::recursive);
        for (const char* table : {"hq_417.par", "Whq_417.par", "rk_905.par"})
            std::filesystem::copy(app + "/" + table, dir / table);
        app_ = std::make_unique<CVelmoraApp>(AppPaths{dir.string(), plugins.string()});
        started_ = app_->InitInstance();
    }

    bool Started() const { return started_; }
    CVelmoraApp& App() { return *app_; }
    SharedContext& Ctx() { return app_->Context(); }
    WireTap& Tap() { return *tap_; }
    WireTap& SecondTap() { return *secondTap_; }
    RecordingDialogs& Boxes() { return dialogs_; }

    QMdiSubWindow* Window(const QString& title) {
        for (QMdiSubWindow* w : app_->MainFrame()->MdiArea()->subWindowList())
            if (w->windowTitle() == title)
                return w;
        return nullptr;
    }
    QWidget* View() { return app_->MainFrame()->findChild<QWidget*>("PortdeskView"); }
    template <class T = QWidget>
    T* Control(const char* name) {
        QWidget* view = View();
        return view != nullptr ? view->findChild<T*>(name) : nullptr;
    }
    // Presses "Connect"/"OK" or "Cancel", greyed or not.
    void PressMain() { QMetaObject::invokeMethod(View(), "OnMainButton", Qt::DirectConnection); }
    void PressCancel() { QMetaObject::invokeMethod(View(), "OnCancel", Qt::DirectConnection); }

    // Chooses the On-Line lists (0 = "Auto Search") and presses "Connect".
    void Connect(int portEntry, int idEntry, int formatEntry) {
        Control<QComboBox>("portList")->setCurrentIndex(portEntry);
        Control<QComboBox>("idList")->setCurrentIndex(idEntry);
        Control<QComboBox>("formatList")->setCurrentIndex(formatEntry);
        PressMain();
    }
    // Waits for the box that reports the end of a search.
    testing::AssertionResult WaitForResultBox(int seconds = 60) {
        const std::size_t before = dialogs_.boxes.size();
        return WaitProcessingEvents(
            "the box that ends the search", [&] { return dialogs_.boxes.size() > before; },
            std::chrono::seconds(seconds));
    }

private:
    // Starts a simulated drive behind a tap; returns the path Portdesk opens.
    static std::string Serve(const drivesim::SimConfig& config,
                             std::unique_ptr<drivesim::DriveSim>& sim,
                             std::unique_ptr<WireTap>& tap) {
        sim = std::make_unique<drivesim::DriveSim>(config);
        sim->Start();
        tap = std::make_unique<WireTap>(sim->SlavePath());
        return tap->PortPath();
    }

    RecordingDialogs dialogs_;
    std::unique_ptr<PortMapFolder> folder_; // the working folder
    std::unique_ptr<drivesim::DriveSim> sim_;
    std::unique_ptr<WireTap> tap_;
    std::unique_ptr<drivesim::DriveSim> secondSim_;
    std::unique_ptr<WireTap> secondTap_;
    std::unique_ptr<PtyPair> idle_;
    std::unique_ptr<CVelmoraApp> app_; // goes first
    bool started_ = false;
};
