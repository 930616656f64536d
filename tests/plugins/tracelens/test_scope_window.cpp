// The scope window: its lists from cd.dat, High Sample, the zoom tools under
// a right press, its texts in both Chinese languages with every panel whole,
// and (end to end) "Continue" streaming the simulated drive's samples.
#include "HzTime.h"
#include "HzTrig.h"
#include "LayoutCheck.h"
#include "PluginModule.h"
#include "QtWaitUntil.h"
#include "ScopeChartArea.h"
#include "ScopeIndicator.h"
#include "SimulatedScope.h"
#include "StandaloneContext.h"
#include "TempDir.h"
#include "TracelensApp.h"
#include "TracelensStrings.h"
#include "TracelensView.h"
#include "VtCh.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace tracelens {
namespace {

// The window on a standalone context, with the program's language tables
// (tests run in the application folder) and a cd.dat of choice.
class ScopeWindow : public testing::Test {
protected:
    // `catalogue`: the cd.dat of the start folder; empty: the program's own.
    void Open(const std::string& catalogue = std::string(), int model = kModelT5) {
        context.Context().Parms().iModel = model;
        std::string startDir = std::filesystem::current_path().string();
        if (!catalogue.empty()) {
            startDir = dir.Path().string();
            if (catalogue != "none")
                dir.Write("cd.dat", catalogue);
        }
        module.Attach(&context.Context());
        context.Context().SetLanguage(kLangTracelens, kLanguageEnglish);
        view = std::make_unique<CTracelensView>(module, app, startDir);
        view->resize(1270, 700);
        view->show();
        Settle();
    }
    static void Settle(int ms = 60) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < until)
            ProcessEventsBriefly();
    }

    TempDir dir;
    StandaloneContext context;
    CTracelensApp app;
    PluginModule module{{"Trace", kLangTracelens, MenuEnableFlags::kTracelens, 1280, 800},
                        &kTracelensStrings};
    std::unique_ptr<CTracelensView> view;
};

const char* kTwoSignals = "[Setup]\niQtyA=2\n[Data1]\nID=7\nMax=1\n[Data2]\nID=8\nMax=1000\n";

TEST_F(ScopeWindow, WithoutCdDatTheListsStayEmptyAndTheTriggerPanelOff) {
    Open("none");
    for (int ch = 0; ch < 4; ++ch) {
        EXPECT_EQ(view->Vertical()->Channel(ch).signal->count(), 0);
        EXPECT_EQ(view->Vertical()->Channel(ch).unitPerDiv->count(), 0);
    }
    EXPECT_FALSE(view->Trigger()->isEnabled());
}

TEST_F(ScopeWindow, HighSampleOnlyOnALinearDriveWhileStopped) {
    Open(kTwoSignals, kModelT5);
    EXPECT_FALSE(view->TimeBase()->HighSample()->isEnabled());
    view.reset();
    Open(kTwoSignals, kModelW5);
    CHzTime* time = view->TimeBase();
    ASSERT_TRUE(time->HighSample()->isEnabled());
    time->HighSample()->setChecked(true);
    EXPECT_EQ(app.MasterTiming().highSample, 1);
    view->PressRun(RunButton::Continue);
    EXPECT_FALSE(time->HighSample()->isEnabled()) << "only while stopped";
}

TEST_F(ScopeWindow, RightPressWithAZoomToolSwitchesTheToolsOff) {
    Open(kTwoSignals);
    view->ZoomButton(ZoomTool::Time)->click();
    EXPECT_EQ(view->Chart()->cursor().shape(), Qt::CrossCursor);
    const QPointF at(100, 100);
    QMouseEvent press(QEvent::MouseButtonPress, at, view->Chart()->mapToGlobal(at), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(view->Chart(), &press);
    EXPECT_EQ(app.WorkingRequest().word[ScopeRequest::kDropZoomX], 0);
    EXPECT_FALSE(view->ZoomButton(ZoomTool::Time)->isChecked());
    EXPECT_EQ(view->Chart()->cursor().shape(), Qt::ArrowCursor);
}

// Another tool presets the scope: the cycle hands the block to the window,
// whose panels take it (word 40: with trace, offsets and the trigger too).
TEST_F(ScopeWindow, APresetFromOutsideReachesThePanels) {
    Open();
    app.Attach(&context.Context());
    ScopeRequestBlock& block = context.Context().ScopeRequest();
    block.word[0].store(1);     // channel A shown
    block.word[2].store(2);     // channel A: speed command
    block.word[4].store(3);     // its fourth "Unit /Div." entry
    block.word[6 + 0].store(1); // channel B shown
    block.word[6 + 1].store(1); // channel B inverted
    block.word[6 + 2].store(4); // channel B: torque command
    block.word[30].store(50);   // ms/div
    block.word[33].store(2);    // trigger 1 AND 2
    block.word[40].store(1);    // set every control
    block.word[35].fetch_add(1);
    for (int i = 0; i < 6; ++i) {
        app.ExternThread();
        view->OnPublishTick();
    }
    const CVtCh::ChannelControls& a = view->Vertical()->Channel(0);
    EXPECT_TRUE(a.signal->currentText().startsWith("2: ")) << a.signal->currentText().toStdString();
    EXPECT_EQ(a.unitPerDiv->currentIndex(), 3);
    EXPECT_TRUE(view->Vertical()->Channel(1).inverted->isChecked());
    EXPECT_EQ(view->TimeBase()->Time()->value(), 50);
    EXPECT_EQ(view->Trigger()->Combination()->currentIndex(), 2);
    EXPECT_EQ(app.WorkingRequest().word[ScopeRequest::kDriveWords + 2], 4);
    EXPECT_TRUE(view->Trigger()->isEnabled()) << "the program's cd.dat lists signals";
}

// "dbgshow" typed into channel D's offset turns the diagnostic lines on;
// anything else typed there turns them off.
TEST_F(ScopeWindow, TypingDbgshowIntoChannelDsOffsetShowsTheDiagnostics) {
    Open(kTwoSignals);
    app.Attach(&context.Context());
    const auto type = [&](int ch, const QString& text) {
        view->Vertical()->Channel(ch).offset->selectAll(); // typed over
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(view->Vertical()->Channel(ch).offset, &press);
        }
        view->OnPublishTick();
        app.ExternThread();
        return app.Chart().debugWord;
    };
    EXPECT_EQ(type(2, "dbgshow"), 0) << "only channel D takes the word";
    view->Vertical()->Channel(3).signal->activated(1); // offsets up to ±1000
    EXPECT_EQ(type(3, "dbgshow"), 1);
    EXPECT_EQ(view->Vertical()->Channel(3).offset->value(), 0);
    EXPECT_EQ(type(3, "5"), 0);
}

// Every panel in each language (the host's layout check sees only the
// shown one): the signal names of the language, nothing cut.
TEST_F(ScopeWindow, TextsInEveryLanguageAndEveryPanelWhole) {
    Open();
    const struct {
        int id;
        const char* code;
        QString signal;
    } languages[] = {
        {kLanguageEnglish, "ENG", "1: Speed"},
        {kLanguageTraditional, "CHT", "1: 速度回授"},
        {kLanguageSimplified, "CHS", "1: 速度反馈"},
    };
    view->Vertical()->Channel(0).signal->activated(0);
    for (const auto& language : languages) {
        context.Context().SetLanguage(kLangTracelens, language.id);
        Settle();
        EXPECT_TRUE(view->Vertical()->Channel(0).signal->itemText(0).startsWith(language.signal))
            << language.code << ": "
            << view->Vertical()->Channel(0).signal->itemText(0).toStdString();
        EXPECT_EQ(view->Vertical()->Channel(0).signal->currentIndex(), 0) << "kept its choice";
        for (int tab = 0; tab < view->Tabs()->count(); ++tab) {
            view->Tabs()->setCurrentIndex(tab);
            Settle(20);
            for (const std::string& fault : layoutcheck::Faults(view.get()))
                ADD_FAILURE() << language.code << " tab " << tab << ": " << fault;
        }
    }
}

// End to end: the simulated drive's demo move streams into the window.
TEST_F(ScopeWindow, ContinueStreamsTheSimulatedDrive) {
    // The fixture's app and context stand aside: the simulated scope has its own.
    SimulatedScope scope(std::filesystem::current_path().string());
    ASSERT_TRUE(scope.PortOpen());
    scope.StartCycles();
    module.Attach(&scope.context.Context());
    view = std::make_unique<CTracelensView>(module, scope.app,
                                            std::filesystem::current_path().string());
    view->resize(1270, 700);
    view->show();
    CTracelensApp& app = scope.app;
    for (int ch = 0; ch < 4; ++ch)
        view->Vertical()->Channel(ch).signal->activated(ch);
    view->RunButtonOf(RunButton::Continue)->click();
    ASSERT_TRUE(WaitProcessingEvents("1000 samples and 5 pictures in the window", [&] {
        return app.SampleCount() >= 1000 && view->Chart()->PicturesShown() >= 5;
    }));
    EXPECT_EQ(view->StatusIndicator()->CurrentLook(), ScopeIndicator::Active);
    EXPECT_TRUE(view->RunButtonOf(RunButton::Continue)->isChecked());
    view.reset(); // closing stops the drive's stream
    EXPECT_EQ(app.CaptureState(), 0);
}

} // namespace
} // namespace tracelens
