#include "MonitorView.h"

#include "CListCtrlEx.h"
#include "MonitorApp.h"
#include "MonitorDisplay.h"
#include "MonitorStrings.h"
#include "TickFile.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>

namespace monitor {
namespace {

// The column of the value: Motion 3 (after the unit), Status 2, signals 3.
int ValueColumn(int group) {
    return group == kStatus ? 2 : 3;
}

} // namespace

CMonitorView::CMonitorView(CMonitorApp& app) : CDLLView(app.Module()), app_(app) {
    setObjectName("MonitorView");
    BuildForm();
    FillLists();
    const std::string ticks = TickFileToRead(Context().AppDir());
    for (int g = 0; g < kGroups; ++g) {
        const std::vector<int> stored = ReadTicks(ticks, g, lists_[g]->rowCount());
        for (int row = 0; row < lists_[g]->rowCount(); ++row)
            lists_[g]->item(row, 0)->setCheckState(stored[row] ? Qt::Checked : Qt::Unchecked);
    }
    ApplyLanguage();
    ShowMonitoring(false);
}

CMonitorView::~CMonitorView() {
    CloseWindow(Context(), app_.board);
    std::array<std::vector<int>, kGroups> ticks;
    for (int g = 0; g < kGroups; ++g)
        for (int row = 0; row < lists_[g]->rowCount(); ++row)
            ticks[g].push_back(lists_[g]->item(row, 0)->checkState() == Qt::Checked ? 1 : 0);
    // An unwritable file costs the ticks, never the close.
    WriteTicks(TickFilePath(Context().AppDir()), ticks);
}

QString CMonitorView::Text(unsigned id) const {
    return QString::fromStdString(Module().Text(id));
}

void CMonitorView::FillLists() {
    for (int g = 0; g < kGroups; ++g) {
        CListCtrlEx* list = lists_[g];
        const ItemGroup& group = app_.items[g];
        list->DeleteAllItems();
        for (int row = 0; row < group.count; ++row) {
            list->InsertItem(row, QString::number(row + 1));
            list->item(row, 0)->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled |
                                         Qt::ItemIsUserCheckable);
            list->item(row, 0)->setCheckState(Qt::Checked);
            for (int c = 1; c < list->columnCount(); ++c)
                list->SetItemText(row, c, QString());
        }
        shown_[g].assign(static_cast<std::size_t>(group.count), QString());
    }
}

void CMonitorView::OnLanguageChanged() {
    ApplyLanguage();
}

void CMonitorView::ApplyLanguage() {
    SharedContext& ctx = Context();
    if (const char* code = LanguageCode(ctx.Language(kLangMonitor)))
        LoadLanguageNames(app_.items, ctx.AppDir(), code);
    const QString title = Text(kStrTitle);
    setWindowTitle(title);
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->setWindowTitle(title);
    open_->setText(Text(kStrOpenCom));
    stop_->setText(Text(kStrStopCom));
    const unsigned modeIds[4] = {kStrPosMode, kStrSpdMode, kStrTorMode, kStrRpmModeInput};
    for (int g = 0; g < kGroups; ++g) {
        boxes_[g]->setTitle(Text(kStrMotionList + g));
        selectButtons_[g][0]->setText(Text(kStrSelectAll));
        selectButtons_[g][1]->setText(Text(kStrCancelAll));
        if (modeGroups_[g] != nullptr)
            for (int m = 0; m < 4; ++m) {
                const unsigned id = m == 3 && g == kOutput ? kStrRpmModeOutput : modeIds[m];
                modeGroups_[g]->button(m)->setText(Text(id));
            }
        const ItemGroup& group = app_.items[g];
        CListCtrlEx* list = lists_[g];
        for (int row = 0; row < group.count; ++row) {
            const MonitorItem& item = group.items[row];
            list->SetItemText(row, 1, QString::fromStdString(item.name));
            if (g == kMotion)
                list->SetItemText(row, 2, QString::fromStdString(item.unit));
            if (g == kInput || g == kOutput)
                list->SetItemText(row, 2, QString::fromStdString(item.pins[pinMode_[g]]));
        }
        std::fill(shown_[g].begin(), shown_[g].end(), QString());
    }
    ShowValues();
    for (int g = 0; g < kGroups; ++g)
        SizeColumns(g);
    notice_->setText(noticeId_ != 0 ? Text(noticeId_) : QString());
}

void CMonitorView::SetAllTicks(int group, bool ticked) {
    CListCtrlEx* list = lists_[group];
    for (int row = 0; row < list->rowCount(); ++row)
        list->item(row, 0)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    CopyTicks();
}

void CMonitorView::SetPinMode(int group, int mode) {
    pinMode_[group] = mode;
    if (modeGroups_[group] != nullptr && modeGroups_[group]->button(mode) != nullptr)
        modeGroups_[group]->button(mode)->setChecked(true);
    for (int row = 0; row < app_.items[group].count; ++row)
        lists_[group]->SetItemText(row, 2,
                                   QString::fromStdString(app_.items[group].items[row].pins[mode]));
    SizeColumns(group);
}

void CMonitorView::OnOpenCom() {
    OpenCom(app_.board);
    CopyTicks();
    ShowMonitoring(true);
    Context().RingCommThread();
}

void CMonitorView::OnStopCom() {
    StopCom(Context(), app_.board);
    ShowMonitoring(false);
}

void CMonitorView::ShowMonitoring(bool on) {
    open_->setEnabled(!on);
    stop_->setEnabled(on);
}

QStringList CMonitorView::MenuFor(int row) const {
    const ItemGroup& motion = app_.items[kMotion];
    if (row >= 0 && row < motion.count && motion.items[row].clear == 1)
        return {Text(kStrClear)};
    return {};
}

bool CMonitorView::ClearRow(int row) {
    const ItemGroup& motion = app_.items[kMotion];
    return row >= 0 && row < motion.count && RequestClear(app_.board, motion.items[row]);
}

void CMonitorView::ShowMenu(const QPoint& at) {
    CListCtrlEx* list = lists_[kMotion];
    const int row = list->rowAt(at.y());
    QMenu menu(this);
    for (const QString& action : MenuFor(row))
        menu.addAction(action, this, [this, row] { ClearRow(row); });
    if (!menu.isEmpty())
        menu.exec(list->viewport()->mapToGlobal(at));
}

// The ticks of every list into the items' Check; an unticked row's value
// is cleared from the screen.
void CMonitorView::CopyTicks() {
    for (int g = 0; g < kGroups; ++g) {
        ItemGroup& group = app_.items[g];
        for (int row = 0; row < group.count; ++row) {
            const bool ticked = lists_[g]->item(row, 0)->checkState() == Qt::Checked;
            group.items[row].check = ticked ? 1 : 0;
            if (!ticked && !shown_[g][row].isEmpty()) {
                shown_[g][row].clear();
                lists_[g]->SetItemText(row, ValueColumn(g), QString());
            }
        }
    }
}

QString CMonitorView::ValueText(int group, int row) const {
    const ItemGroup& items = app_.items[group];
    const MonitorItem& item = items.items[row];
    if (group == kMotion)
        return QString::fromStdString(MotionText(item.type, item.datasize, item.value.load()));
    if (group == kStatus)
        return QString::fromStdString(
            StatusText(items, row, Module().Text(kStrOn), Module().Text(kStrOff)));
    return PinOn(item.value.load(), row) ? Text(kStrOn) : Text(kStrOff);
}

void CMonitorView::ShowValues() {
    for (int g = 0; g < kGroups; ++g) {
        const ItemGroup& group = app_.items[g];
        for (int row = 0; row < group.count; ++row) {
            // Nothing is shown for a row the drive has not answered yet.
            if (group.items[row].check.load() == 0 || !group.items[row].read.load())
                continue;
            const QString text = ValueText(g, row);
            if (text != shown_[g][row]) {
                shown_[g][row] = text;
                lists_[g]->SetItemText(row, ValueColumn(g), text);
            }
        }
    }
}

void CMonitorView::OnTimerTick() {
    SharedContext& ctx = Context();
    CopyTicks();
    if (ServeWindowTimer(app_.board))
        ShowValues();
    if (TakeYieldStop(ctx, app_.board)) {
        ShowMonitoring(false);
        noticeId_ = kStrStopped;
    } else if (stop_->isEnabled()) {
        noticeId_ = ctx.Int(kOnline).load() == 0 ? unsigned{kStrOffline} : 0u;
    }
    const QString notice = noticeId_ != 0 ? Text(noticeId_) : QString();
    if (notice_->text() != notice)
        notice_->setText(notice);
}

QString CMonitorView::Notice() const {
    return notice_->text();
}

} // namespace monitor
