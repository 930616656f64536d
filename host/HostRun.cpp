#include "HostRun.h"

#include "AppFolders.h"
#include "StopSignals.h"
#include "VelmoraApp.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

struct RunOptions {
    AppPaths paths;
    std::string screenshot;
    std::string aboutShot;
    int menu = -1;
    int exitAfterMs = -1;
    bool reportStartup = false;
    bool connect = false;
};

RunOptions ParseOptions(int argc, char** argv) {
    RunOptions options;
    std::string appDir, pluginDir;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--app-dir") == 0 && hasValue)
            appDir = argv[++i];
        else if (std::strcmp(argv[i], "--plugin-dir") == 0 && hasValue)
            pluginDir = argv[++i];
        else if (std::strcmp(argv[i], "--screenshot") == 0 && hasValue)
            options.screenshot = argv[++i];
        else if (std::strcmp(argv[i], "--about-shot") == 0 && hasValue)
            options.aboutShot = argv[++i];
        else if (std::strcmp(argv[i], "--menu") == 0 && hasValue)
            options.menu = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--exit-after") == 0 && hasValue)
            options.exitAfterMs = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--report-startup") == 0)
            options.reportStartup = true;
        else if (std::strcmp(argv[i], "--connect") == 0)
            options.connect = true;
    }
    const velmora::AppFolders folders =
        velmora::LocateAppFolders(velmora::ProgramFolder(), QDir::currentPath().toStdString());
    options.paths.pluginDir = pluginDir.empty() ? folders.plugins : pluginDir;
    if (!appDir.empty()) {
        // One folder for everything, also for what the plug-ins write.
        options.paths.appDir = appDir;
        velmora::SetSettingsFolder(appDir);
    } else {
        options.paths.appDir = folders.data;
        if (folders.installed) // created from the shipped defaults at first start
            options.paths.settingsDir =
                std::filesystem::path(velmora::SettingsFile("Velmora.ini")).parent_path().string();
    }
    return options;
}

// The main window as the user sees it, with one menu dropped down if asked.
QImage RenderFrame(CMainFrame& frame, int menuPosition) {
    QImage image = frame.grab().toImage();
    if (menuPosition < 0 || menuPosition >= CMainFrame::kTopLevelItems)
        return image;
    QMenu* popup = frame.Popup(menuPosition);
    const QRect title = frame.menuBar()->actionGeometry(popup->menuAction());
    const QPoint origin = frame.menuBar()->mapTo(&frame, title.bottomLeft());
    popup->ensurePolished();
    popup->adjustSize();
    QPainter painter(&image);
    painter.drawPixmap(origin, popup->grab());
    return image;
}

bool Save(const QImage& image, const std::string& file) {
    const bool saved = image.save(QString::fromStdString(file), "PNG");
    std::printf("%s %s\n", saved ? "wrote" : "could not write", file.c_str());
    return saved;
}

} // namespace

int RunVelmora(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication qtApp(argc, argv);
    const RunOptions options = ParseOptions(argc, argv);
    CVelmoraApp app(options.paths);
    // A stop signal closes the main window like File > Exit (the settings are
    // written back when `app` goes) and leaves every event loop, also that of
    // an open dialog; queued, so that it also ends a start-up still under way.
    StopSignals stopSignals([&](int signal) {
        QMetaObject::invokeMethod(
            &qtApp,
            [&app, signal] {
                if (app.MainFrame() != nullptr)
                    app.MainFrame()->close();
                QCoreApplication::exit(128 + signal);
            },
            Qt::QueuedConnection);
    });
    if (!app.InitInstance())
        return 1;
    if (options.reportStartup) {
        QCoreApplication::processEvents();
        std::printf("first window after %lld ms\n", static_cast<long long>(sinceStart.elapsed()));
        std::fflush(stdout);
    }
    // Presses "Connect" in the connection window, as a scripted check needs.
    if (options.connect) {
        if (QWidget* portdesk = app.MainFrame()->findChild<QWidget*>("PortdeskView"))
            QMetaObject::invokeMethod(portdesk, "OnMainButton", Qt::QueuedConnection);
    }
    if (!options.screenshot.empty() || !options.aboutShot.empty()) {
        QTimer::singleShot(500, [&] {
            bool saved = true;
            if (!options.screenshot.empty())
                saved = Save(RenderFrame(*app.MainFrame(), options.menu), options.screenshot);
            if (!options.aboutShot.empty())
                saved = Save(app.AboutBox()->grab().toImage(), options.aboutShot) && saved;
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    if (options.exitAfterMs >= 0)
        QTimer::singleShot(options.exitAfterMs, [] { QCoreApplication::exit(0); });
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
