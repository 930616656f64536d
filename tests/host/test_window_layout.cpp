// Every tool window, opened through its menu command in the real program on a
// 1280 x 800 screen, in each language: no control cut, outside its window or
// over another, and the window fits the MDI area. A new tool window adds a row
// to kWindows. Pictures go to $VELMORA_LAYOUT_SHOTS (default: layout-shots in
// the build folder) for review.
#include "HostCommands.h"
#include "LayoutCheck.h"
#include "PortMapFolder.h"
#include "QtWaitUntil.h"
#include "TempDir.h"
#include "VelmoraApp.h"

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {
namespace fs = std::filesystem;

// What the setup window's Off-Line page leaves for the editor (the state the
// editor's and the internal-position tool's menu commands expect).
void OfflineT5(SharedContext& ctx) {
    ctx.Parms().iModel = kModelT5;
    ctx.Identity().Set(1, "Rotary(T5)");
    ctx.Identity().Set(2, "t5");
    ctx.Identity().Set(3, "hQ_417");
    ctx.Int(kOnline) = 0;
}

struct ToolWindow {
    const char* picture;                       // file name stem
    const char* viewName;                      // class name of the window's view
    int command;                               // the menu command that opens it
    int menuBit;                               // MenuEnableFlags bit that enables the command
    void (*prepare)(SharedContext&) = nullptr; // the state the command expects
};

const ToolWindow kWindows[] = {
    {"setup-com", "CPortdeskView", HostCommand::kConnect, MenuEnableFlags::kConnect},
    {"parameter-editor", "knobset::CKnobsetView", HostCommand::kKnobset, MenuEnableFlags::kKnobset,
     OfflineT5},
    {"scope", "tracelens::CTracelensView", HostCommand::kTracelens, MenuEnableFlags::kTracelens},
    {"monitor", "monitor::CMonitorView", HostCommand::kMonitor, MenuEnableFlags::kMonitor},
    {"auto-tuning", "gainwise::CGainwiseView", HostCommand::kGainwise, MenuEnableFlags::kGainwise},
    {"internal-position", "routeplan::CRouteplanView", HostCommand::kRouteplan,
     MenuEnableFlags::kRouteplan, OfflineT5},
};

const std::pair<int, const char*> kLanguages[] = {
    {kLanguageEnglish, "eng"}, {kLanguageTraditional, "cht"}, {kLanguageSimplified, "chs"}};

// Lets the windows work for `ms` (they relabel on their own timers).
void Settle(int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until)
        ProcessEventsBriefly();
}

// Answers the dialogs a window opens with (the editor's source choice: the
// factory defaults) as a user would.
void AnswerOpeningDialogs() {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        const auto radios = dialog->findChildren<QRadioButton*>();
        if (!radios.isEmpty())
            radios.back()->setChecked(true);
        dialog->accept();
    }
}

// The program in a scratch working folder with the built plug-ins and their data.
class LayoutProgram {
public:
    LayoutProgram() : folder_({}, false, TempDir::Read(VELMORA_APP_DIR_FOR_TESTS "/Velmora.ini")) {
        const fs::path app = VELMORA_APP_DIR_FOR_TESTS, dir = folder_.Dir().Path();
        for (const char* item :
             {"Language", "Image", "hq_417.par", "Whq_417.par", "rk_905.par", "cd.dat"})
            fs::copy(app / item, dir / item, fs::copy_options::recursive);
        fs::create_directories(dir / "plugins");
        for (const char* plugin : {"Portdesk.so", "Knobset.so", "Tracelens.so", "Monitor.so",
                                   "Gainwise.so", "Routeplan.so"})
            fs::create_symlink(app / plugin, dir / "plugins" / plugin);
        app_ = std::make_unique<CVelmoraApp>(AppPaths{dir.string(), (dir / "plugins").string()});
        started_ = app_->InitInstance();
    }
    bool Started() const { return started_; }
    CMainFrame& Frame() { return *app_->MainFrame(); }
    SharedContext& Ctx() { return app_->Context(); }
    QMdiSubWindow* WindowOf(const char* viewName) {
        for (QMdiSubWindow* w : Frame().MdiArea()->subWindowList())
            if (w->widget() != nullptr &&
                std::strcmp(w->widget()->metaObject()->className(), viewName) == 0)
                return w;
        return nullptr;
    }

private:
    PortMapFolder folder_; // the working folder while the program lives
    std::unique_ptr<CVelmoraApp> app_;
    bool started_ = false;
};

class WindowLayout : public testing::TestWithParam<ToolWindow> {};

TEST_P(WindowLayout, EveryControlShowsWholeInEveryLanguage) {
    const ToolWindow& tool = GetParam();
    LayoutProgram program;
    ASSERT_TRUE(program.Started());
    QMdiArea* area = program.Frame().MdiArea();
    // Start from an empty frame (the setup window opens by itself at start).
    ASSERT_TRUE(WaitProcessingEvents("the setup window",
                                     [&] { return program.WindowOf("CPortdeskView") != nullptr; }));
    area->closeAllSubWindows();
    // Gone, not only closed: a plug-in opens its one window again only then.
    ASSERT_TRUE(WaitProcessingEvents(
        "every window to go", [&] { return area->findChildren<QMdiSubWindow*>().isEmpty(); }));

    if (tool.prepare != nullptr)
        tool.prepare(program.Ctx());
    program.Ctx().Int(kMenuEnable).fetch_or(tool.menuBit);
    program.Frame().ApplyLanguage(kLanguageEnglish); // refreshes the enable states
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, &AnswerOpeningDialogs);
    answerer.start(20);
    QAction* command = program.Frame().Action(tool.command);
    ASSERT_NE(command, nullptr);
    ASSERT_TRUE(command->isEnabled()) << tool.viewName;
    command->trigger();
    ASSERT_TRUE(WaitProcessingEvents(tool.viewName,
                                     [&] { return program.WindowOf(tool.viewName) != nullptr; }));
    Settle(200);
    answerer.stop();

    const fs::path shots =
        qEnvironmentVariable("VELMORA_LAYOUT_SHOTS", VELMORA_LAYOUT_SHOTS_DEFAULT).toStdString();
    fs::create_directories(shots);
    for (const auto& [id, language] : kLanguages) {
        program.Frame().Action(id)->trigger();
        Settle(150); // the windows take the language on their 10 ms timers
        QMdiSubWindow* window = program.WindowOf(tool.viewName);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(QRect(QPoint(0, 0), area->viewport()->size()).contains(window->geometry()))
            << tool.viewName << " lies outside the MDI area in " << language;
        for (const std::string& fault : layoutcheck::Faults(window->widget()))
            ADD_FAILURE() << tool.viewName << " in " << language << ": " << fault;
        program.Frame().grab().save(QString::fromStdString(
            (shots / (std::string(tool.picture) + "-" + language + ".png")).string()));
    }
}

INSTANTIATE_TEST_SUITE_P(ToolWindows, WindowLayout, testing::ValuesIn(kWindows),
                         [](const testing::TestParamInfo<ToolWindow>& param) {
                             std::string name = param.param.picture;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// The check itself: each kind of fault it must see (that it passes a sound
// window, the tool windows above show).
TEST(LayoutCheck, SeesCutOutsideAndOverlappingControls) {
    const std::pair<const char*, void (*)(QWidget&)> cases[] = {
        {"table wider than its window",
         [](QWidget& w) {
             auto* table = new QTableWidget(3, 4, &w);
             table->setGeometry(0, 0, 200, 100);
             for (int c = 0; c < 4; ++c)
                 table->setColumnWidth(c, 100);
         }},
        {"cut button",
         [](QWidget& w) { (new QPushButton("Open File", &w))->setGeometry(0, 0, 30, 30); }},
        {"outside", [](QWidget& w) { (new QLabel("Name", &w))->setGeometry(380, 0, 80, 20); }},
        {"overlap",
         [](QWidget& w) {
             (new QLabel("Name", &w))->setGeometry(0, 0, 80, 20);
             (new QLabel("Unit", &w))->setGeometry(40, 10, 80, 20);
         }},
    };
    for (const auto& [what, build] : cases) {
        QWidget window;
        window.resize(400, 300);
        build(window);
        window.show();
        EXPECT_FALSE(layoutcheck::Faults(&window).empty()) << what;
    }
}

// The tool windows see a 1280 x 800 screen, as the smallest supported laptop.
class ScreenEnvironment : public testing::Environment {
public:
    void SetUp() override {
        std::ofstream(config_.File("screen.json"))
            << R"({ "screens": [ { "name": "s", "x": 0, "y": 0, "width": 1280, "height": 800,
                  "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] })";
        qputenv("QT_QPA_PLATFORM",
                QByteArray("offscreen:configfile=") + config_.File("screen.json").c_str());
        app_ = new QApplication(argc_, argv_);
    }
    void TearDown() override { delete app_; }

private:
    TempDir config_;
    int argc_ = 1;
    char name_[8] = "layout";
    char* argv_[2] = {name_, nullptr};
    QApplication* app_ = nullptr;
};

[[maybe_unused]] testing::Environment* const kScreen =
    testing::AddGlobalTestEnvironment(new ScreenEnvironment);

} // namespace
