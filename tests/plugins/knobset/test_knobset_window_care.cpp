// The editor guards the user's work: exports never replace a value file
// unasked, unsaved values are not lost on close, and the find field narrows
// the list.
#include "CListCtrlEx.h"
#include "TempDir.h"
#include "WindowFixture.h"

#include <QKeyEvent>

using namespace knobset;

namespace {

// An off-line T5 editor on factory defaults; exports are page exports and
// every edit enters 2.
class EditorCare : public KnobsetWindow {
protected:
    void SetUp() override {
        KnobsetWindow::SetUp();
        exportScript = [](CExportParm& d) {
            d.SetMode(0);
            ConfirmExport(d);
        };
        editText = "2";
        Open(kModelT5, false);
    }
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
    EXPECT_EQ(dialogs.boxes.back().text, "File: [" + valueFile + "] saved.");
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

// Which texts select a parameter is the find rule's test; here the field
// narrows the list and Escape clears it.
TEST_F(EditorCare, FindFieldNarrowsTheListAndEscapeClears) {
    const int all = view->List()->GetItemCount();
    view->Filter()->setText("Pr 104");
    EXPECT_LT(view->List()->GetItemCount(), all);
    EXPECT_NE(RowOf(104), static_cast<int>(view->RowNumbers().size()));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(view->Filter(), &escape);
    EXPECT_TRUE(view->Filter()->text().isEmpty());
    EXPECT_EQ(view->List()->GetItemCount(), all);
}

} // namespace
