// Wave files through the capture cycle: the window names a file and raises a
// counter, the cycle saves or loads the chart's samples and reports with stop
// reason 3.
#include "FileSizeLimit.h"
#include "StandaloneContext.h"
#include "TempDir.h"
#include "TracelensApp.h"
#include "WaveFile.h"

#include <gtest/gtest.h>
#include <tuple>

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
        Publish(); // the window sees the status the cycle reported two ticks later
        Publish();
        const ScopeStatus& status = app.WindowStatus();
        EXPECT_EQ(std::tie(status.counter[ScopeStatus::kStoppedCounter], status.stopReason,
                           status.message, status.messageStyle),
                  std::make_tuple(stops + 1, kStopMessage, text, icon));
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
    const std::string text = TempDir::Read(path);
    EXPECT_NE(text.find("TypeCap=T5\n"), std::string::npos);
    EXPECT_NE(text.find("EncVer=E3\n"), std::string::npos);

    for (int ch = 0; ch < kChannels; ++ch)
        app.Chart().ShownBuf(ch).Clear();
    SetTimeBase(300, 0);
    Load(path);
    ExpectMessage("Read file success.", kIconInformation);
    EXPECT_EQ(app.RecordedSamples(), rows);
    const WaveSetup setup = SetupFromBlock(app.WindowStatus().settings);
    EXPECT_EQ(std::tuple(setup.timeBase, setup.highSample, setup.code, setup.divSel),
              std::tuple(100, 0, codes, std::array{9, 22, 0, 44}));
}

TEST_F(WaveCycle, AnEmptyChartSavesSizeZero) {
    const std::string path = dir.File("empty.tcs");
    Save(path);
    ExpectMessage("File: [" + path + "] saved.", kIconInformation);
    const std::string text = TempDir::Read(path);
    EXPECT_EQ(
        text.rfind("Sample size,0\nSample start, CHA, CHB, CHC, CHD\nSample end\n[Info]\n", 0), 0u);
    EXPECT_NE(text.find("Size=0\n[Setup]\n"), std::string::npos);
}

// Loaded files are cut to what the chart can show; a file without its
// "Sample start" fails after the buffers were cleared.
TEST_F(WaveCycle, LoadsKeepAtMostWhatTheChartShows) {
    std::string oneScreen = "Sample size,2000\nSample start, CHA, CHB, CHC, CHD\n";
    for (int i = 0; i < 2000; ++i)
        oneScreen += std::to_string(i) + "," + std::to_string(i) + ",0,0,0\n";
    oneScreen += "Sample end\n[Info]\nSize=2000\n[Setup]\nTimeBase_ms_Div=100\n";
    std::string beyond = "Sample start\n";
    for (int i = 0; i < 3100; ++i)
        beyond += std::to_string(i) + "," + std::to_string(i) + ",2,3,4\n";
    beyond += "[Info]\nSize=2000000000\n[Setup]\nTimeBase_ms_Div=2000000000\n";
    const struct {
        const char* name;
        std::string text;
        const char* message;
        std::size_t rows;
    } cases[] = {
        {"no Sample start", "Sample size,2\n0,1,2,3,4\n1,1,2,3,4\n[Info]\nSize=2\n",
         "Read file failed.", 0},
        {"2000 samples at 100 ms/div", oneScreen, "Read file success.", 1001},
        {"size and time base beyond the axis", beyond, "Read file success.", 3001},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Record(50);
        Load(dir.Write("load.tcs", c.text));
        ExpectMessage(c.message, c.rows == 0 ? kIconError : kIconInformation);
        const std::vector<SampleRow> rows = app.RecordedSamples();
        ASSERT_EQ(rows.size(), c.rows);
        if (!rows.empty()) {
            EXPECT_EQ(rows.back()[0], static_cast<long>(c.rows) - 1) << "the first samples kept";
        }
    }
}

TEST_F(WaveCycle, AFailedSaveLeavesTheOldFile) {
    Record(100);
    const std::string path = dir.Write("kept.tcs", "the old wave\n");
    {
        FileSizeLimit full(16);
        Save(path);
    }
    ExpectMessage("Cannot create file: " + path, kIconError);
    const std::string text = TempDir::Read(path);
    EXPECT_EQ(text, "the old wave\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1)
        << "no temporary file is left";
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

} // namespace
} // namespace tracelens
