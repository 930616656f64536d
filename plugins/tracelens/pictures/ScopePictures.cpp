// Pictures of the scope window at 1280 x 800 for the documentation: the
// simulated drive's demo move streaming, a triggered capture with the X and
// with the Y cursors and their readouts, a zoomed view, and the Traditional
// Chinese texts. Usage: scope-pictures APP_DIR OUT_DIR
#include "HzCur.h"
#include "PluginModule.h"
#include "ScopeChartArea.h"
#include "SimulatedScope.h"
#include "TracelensApp.h"
#include "TracelensStrings.h"
#include "TracelensView.h"
#include "VtCh.h"

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace {

using namespace tracelens;
using Clock = std::chrono::steady_clock;

void Settle(int ms) {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// A left click at a fraction of the chart area, held across a few ticks so
// the cycle sees it.
void Click(CTracelensView& view, double fx, double fy) {
    ScopeChartArea* chart = view.Chart();
    const int x = static_cast<int>(chart->width() * fx);
    const int y = static_cast<int>(chart->height() * fy);
    view.Input().MouseMove(x, y, false);
    view.Input().LeftDown(false);
    Settle(200);
    view.Input().LeftUp();
    Settle(200);
}

void Drag(CTracelensView& view, double fromX, double toX, double fy) {
    ScopeChartArea* chart = view.Chart();
    const int y = static_cast<int>(chart->height() * fy);
    view.Input().MouseMove(static_cast<int>(chart->width() * fromX), y, false);
    view.Input().LeftDown(false);
    Settle(200);
    view.Input().MouseMove(static_cast<int>(chart->width() * toX), y + 40, false);
    Settle(200);
    view.Input().LeftUp();
    Settle(300);
}

bool Save(CTracelensView& view, const std::string& file) {
    Settle(300);
    const bool saved = view.grab().save(QString::fromStdString(file));
    std::printf("%s %s\n", saved ? "wrote" : "could not write", file.c_str());
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: scope-pictures APP_DIR OUT_DIR\n");
        return 2;
    }
    const std::string appDir = std::filesystem::absolute(argv[1]).string();
    const std::string out = argv[2];
    QApplication gui(argc, argv);
    std::filesystem::current_path(appDir); // language files and cd.dat

    SimulatedScope scope(appDir);
    if (!scope.PortOpen()) {
        std::fprintf(stderr, "cannot open the simulator's port\n");
        return 1;
    }
    scope.StartCycles();
    CTracelensApp& app = scope.app;
    StandaloneContext& context = scope.context;

    PluginModule module({"Trace", kLangTracelens, MenuEnableFlags::kTracelens, 1280, 800},
                        &kTracelensStrings);
    module.Attach(&context.Context());
    context.Context().SetLanguage(kLangTracelens, kLanguageEnglish);
    auto view = std::make_unique<CTracelensView>(module, app, appDir);
    view->resize(1280, 800);
    view->show();
    Settle(200);
    PanelSettings& settings = view->Settings();
    // Speed command, speed feedback, torque command, motor current.
    for (int ch = 0; ch < 4; ++ch)
        settings.SelectSignal(ch, ch == 0 ? 1 : (ch == 1 ? 0 : ch));
    settings.SetTimeBase(300);
    view->Vertical()->Refresh();
    view->PressRun(RunButton::Continue);
    Settle(5000);
    bool ok = Save(*view, out + "/scope-streaming.png");

    view->PressRun(RunButton::Stop);
    Settle(500);
    settings.SetTimeBase(100);
    settings.ResetDelay();
    settings.SetCombination(0);
    settings.SetSource(0, 0);
    settings.SetCondition(0, 0);
    settings.SetLevel(0, 1000);
    view->Tabs()->setCurrentIndex(2);
    view->PressRun(RunButton::Single);
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (view->Input().RunMode() != kModeStop && Clock::now() < deadline)
        Settle(50);
    view->Tabs()->setCurrentIndex(3);
    view->Cursors()->Button(kCurX1)->click();
    Click(*view, 0.35, 0.5);
    view->Cursors()->Button(kCurX2)->click();
    Click(*view, 0.62, 0.5);
    ok = Save(*view, out + "/scope-cursors-x.png") && ok;
    view->Cursors()->Button(kCurY1)->click();
    Click(*view, 0.5, 0.3);
    view->Cursors()->Button(kCurY2)->click();
    Click(*view, 0.5, 0.6);
    ok = Save(*view, out + "/scope-cursors-y.png") && ok;

    view->Cursors()->Button(kCurY2)->click(); // cursors off
    view->SelectZoomTool(ZoomTool::Time);
    Drag(*view, 0.42, 0.62, 0.4);
    ok = Save(*view, out + "/scope-zoom.png") && ok;
    view->RestoreZoom();
    view->Tabs()->setCurrentIndex(0);
    context.Context().SetLanguage(kLangTracelens, kLanguageTraditional);
    Settle(300);
    ok = Save(*view, out + "/scope-cht.png") && ok;

    view.reset(); // the closing sequence stops the drive's stream
    return ok ? 0 : 1;
}
