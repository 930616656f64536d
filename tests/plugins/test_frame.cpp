// The plug-in frame without the host: one window per plug-in, the menu bits on
// open and close, the language timer.
#include "DLLTemplate.h"
#include "DLLView.h"
#include "LanguagePoller.h"
#include "MainMdiArea.h"
#include "TempDir.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

namespace {

const ResString kTexts[] = {{10, "Hello"}};
VELMORA_MODULE_STRINGS(kStrings, kTexts);

// The record with every int the frame touches.
struct FrameContext {
    FrameContext(const std::string& appDir) : dir(appDir) {
        for (int i : {kLinkFound, kMenuEnable, kOnline, kFrameWidth, kFrameHeight})
            ctx.slot[i] = reinterpret_cast<std::intptr_t>(&ints[i]);
        ctx.slot[kParmStore] = reinterpret_cast<std::intptr_t>(&parms);
        ctx.slot[kAppDir] = reinterpret_cast<std::intptr_t>(&dir);
        ints[kMenuEnable] = 0x3F5;
        ints[kOnline] = 1;
        ints[kFrameWidth] = 1000;
        ints[kFrameHeight] = 700;
        ints[kLinkFound] = 1;
    }
    SharedInt ints[kSlotCount]{};
    ParmStore parms;
    std::string dir;
    SharedContext ctx;
};

class CountingView : public CDLLView {
public:
    explicit CountingView(PluginModule& m) : CDLLView(m) {}
    int relabels = 0;
    std::string text;

private:
    void OnLanguageChanged() override {
        ++relabels;
        text = Module().Text(10);
    }
};

class FrameTest : public testing::Test {
protected:
    FrameTest() : context(temp.Path().string()) {
        mainWindow.setObjectName(kMainFrameObjectName);
        mainWindow.setCentralWidget(new QMdiArea);
        module.Attach(&context.ctx);
    }
    QMdiArea* Area() { return static_cast<QMdiArea*>(mainWindow.centralWidget()); }

    TempDir temp;
    FrameContext context;
    QMainWindow mainWindow;
    PluginModule module{PluginTraits{"Portdesk", kLangPortdesk, MenuEnableFlags::kConnect, 400, 300,
                                     ChildPlacement::Centred, true, false},
                        &kStrings};
    CDLLTemplate tmpl{module, [](PluginModule& m) { return new CountingView(m); }};
};

TEST_F(FrameTest, AttachResetsLinkFound) {
    EXPECT_EQ(context.ints[kLinkFound].load(), 0);
}

TEST_F(FrameTest, OneWindowAtATimeCentredInTheFrame) {
    QWidget* window = tmpl.OpenDocumentFile(nullptr, true);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(tmpl.OpenDocumentFile(nullptr, true), nullptr);
    EXPECT_EQ(Area()->subWindowList().size(), 1);
    EXPECT_EQ(module.viewExists.load(), 1);
    EXPECT_EQ(window->geometry(), QRect(300, 200, 400, 300));
    EXPECT_EQ(context.ints[kMenuEnable].load(), 0x3F4) << "Connect greyed while Portdesk is open";
    delete window;
    EXPECT_EQ(module.viewExists.load(), 0);
    EXPECT_EQ(context.ints[kMenuEnable].load(), 0x3F5);
    EXPECT_NE(tmpl.OpenDocumentFile(nullptr, false), nullptr) << "a new window after the close";
}

TEST_F(FrameTest, NoMainFrameNoWindow) {
    mainWindow.setObjectName("somethingElse");
    EXPECT_EQ(tmpl.OpenDocumentFile(nullptr, true), nullptr);
    EXPECT_EQ(module.viewExists.load(), 0);
}

TEST_F(FrameTest, LanguageTimerReloadsOnceWhenTheSlotMoves) {
    temp.Write("Language/Portdesk/CHT/CHT.lng", "[StringTable]\n10=你好\n");
    auto* window = static_cast<QMdiSubWindow*>(tmpl.OpenDocumentFile(nullptr, true));
    auto* view = static_cast<CountingView*>(window->widget());
    view->OnTimer();
    EXPECT_EQ(view->relabels, 0) << "slot and applied id agree: nothing to do";
    context.ctx.SetLanguage(kLangPortdesk, kLanguageTraditional);
    view->OnTimer();
    EXPECT_EQ(view->relabels, 1);
    EXPECT_EQ(view->text, "你好");
    EXPECT_EQ(context.ctx.LanguageApplied(kLangPortdesk), kLanguageTraditional);
    view->OnTimer();
    EXPECT_EQ(view->relabels, 1);
    context.ctx.SetLanguage(kLangPortdesk, kLanguageSimplified); // no such table
    view->OnTimer();
    EXPECT_EQ(view->text, "你好") << "a missing table keeps the texts";
    delete window;
}

TEST(LanguagePoller, ZeroIdsReloadNothing) {
    FrameContext context("/nonexistent");
    ModuleHandle none = nullptr;
    CStringResource table(&none);
    EXPECT_FALSE(PollLanguage(context.ctx, kLangMonitor, "Monitor", table));
}

} // namespace
