// The editor window end to end: on-line against the simulated drive on a pty
// (the editor's own worker runs the jobs), off-line with defaults and files.
#include "CListCtrlEx.h"
#include "ParmTable.h"
#include "StringResource.h"
#include "TempDir.h"
#include "WindowFixture.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QTableWidgetItem>

using namespace knobset;

TEST_F(KnobsetWindow, OnlineOpenReadsTheDriveFillsTheListAndEepromAndTransferReport) {
    Open(kModelT5, true);
    ASSERT_TRUE(dialogs.Saw("Read all parameters success.")) << dialogs.boxes.size();
    EXPECT_TRUE(view->ParametersRead());
    EXPECT_EQ(view->List()->GetItemCount(), 310);
    EXPECT_EQ(view->List()->GetItemText(0, 0), "Pr 000");
    EXPECT_EQ(view->windowTitle(), "Parameter Editor");
    view->SelectTab(2); // group 1
    for (int number : view->RowNumbers())
        EXPECT_EQ(number / 100, 1);
    view->SelectTab(0); // reboot rows are coloured
    ASSERT_TRUE(FindRecord(Store(), 0)->attributes & Attr::kReboot);
    EXPECT_EQ(view->List()->RowColors(0).second, QColor(255, 236, 161));
    EXPECT_EQ(host.Ctx().OfflineIdentity().Get(2), "t5-400w");

    dialogs.answers = {kAnswerCancel};
    view->OnWriteEeprom();
    EXPECT_EQ(dialogs.boxes.back().text,
              "Parameters would be saved to drive's EEPROM, would you like to continue?");
    dialogs.answers = {kAnswerOk};
    view->OnWriteEeprom();
    EXPECT_TRUE(dialogs.Saw("Write parameters to EEPROM success."));
    view->OnTransToDrive();
    EXPECT_TRUE(dialogs.Saw("Transfer parameters to drive success."));
}

TEST_F(KnobsetWindow, OnlineEditSendsTheValueAndShowsTheDrivesAnswer) {
    Open(kModelT5, true);
    editText = "999"; // beyond the limit of Pr001: the drive clamps it
    view->OnEditRow(RowOf(1));
    WaitIdle();
    EXPECT_TRUE(dialogs.Saw("Please check the drive value limit."));
    const ParmRecord& r = *FindRecord(Store(), 1);
    EXPECT_EQ(r.setupValue, r.max);
    EXPECT_EQ(view->List()->GetItemText(RowOf(1), 6), QString::number(r.max));
    EXPECT_TRUE(view->List()->isEnabled());

    editText = "-3"; // Enter on the row opens the edit dialog
    view->List()->setFocus();
    view->List()->setCurrentCell(RowOf(28), 0);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(view->List(), &enter);
    WaitIdle();
    EXPECT_EQ(FindRecord(Store(), 28)->setupValue, -3);
    drive->sim.WithState([](drivesim::DriveState& s) { EXPECT_EQ(s.Value(28), -3); });
}

// Rows whose setup value the drive does not hold carry a mark until a
// transfer puts the values into the drive (a negative one in both halves).
TEST_F(KnobsetWindow, ValuesTheDriveDoesNotHoldAreMarkedUntilTransferred) {
    Open(kModelT5, true);
    auto marked = [&](int number) {
        return view->List()->GetItemText(RowOf(number), 0).startsWith(QChar(0x25CF));
    };
    ASSERT_TRUE(view->ParametersRead());
    EXPECT_FALSE(marked(28));
    TempDir dir;
    ParmRecord& r = *FindRecord(Store(), 28);
    const int held = r.setupValue;
    r.setupValue = held == -5 ? -6 : -5; // the file holds another value
    dialogs.paths = {dir.File("other.tw"), dir.File("other.tw")};
    view->OnSaveFile();
    r.setupValue = held;
    view->OnOpenFile();
    EXPECT_TRUE(marked(28));
    EXPECT_FALSE(marked(0));
    view->OnTransToDrive();
    WaitIdle();
    EXPECT_FALSE(marked(28));
    drive->sim.WithState([&](drivesim::DriveState& s) { EXPECT_EQ(s.Value(28), r.setupValue); });
}

TEST_F(KnobsetWindow, TransferBeforeAGoodReadAsksToRetry) {
    drivesim::FaultSettings silent;
    silent.silent = true;
    Open(kModelT5, true, silent);
    drive->sim.SetFaults({});
    drive->Connect();
    EXPECT_TRUE(dialogs.Saw("Read parameters failed."));
    EXPECT_FALSE(view->ParametersRead());
    dialogs.answers = {kAnswerCancel};
    view->OnTransToDrive();
    EXPECT_EQ(dialogs.boxes.back().text,
              "Access parameters may be abnormal when the connection fails, would you like to "
              "Retry refresh parameters?");
    EXPECT_EQ(dialogs.boxes.back().style & MessageBoxStyle::kButtonMask,
              MessageBoxStyle::kRetryCancel);
    dialogs.answers = {kAnswerRetry}; // Retry reads again
    view->OnTransToDrive();
    EXPECT_TRUE(view->ParametersRead());
}

TEST_F(KnobsetWindow, OfflineDefaultsAndTheT8DioRule) {
    Open(kModelT8, false);
    EXPECT_FALSE(closed);
    EXPECT_EQ(view->windowTitle(), "Parameter Editor (Off-Line)");
    for (const ParmRecord& r : *Store().records)
        ASSERT_EQ(r.setupValue, r.defaultValue);
    int dio = 0;
    for (const ParmRecord& r : *Store().records)
        dio += (r.attributes & Attr::kDio) ? 1 : 0;
    ASSERT_GT(dio, 0);
    const int all = view->List()->GetItemCount();
    (*Store().records)[2].setupValue = 6;
    view->SelectTab(1);
    view->SelectTab(0);
    EXPECT_EQ(view->List()->GetItemCount(), all - dio);
    (*Store().records)[2].setupValue = 5;
    view->SelectTab(1);
    EXPECT_EQ(view->List()->GetItemCount(), all);
    EXPECT_EQ(host.Ctx().OfflineIdentity().Get(3), "rk_905");
    // Off-line a value outside the limits keeps the dialog open.
    editText = "100000";
    view->OnEditRow(RowOf(0) < view->List()->GetItemCount() ? RowOf(0) : 0);
    EXPECT_EQ(refusal.toStdString(), "The setup value over the min,max range.");
}

TEST_F(KnobsetWindow, OfflineFileCancelledClosesTheWindow) {
    sourceAnswer = 1;
    Open(kModelT5, false);
    EXPECT_TRUE(closed);
    closed = false;
    sourceAnswer = -1;
    Open(kModelT5, false);
    EXPECT_TRUE(closed);
}

// A file of another model is refused and the dialog reopens (what a malformed
// file leaves alone: test_knobset_files.cpp).
TEST_F(KnobsetWindow, OfflineFileOfAnotherModelIsRefusedAndTheDialogReopens) {
    TempDir dir;
    const std::string w5 = dir.Write("w5.tw", "[Setup]\nTypeCap=w5-750w\n[Pr001]\nV=4\n");
    const std::string t5 =
        dir.Write("t5.tw", "[Setup]\nTypeCap=t5-400w\nEncVer=1.4.2\n[Pr001]\nV=4\n");
    sourceAnswer = 1;
    dialogs.paths = {w5, t5};
    Open(kModelT5, false);
    ASSERT_FALSE(closed);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text,
              "Software Version:T5-400W\nExtern File:W5-750W\nDifferent version can not be "
              "opened, please try again.");
    EXPECT_EQ(view->LastPath(), t5);
    EXPECT_EQ(FindRecord(Store(), 1)->setupValue, 4);
    EXPECT_EQ(host.Ctx().OfflineIdentity().Get(7), "1.4.2");
}

TEST_F(KnobsetWindow, ReferencePanelAndLanguageSwitch) {
    Open(kModelT8, false);
    view->SelectRow(RowOf(1));
    EXPECT_TRUE(
        view->Reference()->text().startsWith(QString::fromStdString(FindRecord(Store(), 1)->name)))
        << view->Reference()->text().toStdString();
    // Every compiled-in text has a translation in each shipped Chinese table.
    for (int language : {kLanguageTraditional, kLanguageSimplified}) {
        ModuleHandle none = nullptr;
        CStringResource table(&none);
        ASSERT_TRUE(table.ReadTableFile(LanguageTablePath(".", "Knobset", language).c_str()));
        for (unsigned id = 200; id <= 292; ++id)
            EXPECT_TRUE(CKnobsetApp::Instance().Module().Text(id).empty() ||
                        !table.GetResString(id).empty())
                << language << " " << id;
    }
    host.Ctx().SetLanguage(kLangKnobset, kLanguageTraditional);
    view->OnTimer();
    EXPECT_EQ(view->windowTitle().toStdString(), "參數編輯器 (離線)");
    EXPECT_EQ(view->Groups()->item(0)->text().toStdString(), "  群組) 全部");
    EXPECT_EQ(view->List()->horizontalHeaderItem(1)->text().toStdString(), "名稱");
    EXPECT_EQ(view->List()->GetItemText(RowOf(0), 1).toStdString().rfind("Pr.000 旋轉方向", 0), 0u);
    host.Ctx().SetLanguage(kLangKnobset, kLanguageEnglish);
    view->OnTimer();
    EXPECT_EQ(view->windowTitle(), "Parameter Editor (Off-Line)");
}

// Comparison needs both files, and they must fit the drive. (The page export
// from the dialog: test_knobset_window_care.cpp; its content: golden files.)
TEST_F(KnobsetWindow, ComparisonFromTheExportDialog) {
    TempDir dir;
    Open(kModelT5, false);
    auto compare = [&](const std::string& one, const std::string& two) {
        exportScript = [=](CExportParm& d) {
            d.SetMode(1);
            d.SetFiles(one, two);
            ConfirmExport(d);
        };
        view->OnExport();
        return dialogs.boxes.back().text;
    };
    EXPECT_EQ(compare("", ""), "File not selected");
    EXPECT_EQ(Store().exportMode, 1) << "the mode survives the dialog";
    const std::string a = dir.Write("a.tw", "[Setup]\nTypeCap=t5\n[Pr028]\nV=1\n");
    const std::string b = dir.Write("b.tw", "[Setup]\nTypeCap=t5\n[Pr028]\nV=2\n");
    EXPECT_EQ(compare(a, dir.Write("w.tw", "[Setup]\nTypeCap=w5\n")),
              "Connection software:T5-400W\nFile1:T5\nFile2:W5\n\nThe connection software is "
              "different from the external file model and cannot be compared.");
    dialogs.paths = {dir.File("diff.csv")};
    compare(a, b);
    const std::string diff = TempDir::Read(dir.File("diff.csv"));
    EXPECT_NE(diff.find("\nPr028,Internal speed 1,-20000,20000,r/min,1,2\n"), std::string::npos)
        << diff;
}
