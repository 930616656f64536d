// The window's commands: the guards and confirmations before a request, the
// progress window of the bulk transfers, the answers, and the file.
#include "CListCtrlEx.h"
#include "DialogService.h"
#include "KnobsetDialogs.h"
#include "RouteplanApp.h"
#include "RouteplanStrings.h"
#include "RouteplanView.h"
#include "RtpxFile.h"
#include "TextTemplate.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace routeplan {
namespace MB = MessageBoxStyle;

namespace {

constexpr unsigned kInfoBox = MB::kOk | MB::kIconInformation;
constexpr unsigned kErrorBox = MB::kOk | MB::kIconError;
constexpr unsigned kWarnBox = MB::kOk | MB::kIconWarning;

// The failure message of each answer.
unsigned FailureText(int answer) {
    switch (answer - 1) {
    case CS_ServoOn:
        return kStrServoOnFailed;
    case CS_ServoOff:
        return kStrServoOffFailed;
    case CS_AbsolutePosMovement:
    case CS_RelativePosMovement:
    case CS_SetPositionPointParm:
        return kStrSetPointFailed;
    case CS_GetPositionPointParm:
        return kStrGetPointFailed;
    case CS_ReadAllParms:
        return kStrReadFailed;
    case CS_TransAllParms:
        return kStrTransferFailed;
    default:
        return kStrCommFailed;
    }
}

} // namespace

// Every command first needs the drive on-line.
bool CRouteplanView::Guard() {
    if (Context().Int(kOnline).load() != 0)
        return true;
    Box(Text(kStrNotConnected), kInfoBox);
    return false;
}

void CRouteplanView::Post(int code, bool progress) {
    if (!app_.board.Post(code))
        return;
    if (progress)
        app_.jobs->progress = 0;
    Context().RingCommThread();
    if (!progress)
        return;
    const bool reading = code == CS_ReadAllParms;
    knobset::CPrgs box(QString::fromStdString(Text(reading ? kStrReading : kStrTransferring)),
                       reading ? kReadSteps : kTransferSteps, Qt::white,
                       reading ? QColor(51, 51, 153) : QColor(255, 129, 5), app_.jobs->progress,
                       app_.board.transferDone, this);
    inTimer_ = true; // the answer is shown once the progress window closed
    knobset::RunModal(box);
    inTimer_ = false;
}

void CRouteplanView::OnButton(Button button) {
    if (button == kImport || button == kExport) {
        const bool import = button == kImport;
        const std::string path =
            import ? Dialogs().GetOpenFileName(this, Text(kStrImportPath), "", kRtpxFilter)
                   : Dialogs().GetSaveFileName(this, Text(kStrExportPath), "", kRtpxFilter);
        if (!path.empty())
            import ? OnImport(path) : OnExport(path);
        return;
    }
    if (!Guard() || app_.board.Busy())
        return;
    const bool needsWrite = button != kRead && button != kGetPoint && button != kCheck;
    if (needsWrite && !WritesAllowed()) {
        Box(Text(kStrNeedsT8), kWarnBox);
        return;
    }
    const int point = pointNumber->value();
    switch (button) {
    case kRead:
        Post(CS_ReadAllParms, true);
        return;
    case kWrite:
        ParseList();
        Post(CS_TransAllParms, true);
        return;
    case kGetPoint:
    case kSetPoint:
        if (!ValidPoint(point)) {
            Box(Text(kStrPointRange), kInfoBox);
            return;
        }
        app_.board.WithMotion([&](MotionValues& m) {
            m.point = point;
            m.pointPosition = pointPosition->text().toInt();
            m.pointSpeed = pointSpeed->text().toInt();
        });
        Post(button == kGetPoint ? CS_GetPositionPointParm : CS_SetPositionPointParm);
        return;
    case kHoming:
    case kRun:
        if (Box(Text(button == kHoming ? kStrHomingConfirm : kStrRunConfirm),
                MB::kOkCancel | MB::kIconQuestion) != kAnswerOk)
            return;
        break;
    default:
        break;
    }
    const int end = endPoint->value(), dwell = delay->text().toInt();
    const int target = pulseCount->value(), speed = rpm->value();
    app_.board.WithMotion([&](MotionValues& m) {
        m.endPoint = end;
        m.delayMs = dwell;
        m.target = target;
        m.moveSpeed = speed;
    });
    static constexpr int kCodes[kButtons] = {0,
                                             0,
                                             0,
                                             0,
                                             0,
                                             0,
                                             CS_ServoOn,
                                             CS_ServoOff,
                                             CS_CheckMotorStatus,
                                             CS_Homing,
                                             CS_Run,
                                             CS_Stop,
                                             CS_AbsolutePosMovement,
                                             CS_RelativePosMovement};
    Post(kCodes[button]);
}

void CRouteplanView::HandleAnswer(const CommandPair& answer) {
    const MotionValues m = app_.board.WithMotion([](MotionValues& v) { return v; });
    if (answer.result == kResultVersion) {
        ShowVersionMismatch();
        return;
    }
    const bool ok = answer.result == kResultSuccess;
    switch (answer.code - 1) {
    case CS_ReadAllParms:
        if (ok)
            FillList();
        Box(Text(ok ? kStrReadOk : kStrReadFailed), ok ? kInfoBox : kErrorBox);
        if (ok)
            Post(CS_CheckMotorStatus);
        return;
    case CS_TransAllParms:
        Box(Text(ok ? kStrTransferOk : kStrTransferFailed), ok ? kInfoBox : kErrorBox);
        return;
    case CS_GetPositionPointParm:
        if (ok) {
            pointPosition->setText(QString::number(m.pointPosition));
            pointSpeed->setText(QString::number(m.pointSpeed));
            return;
        }
        break;
    case CS_SetPositionPointParm:
        if (ok) {
            ParseList(); // keeps the other cells' edits
            PointValues& p = app_.jobs->values.points[m.point - 1];
            p.position = m.pointPosition;
            p.speed = m.pointSpeed;
            FillList();
            Box(Text(kStrSetPointOk), kInfoBox);
            return;
        }
        break;
    case CS_ServoOn:
        if (!ok && m.alarmCode != 0) {
            Box(FillTemplate(Text(kStrAlarm), {m.alarmCode}), kWarnBox);
            return;
        }
        [[fallthrough]];
    case CS_ServoOff:
        if (ok)
            Post(CS_CheckMotorStatus);
        break;
    case CS_CheckMotorStatus:
        statusKnown_ = ok;
        if (ok && m.controlMode != 6 && m.controlMode != 7)
            Box(Text(kStrControlMode), kWarnBox);
        break;
    case CS_ReadPosFeedback:
        if (ok)
            feedback_->setText(QString::asprintf("%d", m.feedback));
        EnableMotion();
        return; // a lost feedback shows on the next one
    default:
        break;
    }
    EnableMotion();
    if (!ok)
        Box(Text(FailureText(answer.code)), kErrorBox);
}

void CRouteplanView::ShowVersionMismatch() {
    const std::string text = Text(kStrVersionList) + Context().OfflineIdentity().Get(3) +
                             Text(kStrVersionDrive) + Context().Identity().Get(3);
    Dialogs().MessageBox(this, text, Text(kStrTitle), kErrorBox);
}

void CRouteplanView::OnExport(const std::string& path) {
    if (app_.board.Busy())
        return;
    ParseList();
    if (!ExportRtpx(path, app_.jobs->values))
        Box(FillTemplate(Text(kStrCannotWrite), {path}), kErrorBox);
}

void CRouteplanView::OnImport(const std::string& path) {
    if (app_.board.Busy())
        return;
    const RtpxImport result = ImportRtpx(path, app_.jobs->values);
    switch (result.error) {
    case RtpxError::None:
        FillList();
        return;
    case RtpxError::Unreadable:
        Box(FillTemplate(Text(kStrFileUnreadable), {path}), kErrorBox);
        return;
    case RtpxError::Binary:
        Box(FillTemplate(Text(kStrFileBinary), {path}), kErrorBox);
        return;
    case RtpxError::BadLine:
        Box(FillTemplate(Text(kStrFileBadLine), {path, static_cast<int>(result.line)}), kErrorBox);
        return;
    case RtpxError::NotRtpx:
        Box(FillTemplate(Text(kStrFileNotRtpx), {path}), kErrorBox);
        return;
    }
}

} // namespace routeplan
