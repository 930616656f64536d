#include "KnobsetView.h"

#include "AtomicFile.h"
#include "CListCtrlEx.h"
#include "DialogService.h"
#include "KnobsetApp.h"
#include "KnobsetDialogs.h"
#include "KnobsetLook.h"
#include "KnobsetStrings.h"
#include "ParmFilter.h"
#include "ParmLoader.h"
#include "ParmTable.h"
#include "ProductFiles.h"
#include "ReferenceText.h"
#include "ValueFile.h"

#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QTimer>

namespace knobset {
namespace MB = MessageBoxStyle;

CKnobsetView::CKnobsetView(CKnobsetApp& app) : CDLLView(app.Module()), app_(app) {
    setObjectName("KnobsetView");
    BuildForm();
    if (Context().Int(kSuspendExtern).load() != 0)
        app_.ownWorkerIdle = 0; // the host does not call ExternThread now
    // The opening steps that show dialogs run once the window is up.
    QTimer::singleShot(0, this, &CKnobsetView::Start);
}

CKnobsetView::~CKnobsetView() {
    app_.ownWorkerIdle = 1;
}

int CKnobsetView::Model() const {
    return Context().Parms().iModel.load();
}

bool CKnobsetView::Online() const {
    return Context().Int(kOnline).load() != 0;
}

std::string CKnobsetView::Text(unsigned id) const {
    return Module().Text(id);
}

int CKnobsetView::Box(unsigned textId, unsigned style, unsigned captionId) {
    return Dialogs().MessageBox(this, Text(textId), Text(captionId), style);
}

bool CKnobsetView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == filter_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        filter_->clear();
        return true;
    }
    if (watched == parentWidget() && event->type() == QEvent::Close && !AskToSaveChanges()) {
        event->ignore();
        return true;
    }
    return CDLLView::eventFilter(watched, event);
}

// Asks whether to save values changed since the last save, read or transfer;
// false when the window should stay open.
bool CKnobsetView::AskToSaveChanges() {
    if (!unsaved_)
        return true;
    const int answer = Box(kStrUnsavedChanges, MB::kYesNoCancel | MB::kIconQuestion,
                           Online() ? kStrTitleOnline : kStrTitleOffline);
    if (answer == kAnswerCancel)
        return false;
    if (answer == kAnswerYes) {
        OnSaveFile();
        return !unsaved_;
    }
    return true;
}

void CKnobsetView::Start() {
    ParmStore& store = Context().Parms();
    ClearValues(store, Model());
    for (int e : {3, 4, 5, 6, 7})
        Context().OfflineIdentity().Set(e, "");
    if (parentWidget() != nullptr)
        parentWidget()->installEventFilter(this); // closing asks about unsaved values
    ApplyLanguage();
    if (Online()) {
        LoadTable();
        FillList();
        PostWithProgress(kReadAll);
        return;
    }
    for (QWidget* w : {static_cast<QWidget*>(driveGroup_), static_cast<QWidget*>(buttons_[kInit])})
        w->hide();
    CSelParmSrc source(Module(), this);
    if (RunModal(source) != QDialog::Accepted) {
        CloseSelf();
        return;
    }
    LoadTable();
    StartOfflineIdentity(Context().OfflineIdentity(), Model());
    if (source.FileChosen()) {
        if (!OpenValueFile())
            CloseSelf();
        return;
    }
    FillDefaults(store, Model());
    FillList();
}

void CKnobsetView::CloseSelf() {
    hide();
    QMetaObject::invokeMethod(
        this,
        [this] {
            emit CloseRequested();
            if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
                frame->close();
            else
                close();
        },
        Qt::QueuedConnection);
}

bool CKnobsetView::LoadTable() {
    SharedContext& ctx = Context();
    const std::string tableId = ctx.Identity().Get(3);
    const LoadResult result =
        LoadParmTable(ctx.Parms(), Model(), ctx.AppDir(), tableId, ctx.Identity().Get(2));
    if (result.status == LoadResult::kMissingFile) {
        Dialogs().MessageBox(
            this, MissingFileMessage(Text(kStrUnsupported), Text(kStrPath), tableId, result.path),
            Text(kStrCaption), MessageBoxStyle::kOk | MessageBoxStyle::kIconWarning);
    } else if (result.status == LoadResult::kBadFile) {
        Dialogs().MessageBox(this, result.error, Text(kStrCaption),
                             MessageBoxStyle::kOk | MessageBoxStyle::kIconWarning);
    }
    if (!result.ok())
        return false;
    // The load reads the names of the load-time description file: show the
    // user's language at once.
    std::string error;
    descriptionPath_ = LanguageDescriptionPath(ctx.AppDir(), Model(), ctx.Language(kLangKnobset));
    if (!descriptionPath_.empty())
        ReloadNames(ctx.Parms(), Model(), descriptionPath_, error);
    return true;
}

void CKnobsetView::OnLanguageChanged() {
    ApplyLanguage();
}

void CKnobsetView::ApplyLanguage() {
    SharedContext& ctx = Context();
    const int language = ctx.Language(kLangKnobset);
    if (ctx.LanguageApplied(kLangKnobset) != language) {
        Module().Strings().ReadTableFile(
            LanguageTablePath(ctx.AppDir(), "Knobset", language).c_str());
        ctx.SetLanguageApplied(kLangKnobset, language);
    }
    descriptionPath_ = LanguageDescriptionPath(ctx.AppDir(), Model(), language);
    const QString title =
        QString::fromStdString(Text(Online() ? kStrTitleOnline : kStrTitleOffline));
    setWindowTitle(title);
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->setWindowTitle(title);
    const unsigned buttonIds[kButtons] = {228, 229, 230, 231, 232, 233, 234};
    for (int i = 0; i < kButtons; ++i)
        buttons_[static_cast<std::size_t>(i)]->setText(QString::fromStdString(Text(buttonIds[i])));
    fileGroup_->setTitle(QString::fromStdString(Text(235)));
    driveGroup_->setTitle(QString::fromStdString(Text(236)));
    for (int i = 0; i < 4; ++i)
        legend_[static_cast<std::size_t>(i)]->setText(
            QString::fromStdString(Text(237 + static_cast<unsigned>(i))));
    legend_[4]->setText(kDiffersMark + QString::fromStdString(Text(kStrDiffersFromDrive)));
    legend_[4]->setVisible(Online()); // off-line there is no drive to differ from
    filterLabel_->setText(QString::fromStdString(Text(kStrFind)));
    filter_->setPlaceholderText(QString::fromStdString(Text(kStrFindHint)));
    version_->setText(QString::fromStdString(Text(kStrActiveVersion) + ctx.Identity().Get(3)));
    for (int i = 0; i < 11; ++i)
        groups_->item(i)->setText(
            QString::fromStdString(Text(kStrTabFirst + static_cast<unsigned>(i))));
    FitGroupList();
    for (int c = 0; c < 7; ++c)
        list_->horizontalHeaderItem(c)->setText(
            QString::fromStdString(Text(kStrColumnFirst + static_cast<unsigned>(c))));
    list_->horizontalHeaderItem(7)->setText(QString::fromStdString(Text(kStrComment)));
    std::string error;
    if (!descriptionPath_.empty() && ctx.Parms().records != nullptr)
        ReloadNames(ctx.Parms(), Model(), descriptionPath_, error);
    FillList();
    SizeColumns();
    ShowReference();
}

void CKnobsetView::SelectTab(int tab) {
    if (groups_->currentRow() != tab)
        groups_->setCurrentRow(tab); // comes back here through the signal
    if (tab == currentTab_)
        return;
    currentTab_ = tab;
    FillList();
}

void CKnobsetView::FillList() {
    const ParmStore& store = Context().Parms();
    const int model = Model();
    list_->setUpdatesEnabled(false);
    list_->DeleteAllItems();
    list_->ClearRowColors();
    rowNumbers_.clear();
    if (store.records == nullptr || !HasTable(model)) {
        list_->setUpdatesEnabled(true);
        return;
    }
    const int group = currentTab_ == 0 ? -1 : kGroups[static_cast<std::size_t>(currentTab_ - 1)];
    const ParmRecord* second = store.records->size() > 2 ? &(*store.records)[2] : nullptr;
    const bool hideDio = model == kModelT8 && second != nullptr && second->setupValue > 5;
    for (const ParmRecord& r : *store.records) {
        if (model == kModelT8) {
            if (hideDio && (r.attributes & Attr::kDio))
                continue;
        } else if (group >= 0 && r.number / 100 != group) {
            continue;
        }
        if (!MatchesFilter(r, model, filter_->text().toStdString()))
            continue;
        const int row = list_->GetItemCount();
        list_->InsertItem(row, NumberCell(r));
        list_->SetItemText(row, 1, QString::fromStdString(r.name));
        const bool reserved = r.attributes & Attr::kReserved;
        if (!reserved) {
            list_->SetItemText(row, 2, QString::number(r.min));
            list_->SetItemText(row, 3, QString::number(r.max));
            list_->SetItemText(row, 4, QString::fromStdString(r.unit));
        }
        list_->SetItemText(row, 5, QString::number(r.defaultValue));
        list_->SetItemText(row, 6, QString::number(r.setupValue));
        list_->SetItemText(row, 7, QString::fromStdString(r.cmt));
        if (reserved)
            list_->SetRowColor(row, kReservedText, kReservedColor);
        else if (r.attributes & Attr::kReboot)
            list_->SetRowColor(row, Qt::black, kRebootColor);
        else
            list_->SetRowColor(row, Qt::black, Qt::white);
        rowNumbers_.push_back(r.number);
    }
    list_->setUpdatesEnabled(true);
}

// The number column, marked while on-line the drive holds another value.
QString CKnobsetView::NumberCell(const ParmRecord& r) const {
    const QString number = QString::fromStdString(ListNumberText(r, Model()));
    return Online() && r.setupValue != r.driveValue ? kDiffersMark + number : number;
}

void CKnobsetView::ShowRowValue(int number, int value) {
    ParmRecord* r = FindRecord(Context().Parms(), number);
    if (r == nullptr)
        return;
    r->setupValue = value;
    for (std::size_t row = 0; row < rowNumbers_.size(); ++row) {
        if (rowNumbers_[row] == number) {
            list_->SetItemText(static_cast<int>(row), 0, NumberCell(*r));
            list_->SetItemText(static_cast<int>(row), 6, QString::number(value));
        }
    }
}

void CKnobsetView::SelectRow(int row) {
    if (row >= 0 && list_->currentRow() != row)
        list_->setCurrentCell(row, 0); // comes back here through the signal
    selectedRow_ = row;
    ShowReference();
}

void CKnobsetView::ShowReference() {
    reference_->clear();
    if (selectedRow_ < 0 || selectedRow_ >= static_cast<int>(rowNumbers_.size()))
        return;
    const int number = rowNumbers_[static_cast<std::size_t>(selectedRow_)];
    if (Model() != kModelT8) {
        // The reference file describes the T8 table; the other families show
        // their own description: limits and the option texts.
        if (const ParmRecord* r = FindRecord(Context().Parms(), number))
            reference_->setText(QString::fromStdString(ParameterSummary(
                *r, Model(), {Text(kStrRange), Text(kStrDefault), Text(kStrRebootNote)})));
        return;
    }
    const std::string path = ReferencePath(Context().AppDir(), Context().Language(kLangKnobset));
    std::string text, entry, error;
    if (path.empty())
        return;
    if (!toolbelt::ReadWholeFile(path, text, 16u << 20)) {
        Dialogs().MessageBox(this,
                             referenceReads_++ == 0 ? "2.Open File Error !" : "3.Open File Error !",
                             "Error", MessageBoxStyle::kOk | MessageBoxStyle::kIconError);
        return;
    }
    if (ReferenceEntry(text, number + 1, entry, error) == ReferenceStatus::kMalformed) {
        reference_->setText(QString::fromStdString(path + ": " + error));
        return;
    }
    reference_->setText(QString::fromStdString(entry));
}

void CKnobsetView::OnTimerTick() {
    if (inTimer_)
        return;
    inTimer_ = true;
    int state, result;
    app_.board.Read(state, result);
    if (IsFinishingState(state)) {
        HandleOutcome(state, result);
        if (state != kTranSingleFinish)
            app_.board.progressDone = 1;
        app_.board.Release();
    }
    Context().Claim(kClaimKnobset).iState.store(2);
    inTimer_ = false;
}

} // namespace knobset
