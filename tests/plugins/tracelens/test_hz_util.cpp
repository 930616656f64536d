// The utility panel against the engine without a drive: wave-file requests,
// the clear commands and their answers, the exports and the texts in three
// languages.
#include "HzUtil.h"
#include "RecordingDialogs.h"
#include "StandaloneContext.h"
#include "TempDir.h"
#include "TracelensApp.h"
#include "TracelensStrings.h"

#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace tracelens {
namespace {

class UtilPanel : public testing::Test {
protected:
    UtilPanel() {
        context.SetAppDir(dir.Path().string());
        module.Attach(&context.Context());
        app.Attach(&context.Context());
    }
    // The cycle answers what the panel asked; the panel's timer shows it.
    void Cycle() {
        app.WorkingRequest().word[ScopeRequest::kRedraw] = 1;
        ASSERT_TRUE(app.PublishRequest());
        app.ExternThread();
        panel.OnTick();
    }

    TempDir dir;
    RecordingDialogs dialogs;
    StandaloneContext context;
    PluginModule module{{"Trace", kLangTracelens, MenuEnableFlags::kTracelens}, &kTracelensStrings};
    CTracelensApp app;
    CHzUtil panel{app, module, nullptr};
};

TEST_F(UtilPanel, SaveAndOpenNameTheFileAndRaiseTheirCounters) {
    dialogs.paths = {dir.File("first"), dir.File("second.csv"), ""};
    const ScopeRequest& request = app.WorkingRequest();
    panel.SaveButton()->click();
    EXPECT_EQ(request.waveFile, dir.File("first.tcs")) << "the default extension";
    EXPECT_EQ(request.word[ScopeRequest::kSaveWaveCounter], 1);
    panel.OpenButton()->click();
    EXPECT_EQ(request.waveFile, dir.File("second.csv"));
    EXPECT_EQ(request.word[ScopeRequest::kLoadWaveCounter], 1);
    panel.OpenButton()->click(); // cancelled
    EXPECT_EQ(request.word[ScopeRequest::kLoadWaveCounter], 1);
    EXPECT_EQ(dialogs.saveProposals, std::vector<std::string>{""});
}

TEST_F(UtilPanel, FileAndClearButtonsWorkOnlyWhileStopped) {
    for (int mode : {kModeContinue, kModeStop}) {
        app.WorkingRequest().word[ScopeRequest::kRunMode] = mode;
        panel.OnTick();
        for (QPushButton* b : {panel.SaveButton(), panel.OpenButton(), panel.ClearButton()})
            EXPECT_EQ(b->isEnabled(), mode == kModeStop) << mode;
    }
}

TEST_F(UtilPanel, AFailedClearIsAnsweredOnceAndReset) {
    panel.ClearChoice()->setCurrentIndex(1);
    panel.ClearButton()->click();
    EXPECT_EQ(app.TakeClearResult().choice, 2);
    // On line without a port the write fails: one answer, then all is reset.
    context.Context().Int(kOnline) = 1;
    Cycle();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Communication connection failed");
    EXPECT_EQ(dialogs.boxes[0].style, MessageBoxStyle::kIconError);
    EXPECT_EQ(app.TakeClearResult().choice, 0);
    Cycle();
    EXPECT_EQ(dialogs.boxes.size(), 1u);
}

TEST_F(UtilPanel, ExportCsvWritesTheShownChannelsOnceTheCycleCopiedThem) {
    ChannelTable& channels = app.MasterChannels();
    app.MasterTiming().signal[0] = 0;
    app.MasterTiming().signal[1] = 1; // hidden trace: not exported
    app.MasterTiming().signal[3] = 2;
    channels[0].caption = "Speed (r/min)";
    channels[1].enabled = 0;
    channels[3].caption = "Torque (%)";
    ++app.WorkingRequest().word[ScopeRequest::kTimeBaseCounter];
    Cycle();
    for (long i = 0; i < 3; ++i) {
        const long values[4] = {i, 5, 6, -i};
        for (int ch = 0; ch < kChannels; ++ch)
            app.Chart().ShownBuf(ch).SatAdd(&values[ch]);
    }
    const std::string path = dir.File("shown");
    dialogs.paths = {path};
    panel.ExportCsv();
    Cycle();
    const std::string text = TempDir::Read(path + ".csv");
    EXPECT_EQ(text, "time_ms,\"Speed (r/min)\",\"Torque (%)\"\n0,0,0\n1,1,-1\n2,2,-2\n");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "File: [" + path + ".csv] saved.");
}

TEST_F(UtilPanel, ExportPngSavesTheHandedOverPicture) {
    panel.ExportPng();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "The chart has not been drawn yet.");
    ScopeRequest& request = app.WorkingRequest();
    request.word[ScopeRequest::kRectLeft + 2] = 320;
    request.word[ScopeRequest::kRectLeft + 3] = 200;
    Cycle();
    const std::string path = dir.File("chart.png");
    dialogs.paths = {path};
    panel.ExportPng();
    const QImage saved(QString::fromStdString(path));
    EXPECT_EQ(saved.size(), QSize(320, 200));
    EXPECT_EQ(dialogs.boxes.back().text, "File: [" + path + "] saved.");
}

TEST_F(UtilPanel, TextsAndHelpLinesFollowTheLanguage) {
    const std::string util = "[Setup]\niQty=2\n[Data1]\nInfo_iQty=2\nname0=一\nname1=二\n"
                             "[Data2]\nInfo_iQty=1\nname0=三\n[Data3]\nInfo_iQty=1\nname0=x\n";
    module.Strings().ReadTableFile(
        dir.Write("Language/Trace/CHT/CHT.lng", "[StringTable]\n320=儲存波形\n323=22:編碼器資料\n")
            .c_str());
    dir.Write("Language/Trace/CHT/UtilCHT.lng", util);
    context.Context().SetLanguage(kLangTracelens, kLanguageTraditional);
    panel.ApplyLanguage();
    EXPECT_EQ(panel.SaveButton()->text(), "儲存波形");
    EXPECT_EQ(panel.ClearChoice()->itemText(0), "22:編碼器資料");
    ASSERT_EQ(panel.InfoList()->count(), 3);
    EXPECT_EQ(panel.InfoList()->item(2)->text(), "三");
}

} // namespace
} // namespace tracelens
