// The window's commands: drive requests with their guards and confirmations,
// value files, export and the edit of one parameter.
#include "CListCtrlEx.h"
#include "DialogService.h"
#include "ExportDialog.h"
#include "KnobsetApp.h"
#include "KnobsetDialogs.h"
#include "KnobsetStrings.h"
#include "KnobsetView.h"
#include "ParmTable.h"
#include "ValueFile.h"

#include <QColor>
#include <cstdio>

namespace knobset {
namespace MB = MessageBoxStyle;

namespace {

struct ProgressLook {
    unsigned message;
    int rangeT5;
    int rangeT8;
    QColor background;
};

ProgressLook LookOf(int state) {
    switch (state) {
    case kReadAll:
        return {kStrReading, 1600, 127, QColor(51, 51, 153)};
    case kTransAll:
        return {kStrTransferring, 127, 127, QColor(255, 129, 5)};
    case kWriteEeprom:
        return {kStrWritingEeprom, 2, 2, QColor(154, 52, 54)};
    default:
        return {kStrInitializing, 3200, 254, QColor(240, 30, 30)};
    }
}

} // namespace

void CKnobsetView::PostWithProgress(int state) {
    if (!app_.board.Post(state, app_.jobs->progressCount))
        return;
    Context().RingCommThread(); // served at once, not after the comm thread's rest
    const ProgressLook look = LookOf(state);
    CPrgs box(QString::fromStdString(Text(look.message)),
              Model() == kModelT8 ? look.rangeT8 : look.rangeT5, Qt::white, look.background,
              app_.jobs->progressCount, app_.board.progressDone, this);
    RunModal(box);
}

// True when the command may run; otherwise asks whether to read the drive again.
bool CKnobsetView::Guard(unsigned question) {
    if (parametersRead_ || !Online())
        return true;
    if (question == kStrEditNeedsRead && app_.board.Busy())
        return false;
    if (Box(question, MB::kRetryCancel | MB::kIconQuestion) == kAnswerRetry)
        OnReadDrive();
    return false;
}

void CKnobsetView::OnReadDrive() {
    if (!app_.board.Busy())
        PostWithProgress(kReadAll);
}

void CKnobsetView::OnTransToDrive() {
    if (app_.board.Busy() || !Guard(kStrRetryRefresh))
        return;
    PostWithProgress(kTransAll);
}

void CKnobsetView::OnWriteEeprom() {
    if (app_.board.Busy() || !Guard(kStrRetryRefresh))
        return;
    if (Box(kStrEepromConfirm, MB::kOkCancel | MB::kIconQuestion) == kAnswerOk)
        PostWithProgress(kWriteEeprom);
}

void CKnobsetView::OnInitialize() {
    if (app_.board.Busy())
        return;
    if (Box(kStrResetConfirm, MB::kOkCancel | MB::kIconWarning | MB::kDefaultButton2,
            kStrInitializeCaption) == kAnswerOk)
        PostWithProgress(kFactoryReset);
}

void CKnobsetView::HandleOutcome(int state, int result) {
    const unsigned ok = MB::kOk | MB::kIconInformation;
    const unsigned stop = MB::kOk | MB::kIconError;
    switch (state) {
    case kReadAllFinish:
        parametersRead_ = result == kResultSuccess;
        if (parametersRead_) {
            unsaved_ = false;
            FillList();
        }
        Box(parametersRead_ ? kStrReadOk : kStrReadFailed, parametersRead_ ? ok : stop);
        break;
    case kTransAllFinish:
        if (result == kResultSuccess) {
            DriveHoldsSetupValues(Context().Parms());
            unsaved_ = false;
            FillList();
        }
        Box(result == kResultSuccess ? kStrTransferOk : kStrTransferFailed,
            result == kResultSuccess ? ok : stop);
        break;
    case kTranSingleFinish:
        if (result == kResultFailure) {
            Box(kStrTransferFailed, stop);
            ShowRowValue(editedNumber_, app_.singleOldValue);
        } else {
            if (ParmRecord* r = FindRecord(Context().Parms(), editedNumber_))
                r->driveValue = app_.jobs->singleValue;
            ShowRowValue(editedNumber_, app_.jobs->singleValue);
            if (result == kResultMismatch)
                Box(kStrCheckLimit, MB::kOk | MB::kIconWarning);
        }
        list_->setEnabled(true);
        break;
    case kWriteEepromFinish:
        if (result == kResultSuccess && Model() == kModelT8)
            FillList();
        Box(result == kResultSuccess ? kStrEepromOk : kStrEepromFailed,
            result == kResultSuccess ? ok : stop);
        break;
    case kFactoryResetFinish:
        if (result == kResultSuccess)
            FillList();
        Box(result == kResultSuccess    ? kStrResetOk
            : result == kResultMismatch ? kStrResetRefused
                                        : kStrResetFailed,
            result == kResultSuccess ? ok : stop);
        break;
    default:
        break;
    }
}

bool CKnobsetView::OpenValueFile() {
    for (;;) {
        const std::string path = Dialogs().GetOpenFileName(this, windowTitle().toStdString(),
                                                           lastPath_, kValueDialogFilter);
        if (path.empty())
            return false;
        const std::string typeCap = ReadTypeCap(path);
        if (!TypeCapMatchesModel(typeCap, Model())) {
            const std::string text = FillTemplate(
                Text(kStrWrongVersion), {Upper(Context().Identity().Get(1)), Upper(typeCap)});
            Dialogs().MessageBox(this, text, "Warning", MB::kOk | MB::kIconError);
            continue;
        }
        std::string error;
        // The file's values replace both columns; on-line the drive still
        // holds what was read from it, and the list marks the differences.
        const std::vector<int> driveValues = DriveValues(Context().Parms());
        if (!LoadValueFile(Context().Parms(), path, Context().OfflineIdentity(), error,
                           Context().Language(kLangKnobset))) {
            Dialogs().MessageBox(this, error, Text(kStrCaption), MB::kOk | MB::kIconError);
            continue;
        }
        if (Online() && parametersRead_)
            RestoreDriveValues(Context().Parms(), driveValues);
        lastPath_ = path;
        unsaved_ = false;
        FillList();
        return true;
    }
}

void CKnobsetView::OnOpenFile() {
    OpenValueFile();
}

void CKnobsetView::OnSaveFile() {
    if (!Guard(kStrRetryRefresh))
        return;
    const std::string path = AskPathToWrite(this, Module(), windowTitle().toStdString(), lastPath_,
                                            ".tw", kValueDialogFilter, kStrNotValueFile);
    if (path.empty())
        return;
    lastPath_ = path;
    std::string error;
    const bool saved = SaveValueFile(Context().Parms(), path, Context().OfflineIdentity(), error,
                                     Context().Language(kLangKnobset));
    unsaved_ = unsaved_ && !saved;
    if (!saved)
        Dialogs().MessageBox(this, error, Text(kStrCaption), MB::kOk | MB::kIconError);
}

void CKnobsetView::OnExport() {
    if (!Guard(kStrRetryRefresh))
        return;
    CExportParm dialog(Module(), Context(), lastPath_, windowTitle().toStdString(), this);
    RunModal(dialog);
}

void CKnobsetView::OnEditRow(int row) {
    if (row < 0 || row >= static_cast<int>(rowNumbers_.size()) || !Guard(kStrEditNeedsRead))
        return;
    const int number = rowNumbers_[static_cast<std::size_t>(row)];
    ParmRecord* record = FindRecord(Context().Parms(), number);
    CParmInput dialog(Module(), record, Model(), Online(), this);
    if (dialog.refused || RunModal(dialog) != QDialog::Accepted || record == nullptr)
        return;
    app_.singleOldValue = record->setupValue;
    unsaved_ = unsaved_ || record->cmt != dialog.Comment();
    record->cmt = dialog.Comment();
    list_->SetItemText(row, 7, QString::fromStdString(record->cmt));
    if (dialog.Value() == record->setupValue)
        return;
    record->setupValue = dialog.Value();
    if (!Online()) {
        unsaved_ = true;
        list_->SetItemText(row, 6, QString::number(record->setupValue));
        return;
    }
    editedNumber_ = number;
    app_.jobs->singleAddress = RegisterAddress(*record, Model());
    app_.jobs->singleValue = record->setupValue;
    if (app_.board.Post(kTranSingle, app_.jobs->progressCount)) {
        Context().RingCommThread();
        list_->setEnabled(false);
        return;
    }
    int state, result;
    app_.board.Read(state, result);
    Dialogs().MessageBox(this, FillTemplate(Text(kStrBusy), {RequestStateName(state)}),
                         Text(kStrMessage), MB::kOk | MB::kIconWarning);
}

} // namespace knobset
