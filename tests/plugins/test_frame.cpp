// The plug-in frame without the host: one window per plug-in, the menu bits on
// open and close, the language timer.
#include "DLLTemplate.h"
#include "DLLView.h"
#include "FilledContext.h"
#include "MainMdiArea.h"
#include "TempDir.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

namespace {

const ResString kTexts[] = {{10, "Hello"}};
VELMORA_MODULE_STRINGS(kStrings, kTexts);

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
    // A context filled as the host fills it, the frame's size and menu set.
    FrameTest() {
        const std::pair<int, int> ints[] = {
            {kMenuEnable, 0x3F5}, {kFrameWidth, 1000}, {kFrameHeight, 700}, {kLinkFound, 1}};
        for (const auto& [slot, value] : ints)
            ctx.Int(slot) = value;
        mainWindow.setObjectName(kMainFrameObjectName);
        mainWindow.setCentralWidget(new QMdiArea);
        module.Attach(&ctx);
    }

    TempDir temp;
    FilledContext host{HostConfig{}, temp.Path().string()};
    SharedContext& ctx = host.Ctx();
    QMainWindow mainWindow;
    PluginModule module{PluginTraits{"Portdesk", kLangPortdesk, MenuEnableFlags::kConnect, 400, 300,
                                     ChildPlacement::Centred, true, false},
                        &kStrings};
    CDLLTemplate tmpl{module, [](PluginModule& m) { return new CountingView(m); }};
};

TEST_F(FrameTest, AttachResetsLinkFoundAndOneWindowAtATimeIsCentredInTheFrame) {
    EXPECT_EQ(ctx.Int(kLinkFound).load(), 0);
    QWidget* window = tmpl.OpenDocumentFile(nullptr, true);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(tmpl.OpenDocumentFile(nullptr, true), nullptr);
    EXPECT_EQ(mainWindow.findChild<QMdiArea*>()->subWindowList().size(), 1);
    EXPECT_EQ(module.viewExists.load(), 1);
    EXPECT_EQ(window->geometry(), QRect(300, 200, 400, 300));
    EXPECT_EQ(ctx.Int(kMenuEnable).load(), 0x3F4) << "Connect greyed while Portdesk is open";
    delete window;
    EXPECT_EQ(module.viewExists.load(), 0);
    EXPECT_EQ(ctx.Int(kMenuEnable).load(), 0x3F5);
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
    ctx.SetLanguage(kLangPortdesk, kLanguageTraditional);
    view->OnTimer();
    EXPECT_EQ(view->relabels, 1);
    EXPECT_EQ(view->text, "你好");
    EXPECT_EQ(ctx.LanguageApplied(kLangPortdesk), kLanguageTraditional);
    view->OnTimer();
    EXPECT_EQ(view->relabels, 1);
    ctx.SetLanguage(kLangPortdesk, kLanguageSimplified); // no such table
    view->OnTimer();
    EXPECT_EQ(view->text, "你好") << "a missing table keeps the texts";
    delete window;
}

} // namespace
