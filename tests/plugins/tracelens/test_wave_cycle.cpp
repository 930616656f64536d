// Wave files through the capture cycle: the window names a file and raises a
// counter, the cycle saves or loads the chart's samples and reports with stop
// reason 3. Also the clear commands' one-at-a-time rule.
#include "AtomicFile.h"
#include "FileSizeLimit.h"
#include "StandaloneContext.h"
#include "TempDir.h"
#include "TracelensApp.h"
#include "WaveFile.h"

#include <gtest/gtest.h>

namespace tracelens {
namespace {

class WaveCycle : public testing::Test {
protected:
    WaveCycle() {
        app.Attach(&context.Context());
        SetTimeBase(100, 0);
    }

    // One window tick and one cycle; a zero-sized chart applies settings
    // without drawing.
    void Publish() {
        app.WorkingRequest().word[ScopeRequest::kRedraw] = 1;
        ASSERT_TRUE(app.PublishRequest());
        app.ExternThread();
    }
    // The status the cycle reported, as the window sees it two ticks later.
    const ScopeStatus& Status() {
        Publish();
        Publish();
        return app.WindowStatus();
    }
    void SetTimeBase(int timeBase, int highSample) {
        app.MasterTiming().timeBase = timeBase;
        app.MasterTiming().highSample = highSample;
        ++app.WorkingRequest().word[ScopeRequest::kTimeBaseCounter];
        Publish();
    }
    // Samples as if recorded (the test thread is the cycle's thread here).
    std::vector<SampleRow> Record(int count) {
        std::vector<SampleRow> rows;
        for (long i = 0; i < count; ++i) {
            const SampleRow row{i, -i, 1000 + i, i * 70000};
            for (int ch = 0; ch < kChannels; ++ch)
                app.Chart().ShownBuf(ch).SatAdd(&row[static_cast<std::size_t>(ch)]);
            rows.push_back(row);
        }
        return rows;
    }
    void Save(const std::string& path) {
        app.RequestWaveSave(path);
        Publish();
    }
    void Load(const std::string& path) {
        app.RequestWaveLoad(path);
        Publish();
    }
    void ExpectMessage(const std::string& text, int icon) {
        const int stops = app.WindowStatus().counter[ScopeStatus::kStoppedCounter];
        const ScopeStatus& status = Status();
        EXPECT_EQ(status.counter[ScopeStatus::kStoppedCounter], stops + 1);
        EXPECT_EQ(status.stopReason, kStopMessage);
        EXPECT_EQ(status.message, text);
        EXPECT_EQ(status.messageStyle, icon);
    }

    TempDir dir;
    StandaloneContext context;
    CTracelensApp app;
};

TEST_F(WaveCycle, SaveClearLoadGivesTheSameSamplesAndSettings) {
    context.Context().OfflineIdentity().Set(2, "T5");
    context.Context().OfflineIdentity().Set(7, "E3");
    const std::vector<SampleRow> rows = Record(700);
    const std::array<int, 4> codes{1, 22, 4, 90};
    const std::array<int, 4> scales{100, 1000, 10, 20000000};
    for (int ch = 0; ch < kChannels; ++ch) {
        app.WorkingRequest().word[ScopeRequest::kDriveWords + 1 + ch] = codes[ch];
        app.MasterChannels()[ch].unitPerDiv = scales[ch];
    }
    app.MasterChannels()[0].inverted = 1; // saving keeps the values, not the picture
    const std::string path = dir.File("run.tcs");
    Save(path);
    ExpectMessage("File: [" + path + "] saved.", kIconInformation);
    std::string text;
    ASSERT_TRUE(toolbelt::ReadWholeFile(path, text));
    EXPECT_NE(text.find("TypeCap=T5\n"), std::string::npos);
    EXPECT_NE(text.find("EncVer=E3\n"), std::string::npos);

    for (int ch = 0; ch < kChannels; ++ch)
        app.Chart().ShownBuf(ch).Clear();
    SetTimeBase(300, 0);
    Load(path);
    ExpectMessage("Read file success.", kIconInformation);
    EXPECT_EQ(app.RecordedSamples(), rows);
    const WaveSetup setup = SetupFromBlock(app.WindowStatus().settings);
    EXPECT_EQ(setup.timeBase, 100);
    EXPECT_EQ(setup.highSample, 0);
    EXPECT_EQ(setup.code, codes);
    EXPECT_EQ(setup.divSel, (std::array<int, 4>{9, 22, 0, 44}));
}

TEST_F(WaveCycle, AnEmptyChartSavesSizeZeroAndLoadsBack) {
    const std::string path = dir.File("empty.tcs");
    Save(path);
    ExpectMessage("File: [" + path + "] saved.", kIconInformation);
    std::string text;
    ASSERT_TRUE(toolbelt::ReadWholeFile(path, text));
    EXPECT_EQ(
        text.rfind("Sample size,0\nSample start, CHA, CHB, CHC, CHD\nSample end\n[Info]\n", 0), 0u);
    EXPECT_NE(text.find("Size=0\n[Setup]\n"), std::string::npos);
    Load(path);
    ExpectMessage("Read file success.", kIconInformation);
    EXPECT_TRUE(app.RecordedSamples().empty());
}

TEST_F(WaveCycle, AFileWithoutSampleStartFailsAfterClearing) {
    Record(50);
    const std::string path =
        dir.Write("nostart.tcs", "Sample size,2\n0,1,2,3,4\n1,1,2,3,4\n[Info]\nSize=2\n");
    Load(path);
    ExpectMessage("Read file failed.", kIconError);
    EXPECT_TRUE(app.RecordedSamples().empty()) << "the buffers were cleared before reading";
}

TEST_F(WaveCycle, AStreamingFileLoadsAtMostOneScreen) {
    std::string text = "Sample size,2000\nSample start, CHA, CHB, CHC, CHD\n";
    for (int i = 0; i < 2000; ++i)
        text += std::to_string(i) + "," + std::to_string(i) + ",0,0,0\n";
    text += "Sample end\n[Info]\nSize=2000\n[Setup]\nTimeBase_ms_Div=100\nTimeBase_EnHiSamp=0\n";
    Load(dir.Write("long.tcs", text));
    ExpectMessage("Read file success.", kIconInformation);
    const std::vector<SampleRow> rows = app.RecordedSamples();
    ASSERT_EQ(rows.size(), 1001u);
    EXPECT_EQ(rows.front()[0], 0);
    EXPECT_EQ(rows.back()[0], 1000);
}

TEST_F(WaveCycle, SizesBeyondTheChartAreCut) {
    // A time base and size far beyond the axis: no more than 3001 samples.
    std::string text = "Sample start\n";
    for (int i = 0; i < 3100; ++i)
        text += std::to_string(i) + ",1,2,3,4\n";
    text += "[Info]\nSize=2000000000\n[Setup]\nTimeBase_ms_Div=2000000000\n";
    Load(dir.Write("huge.tcs", text));
    ExpectMessage("Read file success.", kIconInformation);
    EXPECT_EQ(app.RecordedSamples().size(), 3001u);
}

TEST_F(WaveCycle, AFileWithoutDivisionKeysLeavesTheSelectionsAlone) {
    Load(dir.Write("nodiv.tcs", "Sample start\n0,1,2,3,4\n[Info]\nSize=1\n[Setup]\nCHA_ID=7\n"));
    ExpectMessage("Read file success.", kIconInformation);
    const WaveSetup setup = SetupFromBlock(app.WindowStatus().settings);
    EXPECT_EQ(setup.code[0], 7);
    EXPECT_EQ(setup.divSel, (std::array<int, 4>{46, 46, 46, 46})) << "beyond the 45 entries";
}

TEST_F(WaveCycle, AFailedSaveLeavesTheOldFile) {
    Record(100);
    const std::string path = dir.Write("kept.tcs", "the old wave\n");
    {
        FileSizeLimit full(16);
        Save(path);
    }
    ExpectMessage("Cannot create file: " + path, kIconError);
    std::string text;
    ASSERT_TRUE(toolbelt::ReadWholeFile(path, text));
    EXPECT_EQ(text, "the old wave\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1)
        << "no temporary file is left";

    const std::string nowhere = dir.File("missing/folder/x.tcs");
    Save(nowhere);
    ExpectMessage("Cannot create file: " + nowhere, kIconError);
}

TEST_F(WaveCycle, AnUnreadableFileLeavesTheChartAlone) {
    const std::vector<SampleRow> rows = Record(20);
    const std::string path = dir.File("absent.tcs");
    Load(path);
    ExpectMessage("Cannot open file: " + path, kIconError);
    EXPECT_EQ(app.RecordedSamples(), rows);
    EXPECT_EQ(app.WindowStatus().counter[ScopeStatus::kSettingsCounter], 0);
}

TEST_F(WaveCycle, MessagesComeInTheWindowsLanguage) {
    std::array<std::string, kScopeMessages> texts{};
    texts[kMsgSaved] = "檔案：[%s] 已儲存。";
    app.SetMessageTexts(texts);
    const std::string path = dir.File("zh.tcs");
    Save(path);
    ExpectMessage("檔案：[" + path + "] 已儲存。", kIconInformation);
}

TEST_F(WaveCycle, ASecondClearWhileOnePendsDoesNothing) {
    ASSERT_TRUE(app.RequestClear(1));
    EXPECT_FALSE(app.RequestClear(2));
    const ClearCommand pending = app.TakeClearResult();
    EXPECT_EQ(pending.choice, 1);
    EXPECT_EQ(pending.pending, 1);
    EXPECT_EQ(pending.result, 0);
    EXPECT_FALSE(app.RequestClear(2)) << "reading a pending command keeps it";
}

TEST_F(WaveCycle, AnExportCopyHoldsTheShownSamples) {
    SetTimeBase(7, 1);
    const std::vector<SampleRow> rows = Record(351);
    RecordedCopy copy;
    EXPECT_FALSE(app.TakeRecordedCopy(copy));
    app.RequestRecordedCopy();
    app.ExternThread();
    ASSERT_TRUE(app.TakeRecordedCopy(copy));
    EXPECT_EQ(copy.rows, rows);
    EXPECT_TRUE(copy.highSample);
    EXPECT_DOUBLE_EQ(copy.msPerSample, 0.2);
    EXPECT_FALSE(app.TakeRecordedCopy(copy)) << "one copy per request";
}

} // namespace
} // namespace tracelens
