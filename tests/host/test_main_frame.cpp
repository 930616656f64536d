// The main frame: menu texts by language, enabling, and the requests plug-ins
// post through the context.
#include "AboutBox.h"
#include "HostCommands.h"
#include "HostFixture.h"
#include "LayoutCheck.h"

#include <QLabel>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

// Menu texts of the host's own Traditional table in this folder.
class MainFrameTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        folder.Temp().Write("Language/Velmora/CHT/CHT.lng",
                            "[StringTable]\n200=檔案(&F)\n207=連線(&C)\n");
    }
};

TEST_F(MainFrameTest, LanguageChangeFromOutsideRelabelsWithinOneTick) {
    ASSERT_TRUE(Start(false));
    CVelmoraApp& app = *host;
    CMainFrame& frame = *app.MainFrame();
    EXPECT_EQ(frame.Popup(0)->title(), "File(&F)") << "no language: the built-in texts";
    EXPECT_FALSE(frame.Action(kLanguageEnglish)->isChecked());

    app.Context().SetLanguage(kLangHost, kLanguageTraditional);
    frame.OnTimer();
    EXPECT_EQ(frame.Popup(0)->title(), QString("檔案(&F)"));
    EXPECT_EQ(frame.Action(HostCommand::kConnect)->text(), QString("連線(&C)"));
    EXPECT_EQ(frame.Action(HostCommand::kTile)->text(), "Tile(&T)") << "no entry: built-in text";
    EXPECT_TRUE(frame.Action(kLanguageTraditional)->isChecked());
    EXPECT_EQ(app.Context().LanguageApplied(kLangHost), kLanguageTraditional);
    for (int owner = 0; owner < kLanguageOwners; ++owner)
        EXPECT_EQ(app.Context().Language(owner), kLanguageTraditional);
}

TEST_F(MainFrameTest, MissingTableKeepsTextsButMovesCheckAndSlots) {
    ASSERT_TRUE(Start(false));
    CMainFrame& frame = *host->MainFrame();
    frame.Action(kLanguageTraditional)->trigger();
    ASSERT_EQ(frame.Popup(0)->title(), QString("檔案(&F)"));
    frame.Action(kLanguageSimplified)->trigger(); // no CHS table in this folder
    EXPECT_EQ(frame.Popup(0)->title(), QString("檔案(&F)"));
    EXPECT_TRUE(frame.Action(kLanguageSimplified)->isChecked());
    EXPECT_FALSE(frame.Action(kLanguageTraditional)->isChecked());
    EXPECT_EQ(host->Context().Language(kLangKnobset), kLanguageSimplified);
    host->ExitInstance();
    EXPECT_EQ(ReadHostConfig(folder.AppDir() + "/Velmora.ini").language, 0)
        << "written only when the application object goes";
}

TEST_F(MainFrameTest, ShippedTablesCoverEveryMenuText) {
    const std::string shipped = std::string(VELMORA_APP_DIR_FOR_TESTS);
    for (int id : {kLanguageEnglish, kLanguageTraditional, kLanguageSimplified}) {
        ModuleHandle none = nullptr;
        CStringResource table(&none);
        ASSERT_EQ(table.ReadTableFile(LanguageTablePath(shipped, "Velmora", id).c_str()), 1) << id;
        for (unsigned sid = 200; sid <= 229; ++sid)
            EXPECT_FALSE(table.GetResString(sid).empty()) << id << " lacks " << sid;
    }
}

TEST_F(MainFrameTest, EditorAndScopeRequestsAreServedOnce) {
    ASSERT_TRUE(Start(true));
    SharedContext& ctx = host->Context();
    ctx.Int(kMenuEnable) |= MenuEnableFlags::kOpenEditor;
    ctx.ScopeRequest().word[35] = 3;
    host->MainFrame()->OnTimer();
    EXPECT_EQ(ctx.Int(kMenuEnable).load() & MenuEnableFlags::kOpenEditor, 0);
    EXPECT_EQ(ctx.ScopeRequest().word[36].load(), 3) << "acknowledged";
    host->MainFrame()->OnTimer();
    const auto log = TestLogTake();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Open:Knobset"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Open:Tracelens"), 1);
}

TEST_F(MainFrameTest, AboutBoxShowsPictureTextsAndVersionWhole) {
    struct Case {
        bool picture;
        const char* secondLine;
    };
    const Case cases[] = {{true, "line two"},
                          {true, "A translated line far longer than the picture is wide"},
                          {false, "line two"}};
    for (const Case& c : cases) {
        TempDir app;
        if (c.picture) {
            QImage picture(120, 60, QImage::Format_RGB32);
            picture.fill(Qt::darkBlue);
            std::filesystem::create_directories(app.Path() / "Image");
            ASSERT_TRUE(picture.save(QString::fromStdString(app.File("Image/Image.Bmp")), "BMP"));
        }
        CAboutDlg about(app.Path().string(), "Velmora", c.secondLine,
                        VersionText("Version %s, built %s"), "OK");
        about.show();
        EXPECT_GE(about.width(), c.picture ? 140 : 0);
        EXPECT_TRUE(about.VersionLine()->text().startsWith("Version 0."));
        for (const std::string& fault : layoutcheck::Faults(&about))
            ADD_FAILURE() << c.secondLine << ": " << fault;
    }
}

TEST_F(MainFrameTest, FrameTitleAndIconComeFromTheApplicationFolder) {
    folder.Temp().Write("Velmora.ini", "[DataFile]\nstrName=My Velmora\n");
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    std::filesystem::create_directories(folder.AppDir() + "/Image");
    ASSERT_TRUE(icon.save(QString::fromStdString(folder.AppDir() + "/Image/Image.ico"), "PNG"));
    ASSERT_TRUE(Start(false));
    EXPECT_EQ(host->MainFrame()->windowTitle(), "My Velmora");
    ASSERT_NE(host->Context().AppIcon(), nullptr);
    EXPECT_FALSE(host->MainFrame()->windowIcon().isNull());
}

} // namespace
