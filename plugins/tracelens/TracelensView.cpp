#include "TracelensView.h"

#include "HzCur.h"
#include "HzTime.h"
#include "HzTrig.h"
#include "HzUtil.h"
#include "PanelText.h"
#include "ScopeChartArea.h"
#include "ScopeIndicator.h"
#include "SignalList.h"
#include "TracelensApp.h"
#include "TracelensStrings.h"
#include "TriggerChoices.h"
#include "VtCh.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tracelens {

namespace {
constexpr int kPublishMs = 47;
constexpr int kReadoutLines = 5;
} // namespace

CTracelensView::CTracelensView(PluginModule& module, CTracelensApp& app, std::string startDir)
    : CDLLView(module), app_(app), startDir_(std::move(startDir)), settings_(app),
      input_(app.WorkingRequest()) {
    ++app_.WorkingRequest().word[ScopeRequest::kGeneration];
    seenCounters_ = std::to_array(app_.WindowStatus().counter);
    chart_ = new ScopeChartArea(input_, this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(chart_, 1);
    layout->addWidget(BuildSide());
    connect(chart_, &ScopeChartArea::Pressed, this,
            [this] { RunButtonOf(RunButton::Stop)->setFocus(); });
    connect(chart_, &ScopeChartArea::ZoomToolsOff, this, &CTracelensView::ShowZoomButtons);
    connect(&publishTimer_, &QTimer::timeout, this, &CTracelensView::OnPublishTick);
    publishTimer_.start(kPublishMs);
    setFocusPolicy(Qt::StrongFocus);
    OnLanguageChanged();
    ApplyRules();
}

CTracelensView::~CTracelensView() {
    publishTimer_.stop();
    app_.StopForClose();
}

QWidget* CTracelensView::BuildSide() {
    side_ = new QWidget(this);
    auto* column = new QVBoxLayout(side_);
    column->setContentsMargins(0, 0, 0, 0);
    auto* runRow = new QHBoxLayout;
    for (int b = 0; b < 4; ++b) {
        auto* button = new QPushButton(side_);
        button->setCheckable(true);
        run_[static_cast<std::size_t>(b)] = button;
        runRow->addWidget(button);
        connect(button, &QPushButton::clicked, this,
                [this, b] { PressRun(static_cast<RunButton>(b)); });
    }
    column->addLayout(runRow);
    auto* indicators = new QHBoxLayout;
    status_ = new ScopeIndicator(side_);
    trig_ = new ScopeIndicator(side_);
    indicators->addWidget(status_, 2);
    indicators->addWidget(trig_, 1);
    column->addLayout(indicators);
    auto* zoomRow = new QHBoxLayout;
    for (int b = 0; b < 4; ++b) {
        auto* button = new QPushButton(side_);
        button->setCheckable(b < 3);
        zoom_[static_cast<std::size_t>(b)] = button;
        zoomRow->addWidget(button);
    }
    connect(zoom_[0], &QPushButton::clicked, this, [this] { SelectZoomTool(ZoomTool::Both); });
    connect(zoom_[1], &QPushButton::clicked, this, [this] { SelectZoomTool(ZoomTool::Time); });
    connect(zoom_[2], &QPushButton::clicked, this, [this] { SelectZoomTool(ZoomTool::Value); });
    connect(zoom_[3], &QPushButton::clicked, this, &CTracelensView::RestoreZoom);
    column->addLayout(zoomRow);
    readout_ = new QLabel(side_);
    readout_->setTextFormat(Qt::PlainText);
    readout_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    readout_->setFixedHeight(readout_->fontMetrics().lineSpacing() * kReadoutLines + 4);
    column->addWidget(readout_);

    tabs_ = new QTabWidget(side_);
    column->addWidget(tabs_, 1);
    vertical_ = AddPanel(new CVtCh(app_, settings_, Module(), tabs_), kStrTabVertical);
    time_ = AddPanel(new CHzTime(settings_, Module(), tabs_), kStrTabTime);
    trigger_ = AddPanel(new CHzTrig(settings_, Module(), tabs_), kStrTabTrigger);
    cursors_ = AddPanel(new CHzCur(input_, Module(), tabs_), kStrTabCursor);
    AddPanel(new CHzUtil(app_, Module(), tabs_), kStrTabUtility);
    connect(vertical_, &CVtCh::SignalsChanged, trigger_, &CHzTrig::Refresh);
    connect(cursors_, &CHzCur::CursorSelected, this, [this] { setFocus(); });
    return side_;
}

void CTracelensView::SetTabText(int index, unsigned textId) {
    tabs_->setTabText(index, Text(Module(), textId));
}

QPushButton* CTracelensView::RunButtonOf(RunButton button) const {
    return run_[static_cast<std::size_t>(button)];
}

QPushButton* CTracelensView::ZoomButton(ZoomTool tool) const {
    return zoom_[static_cast<std::size_t>(static_cast<int>(tool) - 1)];
}

QSize CTracelensView::sizeHint() const {
    return {1280, 800};
}

void CTracelensView::OnLanguageChanged() {
    const QString title = Text(Module(), kStrTitle);
    setWindowTitle(title);
    if (QWidget* frame = parentWidget())
        frame->setWindowTitle(title);
    const unsigned runIds[] = {kStrContinue, kStrNormal, kStrSingle, kStrStop};
    const unsigned zoomIds[] = {kStrZoomBoth, kStrZoomTime, kStrZoomValue, kStrZoomRestore};
    for (int b = 0; b < 4; ++b) {
        run_[static_cast<std::size_t>(b)]->setText(Text(Module(), runIds[b]));
        zoom_[static_cast<std::size_t>(b)]->setText(Text(Module(), zoomIds[b]));
    }
    LoadLists();
    for (const auto& duty : languageDuties_)
        duty();
    status_->Show(StatusText(), status_->CurrentLook());
    trig_->Show(Text(Module(), kStrTrig), trig_->CurrentLook());
    ShowReadout();
    FitSide();
}

void CTracelensView::LoadLists() {
    const int language = Context().Language(Module().Traits().languageOwner);
    const std::string appDir = Context().AppDir();
    settings_.SetSignals(LoadSignalList(startDir_ + "/cd.dat", SignalNamesPath(appDir, language),
                                        Context().Parms().iModel.load()));
    trigger_->SetChoices(LoadTriggerChoices(TraceLanguageFile(appDir, language, "tr", ".lng")));
    RefreshPanels();
}

void CTracelensView::RefreshPanels() {
    vertical_->Refresh();
    time_->Refresh();
    trigger_->Refresh();
}

// The column beside the chart is as wide as its widest text needs.
void CTracelensView::FitSide() {
    side_->setFixedWidth(std::max(side_->sizeHint().width(), tabs_->sizeHint().width()));
}

void CTracelensView::PressRun(RunButton button) {
    if (input_.PressRun(button, settings_.HighSample(), app_.MasterChannels()) &&
        button != RunButton::Stop)
        app_.SetScopeActive(1);
    ShowRunButtons();
    ApplyRules();
}

void CTracelensView::ShowRunButtons() {
    for (int b = 0; b < 4; ++b) {
        const auto button = static_cast<RunButton>(b);
        run_[static_cast<std::size_t>(b)]->setChecked(
            ScopeInput::ModeFor(button, settings_.HighSample()) == input_.RunMode());
    }
}

void CTracelensView::SelectZoomTool(ZoomTool tool) {
    input_.SelectZoomTool(tool);
    ShowZoomButtons();
}

void CTracelensView::RestoreZoom() {
    input_.RestoreZoom();
    ShowZoomButtons();
}

void CTracelensView::ShowZoomButtons() {
    const ZoomTool active = input_.ActiveZoomTool();
    for (ZoomTool tool : {ZoomTool::Both, ZoomTool::Time, ZoomTool::Value})
        ZoomButton(tool)->setChecked(tool == active);
    zoom_[3]->setChecked(false);
    chart_->ShowZoomCursor(active != ZoomTool::None);
}

void CTracelensView::ApplyRules() {
    const bool zoomed = app_.WindowStatus().zoomed != 0;
    const bool stopped = input_.RunMode() == kModeStop;
    const bool linear = Context().Parms().iModel.load() == kModelW5;
    time_->Allow(!zoomed, !zoomed && stopped && linear);
}

void CTracelensView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control)
        input_.Control(true);
    CDLLView::keyPressEvent(event);
}

void CTracelensView::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control)
        input_.Control(false);
    CDLLView::keyReleaseEvent(event);
}

} // namespace tracelens
