#include "VelmoraApp.h"

#include "CommHooks.h"
#include "DialogService.h"
#include "HostCommands.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QScreen>
#include <thread>

namespace {

struct ToolCommand {
    int commandId;
    PluginIndex plugin;
};

constexpr ToolCommand kToolCommands[] = {
    {HostCommand::kConnect, kPortdesk},    {HostCommand::kKnobset, kKnobset},
    {HostCommand::kMonitor, kMonitor},     {HostCommand::kTracelens, kTracelens},
    {HostCommand::kProgramJog, kNudgepad}, {HostCommand::kGlidebay, kGlidebay},
    {HostCommand::kGainwise, kGainwise},   {HostCommand::kRouteplan, kRouteplan}};

} // namespace

CVelmoraApp::CVelmoraApp(AppPaths paths)
    : paths_(std::move(paths)),
      iniPath_((paths_.settingsDir.empty() ? paths_.appDir : paths_.settingsDir) + "/Velmora.ini"),
      config_(ReadHostConfig(iniPath_)), hostModule_(&kHostStrings), hostTable_(&hostModule_),
      comm_(storage_.Context()) {}

CVelmoraApp::~CVelmoraApp() {
    ExitInstance();
    const HostConfigWriteBack remembered =
        contextFilled_ ? storage_.RememberedValues()
                       : HostConfigWriteBack{config_.comPort,       config_.slaveId,
                                             config_.retryTimes,    config_.retryIntervalMs,
                                             config_.preWaitTimeMs, config_.language};
    WriteHostConfig(iniPath_, remembered);
    plugins_.DeleteTemplates();
}

bool CVelmoraApp::InitInstance() {
    // The port library reports a failed open from either thread; the box is
    // shown on the UI thread.
    wirelay::SetMessageBoxFunction([](const std::string& text) {
        QMetaObject::invokeMethod(qApp, [text] {
            Dialogs().MessageBox(nullptr, text, "Velmora", MessageBoxStyle::kIconError);
        });
    });
    // The library's retry warnings sound as the system beep.
    wirelay::SetBeepFunction([] { QMetaObject::invokeMethod(qApp, [] { QApplication::beep(); }); });
    storage_.CreateParmStore(&hostModule_);
    const QString iconPath = QString::fromStdString(paths_.appDir + "/Image/Image.ico");
    if (QFileInfo::exists(iconPath))
        appIcon_ = QIcon(iconPath);
    comm_.Start();
    storage_.Fill(config_, paths_.appDir, appIcon_.isNull() ? nullptr : &appIcon_);
    contextFilled_ = true;
    if (!plugins_.LoadAll(paths_.pluginDir, Context(), &commLoopArg))
        return false;
    frame_ = std::make_unique<CMainFrame>(Context(), hostTable_, *this);
    comm_.Release(plugins_, &commLoopArg);
    // Shown before the first window opens, so that Portdesk centres itself in
    // the frame's real size.
    // The screen's size first: without a window manager (Xvfb) maximising
    // alone does nothing.
    frame_->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    frame_->showMaximized();
    QCoreApplication::processEvents(); // lets the maximised size arrive
    OpenPlugin(kPortdesk);
    return true;
}

int CVelmoraApp::ExitInstance() {
    // A plug-in busy inside one long call (Portdesk's search) sees the close
    // request and ends early; the comm thread then stops after its pass.
    if (contextFilled_)
        Context().Int(kCloseRequest).store(1);
    comm_.Stop();
    frame_.reset();
    wirelay::SetMessageBoxFunction(nullptr);
    wirelay::SetBeepFunction(nullptr);
    return 0;
}

bool CVelmoraApp::SaveAllModified() {
    SharedInt& busy = Context().Int(kBusyFlags);
    if ((busy.load() & BusyFlags::kBusy) == 0)
        return true;
    Context().Int(kCloseRequest).store(1);
    while ((busy.load() & BusyFlags::kFinished) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return true;
}

void CVelmoraApp::OnCommand(int commandId) {
    if (commandId == HostCommand::kAbout) {
        ShowAbout();
        return;
    }
    for (const ToolCommand& tool : kToolCommands) {
        if (tool.commandId == commandId)
            OpenPlugin(tool.plugin);
    }
}

void CVelmoraApp::OpenPlugin(PluginIndex index) {
    if (CMultiDocTemplate* docTemplate = plugins_[index].docTemplate)
        docTemplate->OpenDocumentFile(nullptr, true);
}

std::unique_ptr<CAboutDlg> CVelmoraApp::AboutBox() {
    return std::make_unique<CAboutDlg>(
        paths_.appDir, Context().Title(), hostTable_.GetResString(HostString::kAboutLine2),
        VersionText(hostTable_.GetResString(HostString::kAboutVersion)),
        hostTable_.GetResString(HostString::kAboutOk), frame_.get());
}

void CVelmoraApp::ShowAbout() {
    AboutBox()->exec();
}
