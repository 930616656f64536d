#include "MainFrame.h"

#include "HostCommands.h"
#include "MainMdiArea.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <algorithm>

namespace {

// Top-level items, by position, and their string ids.
constexpr unsigned kTopLevelText[CMainFrame::kTopLevelItems] = {200, 201, 202, 203, 220, 218,
                                                                222, 224, 204, 205, 206};

struct CommandText {
    int commandId;
    unsigned stringId;
};

constexpr CommandText kCommandTexts[] = {
    {HostCommand::kConnect, 207},   {HostCommand::kExit, 208},
    {HostCommand::kKnobset, 209},   {HostCommand::kMonitor, 210},
    {HostCommand::kTracelens, 211}, {HostCommand::kProgramJog, 221},
    {HostCommand::kGlidebay, 219},  {HostCommand::kGainwise, 223},
    {HostCommand::kRouteplan, 225}, {HostCommand::kCascade, 212},
    {HostCommand::kTile, 213},      {HostCommand::kArrangeIcons, 214},
    {kLanguageEnglish, 215},        {kLanguageTraditional, 216},
    {kLanguageSimplified, 217},     {HostCommand::kAbout, HostString::kAboutItem}};

struct CommandBit {
    int commandId;
    int bit;
};

// Tool items and the MenuEnableFlags bit that enables each.
constexpr CommandBit kCommandBits[] = {{HostCommand::kConnect, MenuEnableFlags::kConnect},
                                       {HostCommand::kKnobset, MenuEnableFlags::kKnobset},
                                       {HostCommand::kMonitor, MenuEnableFlags::kMonitor},
                                       {HostCommand::kTracelens, MenuEnableFlags::kTracelens},
                                       {HostCommand::kProgramJog, MenuEnableFlags::kProgramJog},
                                       {HostCommand::kGlidebay, MenuEnableFlags::kGlidebay},
                                       {HostCommand::kGainwise, MenuEnableFlags::kGainwise},
                                       {HostCommand::kRouteplan, MenuEnableFlags::kRouteplan}};

QString Qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CMainFrame::CMainFrame(SharedContext& ctx, CStringResource& hostTable, FrameCommands& commands)
    : ctx_(ctx), hostTable_(hostTable), commands_(commands) {
    setObjectName(kMainFrameObjectName);
    mdiArea_ = new QMdiArea(this);
    setCentralWidget(mdiArea_);
    mdiArea_->installEventFilter(this);
    mdiArea_->viewport()->installEventFilter(this);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &CMainFrame::OnUpdateFrameTitle);
    BuildMenu();
    BuildStatusBar();
    if (const QIcon* icon = ctx_.AppIcon())
        setWindowIcon(*icon);
    connect(&timer_, &QTimer::timeout, this, &CMainFrame::OnTimer);
    timer_.start(10);
    ApplyLanguage(ctx_.Language(kLangHost));
}

CMainFrame::~CMainFrame() {
    // The tool windows close with the MDI area after this object's members
    // are gone; their activation changes must not reach it any more.
    timer_.stop();
    disconnect(mdiArea_, nullptr, this, nullptr);
    mdiArea_->removeEventFilter(this);
}

QAction* CMainFrame::AddCommand(QMenu* menu, int commandId) {
    QAction* action = menu->addAction(QString());
    connect(action, &QAction::triggered, this, [this, commandId] {
        if (commandId >= kLanguageEnglish && commandId <= kLanguageSimplified)
            ApplyLanguage(commandId);
        else
            commands_.OnCommand(commandId);
    });
    actions_[commandId] = action;
    return action;
}

void CMainFrame::BuildMenu() {
    QMenuBar* bar = menuBar();
    for (QMenu*& popup : popups_)
        popup = bar->addMenu(QString());
    AddCommand(popups_[0], HostCommand::kConnect);
    popups_[0]->addSeparator();
    AddCommand(popups_[0], HostCommand::kExit);
    AddCommand(popups_[1], HostCommand::kKnobset);
    AddCommand(popups_[2], HostCommand::kMonitor);
    AddCommand(popups_[3], HostCommand::kTracelens);
    AddCommand(popups_[4], HostCommand::kProgramJog);
    AddCommand(popups_[5], HostCommand::kGlidebay);
    AddCommand(popups_[6], HostCommand::kGainwise);
    AddCommand(popups_[7], HostCommand::kRouteplan);
    AddCommand(popups_[8], HostCommand::kCascade);
    AddCommand(popups_[8], HostCommand::kTile);
    AddCommand(popups_[8], HostCommand::kArrangeIcons);
    languageGroup_ = new QActionGroup(this);
    languageGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int id : {kLanguageEnglish, kLanguageTraditional, kLanguageSimplified}) {
        QAction* action = AddCommand(popups_[9], id);
        action->setCheckable(true);
        languageGroup_->addAction(action);
    }
    AddCommand(popups_[10], HostCommand::kAbout);
    connect(actions_[HostCommand::kCascade], &QAction::triggered, mdiArea_,
            &QMdiArea::cascadeSubWindows);
    connect(actions_[HostCommand::kTile], &QAction::triggered, mdiArea_, &QMdiArea::tileSubWindows);
    connect(actions_[HostCommand::kArrangeIcons], &QAction::triggered, this,
            &CMainFrame::ArrangeIcons);
    connect(actions_[HostCommand::kExit], &QAction::triggered, this, &QWidget::close);
}

void CMainFrame::BuildStatusBar() {
    messagePane_ = new QLabel(this);
    statusBar()->addWidget(messagePane_, 1);
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(indicator, this);
        pane->setEnabled(false);
        statusBar()->addPermanentWidget(pane);
    }
}

QAction* CMainFrame::Action(int commandId) const {
    auto it = actions_.find(commandId);
    return it != actions_.end() ? it->second : nullptr;
}

QMenu* CMainFrame::Popup(int position) const {
    return popups_[position];
}

void CMainFrame::ApplyLanguage(int languageId) {
    for (int id : {kLanguageEnglish, kLanguageTraditional, kLanguageSimplified})
        actions_[id]->setChecked(id == languageId);
    for (int owner = 0; owner < kLanguageOwners; ++owner)
        ctx_.SetLanguage(owner, languageId);
    hostTable_.ReadTableFile(LanguageTablePath(ctx_.AppDir(), "Velmora", languageId).c_str());
    for (int i = 0; i < kTopLevelItems; ++i)
        popups_[i]->setTitle(Qs(hostTable_.GetResString(kTopLevelText[i])));
    for (const CommandText& entry : kCommandTexts)
        actions_[entry.commandId]->setText(Qs(hostTable_.GetResString(entry.stringId)));
    messagePane_->setText(Qs(hostTable_.GetResString(HostString::kReady)));
    appliedMenuFlags_ = -1;
    ApplyEnableStates();
    setWindowTitle(Qs(ctx_.Title()));
}

void CMainFrame::ApplyEnableStates() {
    const int flags = ctx_.Int(kMenuEnable).load();
    if (flags == appliedMenuFlags_)
        return;
    for (const CommandBit& entry : kCommandBits)
        actions_[entry.commandId]->setEnabled((flags & entry.bit) != 0);
    appliedMenuFlags_ = flags;
}

void CMainFrame::OnTimer() {
    const int wanted = ctx_.Language(kLangHost);
    if (wanted != ctx_.LanguageApplied(kLangHost)) {
        ApplyLanguage(wanted);
        ctx_.SetLanguageApplied(kLangHost, wanted);
    }
    ScopeRequestBlock& scope = ctx_.ScopeRequest();
    const int requested = scope.word[ScopeRequestBlock::kOpenRequest].load();
    if (scope.word[ScopeRequestBlock::kOpenServed].load() != requested) {
        commands_.OnCommand(HostCommand::kTracelens);
        scope.word[ScopeRequestBlock::kOpenServed].store(requested);
    }
    // Plug-ins change the menu bits from either thread; the items follow on
    // the next tick, and a request to open the parameter editor is served.
    ApplyEnableStates();
    ServeEditorRequest();
}

void CMainFrame::OnUpdateFrameTitle() {
    ApplyLanguage(ctx_.Language(kLangHost));
    ServeEditorRequest();
}

void CMainFrame::ServeEditorRequest() {
    // Clearing and testing in one step serves each request exactly once.
    const int before = ctx_.Int(kMenuEnable).fetch_and(~MenuEnableFlags::kOpenEditor);
    if ((before & MenuEnableFlags::kOpenEditor) != 0)
        commands_.OnCommand(HostCommand::kKnobset);
}

void CMainFrame::ArrangeIcons() {
    // Minimised windows line up along the bottom edge, left to right.
    int x = 0;
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (!window->isMinimized())
            continue;
        window->move(x, mdiArea_->viewport()->height() - window->height());
        x += window->width();
    }
}

void CMainFrame::PublishClientSize() {
    ctx_.Int(kFrameWidth).store(mdiArea_->width());
    ctx_.Int(kFrameHeight).store(mdiArea_->height());
}

// A tool window that no longer fits the area (its menu or status bar grew
// taller with another language, or the frame shrank) shrinks with it.
void CMainFrame::FitSubWindows() {
    const QSize room = mdiArea_->viewport()->size();
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (window->isMinimized() || window->isMaximized() ||
            window->minimumSize() == window->maximumSize())
            continue;
        window->resize(window->size().boundedTo(room));
        window->move(std::clamp(window->x(), 0, std::max(0, room.width() - window->width())),
                     std::clamp(window->y(), 0, std::max(0, room.height() - window->height())));
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mdiArea_ && event->type() == QEvent::Resize)
        PublishClientSize();
    // The viewport, not the area: it takes its new size only after the area's
    // own resize handling, and it is the room the windows live in.
    if (watched == mdiArea_->viewport() && event->type() == QEvent::Resize)
        FitSubWindows();
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Each tool window may ask about unsaved work first, and may stay open.
    mdiArea_->closeAllSubWindows();
    if (!mdiArea_->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    if (commands_.SaveAllModified())
        event->accept();
    else
        event->ignore();
}
