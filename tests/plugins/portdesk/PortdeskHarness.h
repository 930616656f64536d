// The real host with the real Portdesk (and a test plug-in standing in for the
// parameter editor) in a scratch application folder that is also the working
// folder, whose Velmora.ini maps COM5 to a simulated drive behind a wire tap
// (and COM6 to a second one, when asked). Message boxes are answered and
// recorded.
#pragma once

#include "DialogService.h"
#include "DriveSim.h"
#include "TempDir.h"
#include "VelmoraApp.h"
#include "WireTap.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

inline constexpr int kDrivePort = 5;
inline constexpr int kSecondDrivePort = 6;

struct ShownBox {
    std::string text;
    std::string caption;
    unsigned style;
};

// Records every message box; questions get `answer`.
class RecordingDialogs final : public DialogService {
public:
    RecordingDialogs() { InstallDialogService(this); }
    ~RecordingDialogs() override { InstallDialogService(nullptr); }
    int MessageBox(QWidget*, const std::string& text, const std::string& caption,
                   unsigned style) override {
        boxes.push_back({text, caption, style});
        return (style & MessageBoxStyle::kButtonMask) == MessageBoxStyle::kYesNo ? answer
                                                                                 : kAnswerOk;
    }
    std::string GetOpenFileName(QWidget*, const std::string&, const std::string&,
                                const std::string&) override {
        return {};
    }
    std::string GetSaveFileName(QWidget*, const std::string&, const std::string&,
                                const std::string&) override {
        return {};
    }
    std::vector<ShownBox> boxes;
    int answer = kAnswerYes;
};

// Waits (processing events) until `done` holds or `seconds` passed.
template <class Predicate>
bool WaitUntil(Predicate done, int seconds = 20) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done() && std::chrono::steady_clock::now() < until) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
}

inline drivesim::SimConfig
Drive(drivesim::DriveModel model, int address, int format,
      drivesim::IdentityLayout layout = drivesim::IdentityLayout::Layout2) {
    drivesim::SimConfig config;
    config.model = model;
    config.address = static_cast<std::uint8_t>(address);
    config.format = format;
    config.layout = layout;
    config.dataDir = VELMORA_APP_DIR_FOR_TESTS;
    return config;
}

class PortdeskHarness {
public:
    // `drive` empty: COM5 leads to a line nobody answers.
    // `realEditor`: the real parameter editor with its product data instead of
    // the stand-in. `secondDrive`: a drive on COM6 as well.
    explicit PortdeskHarness(std::optional<drivesim::SimConfig> drive, int language = 1000,
                             bool realEditor = false,
                             std::optional<drivesim::SimConfig> secondDrive = std::nullopt)
        : oldDir_(std::filesystem::current_path()) {
        std::string secondMapping;
        if (secondDrive) {
            secondSim_ = std::make_unique<drivesim::DriveSim>(*secondDrive);
            secondSim_->Start();
            secondTap_ = std::make_unique<WireTap>(secondSim_->SlavePath());
            secondMapping =
                "COM" + std::to_string(kSecondDrivePort) + "=" + secondTap_->PortPath() + "\n";
        }
        if (drive) {
            sim_ = std::make_unique<drivesim::DriveSim>(*drive);
            sim_->Start();
            tap_ = std::make_unique<WireTap>(sim_->SlavePath());
        } else {
            idle_ = std::make_unique<PtyPair>();
        }
        const std::string device = tap_ ? tap_->PortPath() : idle_->SlavePath();
        dir_.Write(
            "Velmora.ini",
            "[ComPortSetup]\niPort1COM=1\niModbusID=1\niLanguage=" + std::to_string(language) +
                "\niSetWaitWriteTime=1\niSetPreCountQueTimes=400\n"
                "[PortMap]\nCOM" +
                std::to_string(kDrivePort) + "=" + device + "\n" + secondMapping);
        const std::filesystem::path plugins = dir_.Path() / "plugins";
        std::filesystem::create_directories(plugins);
        std::filesystem::create_symlink(std::string(VELMORA_APP_DIR_FOR_TESTS) + "/Portdesk.so",
                                        plugins / "Portdesk.so");
        const std::string app = VELMORA_APP_DIR_FOR_TESTS;
        std::filesystem::create_symlink(
            realEditor ? app + "/Knobset.so" : std::string(TEST_PLUGIN_DIR) + "/good/Knobset.so",
            plugins / "Knobset.so");
        std::filesystem::create_directories(dir_.Path() / "Language");
        for (const char* module : {"Portdesk", "Knobset"})
            std::filesystem::copy(app + "/Language/" + module, dir_.Path() / "Language" / module,
                                  std::filesystem::copy_options::recursive);
        for (const char* table : {"hq_417.par", "Whq_417.par", "rk_905.par"})
            std::filesystem::copy(app + "/" + table, dir_.Path() / table);
        std::filesystem::current_path(dir_.Path());
        app_ = std::make_unique<CVelmoraApp>(AppPaths{dir_.Path().string(), plugins.string()});
        started_ = app_->InitInstance();
    }
    ~PortdeskHarness() {
        app_.reset();
        std::filesystem::current_path(oldDir_);
    }

    bool Started() const { return started_; }
    CVelmoraApp& App() { return *app_; }
    SharedContext& Ctx() { return app_->Context(); }
    WireTap& Tap() { return *tap_; }
    WireTap& SecondTap() { return *secondTap_; }
    drivesim::DriveSim& Sim() { return *sim_; }
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
    bool WaitForResultBox(int seconds = 60) {
        const std::size_t before = dialogs_.boxes.size();
        return WaitUntil([&] { return dialogs_.boxes.size() > before; }, seconds);
    }

private:
    RecordingDialogs dialogs_;
    std::filesystem::path oldDir_;
    TempDir dir_;
    std::unique_ptr<drivesim::DriveSim> sim_;
    std::unique_ptr<WireTap> tap_;
    std::unique_ptr<drivesim::DriveSim> secondSim_;
    std::unique_ptr<WireTap> secondTap_;
    std::unique_ptr<PtyPair> idle_;
    std::unique_ptr<CVelmoraApp> app_;
    bool started_ = false;
};
