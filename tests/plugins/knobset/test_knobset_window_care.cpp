// The editor guards the user's work: exports never replace a value file
// unasked, unsaved values are not lost on close, and the find field narrows
// the list.
#include "CListCtrlEx.h"
#include "ExportDialog.h"
#include "ParmTable.h"
#include "RecordingDialogs.h"
#include "TempDir.h"
#include "WindowFixture.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace knobset;

namespace {

// An off-line T5 editor on factory defaults inside a child frame, its
// dialogs scripted.
class EditorCare : public ::testing::Test {
protected:
    void SetUp() override {
        InstallModalAnswerer([this](QDialog& d) { return Answer(d); });
        host.SetDrive(kModelT5, false);
        view = new CKnobsetView(CKnobsetApp::Instance());
        frame.setWidget(view);
        frame.show();
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }
    void TearDown() override {
        dialogs.answers.clear();
        frame.setWidget(nullptr);
        delete view;
        InstallModalAnswerer(nullptr);
    }
    int Answer(QDialog& d) {
        if (auto* source = qobject_cast<CSelParmSrc*>(&d)) {
            source->defaultButton->setChecked(true);
            return QDialog::Accepted;
        }
        if (auto* exporter = qobject_cast<CExportParm*>(&d)) {
            exporter->SetMode(0);
            for (QPushButton* b : exporter->findChildren<QPushButton*>())
                if (b->text() == "Confirm")
                    b->click();
            return exporter->result();
        }
        if (auto* input = qobject_cast<CParmInput*>(&d)) {
            input->valueEdit->setText("2");
            return Confirm(*input);
        }
        return -1;
    }
    int RowOf(int number) const {
        const auto& rows = view->RowNumbers();
        return static_cast<int>(std::find(rows.begin(), rows.end(), number) - rows.begin());
    }

    RecordingDialogs dialogs;
    EditorHost host;
    QMdiSubWindow frame;
    CKnobsetView* view = nullptr;
};

TEST_F(EditorCare, ExportProposesCsvAndNeverReplacesAValueFileUnasked) {
    TempDir dir;
    const std::string valueFile = dir.File("drive.tw");
    dialogs.paths = {valueFile};
    view->OnSaveFile();
    const std::string saved = TempDir::Read(valueFile);
    ASSERT_NE(saved.find("[Setup]"), std::string::npos);
    EXPECT_EQ(dialogs.saveCaptions.back(), "Parameter Editor (Off-Line)");

    struct Case {
        std::string chosen;
        int answer; // to "replace a file of another kind?"
        bool valueFileKept;
    };
    const Case cases[] = {{valueFile, kAnswerNo, true},
                          {dir.File("drive"), kAnswerNo, true}, // becomes drive.csv
                          {valueFile, kAnswerYes, false}};
    for (const Case& c : cases) {
        dialogs.paths = {c.chosen};
        dialogs.answers = {c.answer};
        view->OnExport();
        EXPECT_EQ(dialogs.saveProposals.back(), dir.File("drive.csv"));
        EXPECT_EQ(TempDir::Read(valueFile) == saved, c.valueFileKept) << c.chosen;
    }
    EXPECT_NE(TempDir::Read(dir.File("drive.csv")).find("Pr No."), std::string::npos);
}

TEST_F(EditorCare, ClosingWithUnsavedValuesAsks) {
    struct Case {
        int answer;
        bool staysOpen;
    };
    // Cancel keeps the window; No closes without saving.
    const Case cases[] = {{kAnswerCancel, true}, {kAnswerNo, false}};
    view->OnEditRow(RowOf(1));
    ASSERT_TRUE(view->HasUnsavedChanges());
    for (const Case& c : cases) {
        const std::size_t before = dialogs.boxes.size();
        dialogs.answers = {c.answer};
        frame.close();
        ASSERT_EQ(dialogs.boxes.size(), before + 1);
        EXPECT_EQ(dialogs.boxes.back().style & MessageBoxStyle::kButtonMask,
                  MessageBoxStyle::kYesNoCancel);
        EXPECT_EQ(frame.isVisible(), c.staysOpen);
    }
}

TEST_F(EditorCare, FindFieldNarrowsByNumberOrNameAndEscapeClears) {
    const int all = view->List()->GetItemCount();
    const std::string name104 = FindRecord(host.Ctx().Parms(), 104)->name;
    struct Case {
        QString typed;
        int expectedNumber; // a number the narrowed list must hold
    };
    const Case cases[] = {{"104", 104},
                          {"Pr 104", 104},
                          {"pr1.04", 104},
                          {QString::fromStdString(name104).toLower(), 104}};
    for (const Case& c : cases) {
        view->Filter()->setText(c.typed);
        const auto& rows = view->RowNumbers();
        EXPECT_LT(static_cast<int>(rows.size()), all) << c.typed.toStdString();
        EXPECT_NE(std::find(rows.begin(), rows.end(), c.expectedNumber), rows.end())
            << c.typed.toStdString();
    }
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(view->Filter(), &escape);
    EXPECT_TRUE(view->Filter()->text().isEmpty());
    EXPECT_EQ(view->List()->GetItemCount(), all);
}

} // namespace
