// The monitor window on a context filled as the host fills it, with the
// product data copied into a folder of the test's own (the window writes its
// tick file there).
#pragma once

#include "CListCtrlEx.h"
#include "ContextStorage.h"
#include "HostConfig.h"
#include "MonitorApp.h"
#include "MonitorView.h"
#include "QtWaitUntil.h"
#include "TempDir.h"

#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>

struct MonitorHost {
    TempDir dir;
    ContextStorage storage;
    std::unique_ptr<monitor::CMonitorView> view;

    MonitorHost() {
        namespace fs = std::filesystem;
        fs::create_directories(dir.Path() / "Language");
        fs::copy("Language/Monitor", dir.Path() / "Language/Monitor", fs::copy_options::recursive);
        storage.CreateParmStore(nullptr);
        storage.Fill(ReadHostConfig("Velmora.ini"), dir.Path().string(), nullptr);
        Ctx().SetLanguage(kLangMonitor, kLanguageEnglish);
        monitor::CMonitorApp& app = App();
        monitor::MonitorBoard& board = app.board;
        board.command = board.status = board.monitorOn = board.linkWish = 0;
        board.mode = board.stoppedByYield = board.clearPending = 0;
        board.group = board.index = 0;
        app.Attach(&Ctx());
    }
    ~MonitorHost() {
        view.reset();
        monitor::CMonitorApp& app = App();
        if (app.link.modbus.hPort > 0)
            app.link.modbus.CloseComPort();
        app.link.modbus.hPort = 0;
    }
    MonitorHost(const MonitorHost&) = delete;
    MonitorHost& operator=(const MonitorHost&) = delete;

    static monitor::CMonitorApp& App() { return monitor::CMonitorApp::Instance(); }
    SharedContext& Ctx() { return storage.Context(); }
    monitor::CMonitorView& Open() {
        view = std::make_unique<monitor::CMonitorView>(App());
        view->OnTimer();
        return *view;
    }
    QString Cell(int group, int row, int column) const {
        return view->List(group)->GetItemText(row, column);
    }
};

// The host's comm thread: the monitor's cycle entry, over and over.
class CommThread {
public:
    CommThread()
        : thread_([this] {
              while (!stop_) {
                  monitor::CMonitorApp::Instance().ExternThread();
                  std::this_thread::sleep_for(std::chrono::microseconds(200));
              }
          }) {}
    ~CommThread() {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
