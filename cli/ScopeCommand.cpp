#include "ScopeCommand.h"

#include "CaptureMath.h"
#include "CliCommands.h"
#include "ScopeCsv.h"
#include "SignalList.h"
#include "StandaloneContext.h"
#include "TracelensApp.h"

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace velmora::cli {

namespace {

using namespace tracelens;
using Clock = std::chrono::steady_clock;

bool SameText(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return std::tolower(x) == std::tolower(y); });
}

// Finds each signal by code or name and gives it its slot(s).
bool ChooseSlots(const ScopeOptions& scope, const std::vector<SignalEntry>& list,
                 CTracelensApp& app, std::vector<CsvColumn>& columns, std::string& error) {
    ScopeRequest& request = app.WorkingRequest();
    int slot = 0;
    bool wideA = false, wideC = false;
    for (const ScopeSignalChoice& choice : scope.choices) {
        const SignalEntry* found = nullptr;
        char* end = nullptr;
        const long code = std::strtol(choice.codeOrName.c_str(), &end, 0);
        for (const SignalEntry& entry : list)
            if ((*end == '\0' && entry.code == code) || SameText(entry.name, choice.codeOrName))
                found = found ? found : &entry;
        if (found == nullptr && *end != '\0') {
            error = "no signal \"" + choice.codeOrName + "\" in the signal list";
            return false;
        }
        const int signalCode = found ? found->code : static_cast<int>(code);
        if (choice.wide && slot % 2 == 1)
            ++slot;
        if (slot + (choice.wide ? 1 : 0) > 3) {
            error = "the signals need more than four slots";
            return false;
        }
        std::string title =
            found && !found->name.empty() ? found->name : std::to_string(signalCode);
        if (found && !found->unit.empty())
            title += " (" + found->unit + ")";
        columns.push_back({title, slot});
        const int slotCount = choice.wide ? 2 : 1;
        for (int s = slot; s < slot + slotCount; ++s)
            request.word[ScopeRequest::kDriveWords + 1 + s] = signalCode;
        if (choice.wide)
            (slot == 0 ? wideA : wideC) = true;
        slot += slotCount;
    }
    app.MasterChannels()[0].wide = wideA;
    app.MasterChannels()[2].wide = wideC;
    request.word[ScopeRequest::kDriveWords] = PairingWord(wideA, wideC);
    return true;
}

void SetTiming(const ScopeOptions& scope, const std::vector<CsvColumn>& columns,
               CTracelensApp& app) {
    ScopeTiming& timing = app.MasterTiming();
    timing.highSample = scope.block ? 1 : 0;
    timing.timeBase = scope.timeBase > 0 ? scope.timeBase : (scope.block ? 10 : 100);
    const int screen = scope.block ? HighSampleTiming(timing.timeBase).length - 1
                                   : StreamDrawRange(timing.timeBase);
    timing.delay = scope.delay > 0 ? std::min(scope.delay, screen) : std::max(1, screen / 2);
    const int source = columns[static_cast<std::size_t>(scope.triggerSignal - 1)].channel;
    timing.trigger = TriggerDatas{1,
                                  source,
                                  source,
                                  scope.triggerCondition,
                                  scope.triggerCondition,
                                  static_cast<std::int32_t>(scope.triggerLevel),
                                  0,
                                  timing.delay};
    ScopeRequest& request = app.WorkingRequest();
    for (int counter : {ScopeRequest::kTimeBaseCounter, ScopeRequest::kDelayCounter,
                        ScopeRequest::kTriggerCounter})
        ++request.word[counter];
}

// Runs cycles, publishing as a window does every 47 ms, until `done`.
template <class Done>
bool RunCycles(CTracelensApp& app, double seconds, Done done) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(long(seconds * 1000));
    auto nextPublish = Clock::now();
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        if (Clock::now() >= nextPublish) {
            app.WorkingRequest().word[ScopeRequest::kRedraw] = 1; // applies changed settings
            app.PublishRequest();
            nextPublish += std::chrono::milliseconds(47);
        }
        app.ExternThread();
    }
    return true;
}

void StopCapture(CTracelensApp& app) {
    app.WorkingRequest().word[ScopeRequest::kRunMode] = kModeStop;
    RunCycles(app, 3, [&] { return app.CaptureState() == 0; });
}

} // namespace

int ExecuteScope(HANDLE port, int comPort, const DCB& dcb, const CliOptions& options,
                 const ScopeOptions& scope, std::ostream& out, std::ostream& err) {
    // The chart's fonts need a GUI application; no display is used.
    std::unique_ptr<QGuiApplication> gui;
    if (QCoreApplication::instance() == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "velmora-cli";
        static char* argv[] = {name, nullptr};
        gui = std::make_unique<QGuiApplication>(argc, argv);
    }
    const std::vector<SignalEntry> list = LoadSignalList(
        scope.appDir + "/cd.dat", SignalNamesPath(scope.appDir, scope.languageId), 0);
    StandaloneContext context;
    context.Context().Int(kSlaveId) = options.address;
    context.Context().Int(kRetryTimes) = options.retries > 0 ? options.retries - 1 : 0;
    context.PublishPort(port, comPort, dcb);
    CTracelensApp app;
    app.Attach(&context.Context());
    std::vector<CsvColumn> columns;
    std::string error;
    if (!ChooseSlots(scope, list, app, columns, error)) {
        err << "velmora-cli: scope: " << error << "\n";
        return kExitUsage;
    }
    SetTiming(scope, columns, app);
    std::vector<SampleRow> rows;
    const bool streamFor = !scope.block && !scope.triggered;
    if (streamFor)
        app.sampleTap = [&rows](const std::array<long, 4>& v) { rows.push_back(v); };
    // A few window ticks, so the cycle applies the settings before the run.
    RunCycles(app, 0.2, [] { return false; });
    const int mode = scope.block ? (scope.triggered ? kModeBlockSingle : kModeBlockContinue)
                                 : (scope.triggered ? kModeSingle : kModeContinue);
    app.WorkingRequest().word[ScopeRequest::kRunMode] = mode;
    const auto wanted = static_cast<std::size_t>(scope.streamSeconds * 1000);
    const int triggersBefore = app.WindowStatus().counter[ScopeStatus::kTriggerCounter];
    const bool done = RunCycles(
        app, streamFor ? scope.streamSeconds + scope.timeoutSeconds : scope.timeoutSeconds, [&] {
            if (app.CaptureState() == 0 && app.SampleCount() == 0 &&
                app.WindowStatus().stopReason == kStopSetupFailed)
                return true;
            if (streamFor)
                return rows.size() >= wanted;
            return app.WindowStatus().counter[ScopeStatus::kTriggerCounter] != triggersBefore;
        });
    app.sampleTap = nullptr;
    StopCapture(app);
    if (app.WindowStatus().stopReason == kStopSetupFailed) {
        err << "velmora-cli: scope: communication to the drive failed\n";
        return kExitRequestFailed;
    }
    if (!done) {
        err << "velmora-cli: scope: " << (streamFor ? "the stream stopped" : "no trigger")
            << " within the time-out\n";
        return kExitRequestFailed;
    }
    const double msPerSample = SampleIntervalMs(app.MasterTiming().timeBase, scope.block);
    if (streamFor)
        rows.resize(std::min(rows.size(), wanted));
    else
        rows = app.RecordedSamples();
    if (scope.out.empty()) {
        WriteScopeCsv(out, columns, rows, msPerSample, scope.block);
        return kExitOk;
    }
    std::ofstream file(scope.out, std::ios::trunc);
    WriteScopeCsv(file, columns, rows, msPerSample, scope.block);
    file.close();
    if (!file) {
        err << "velmora-cli: scope: cannot write " << scope.out << "\n";
        return kExitDataError;
    }
    return kExitOk;
}

} // namespace velmora::cli
