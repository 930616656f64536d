// CListCtrlEx: which cells edit, row colours, and the in-place editors' rules.
#include "CListCtrlEx.h"
#include "InPlaceEditors.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <tuple>

namespace {

class ListFixture : public ::testing::Test {
protected:
    void SetUp() override {
        for (int c = 0; c < 4; ++c)
            list.InsertColumn(c, QString("C%1").arg(c), Qt::AlignLeft, 80);
        for (int r = 0; r < 5; ++r) {
            list.InsertItem(r, QString("r%1").arg(r));
            for (int c = 1; c < 4; ++c)
                list.SetItemText(r, c, QString("%1.%2").arg(r).arg(c));
        }
        list.resize(400, 200);
        list.show();
        list.activateWindow();
        QApplication::processEvents();
    }
    static void Key(QWidget* w, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    }
    static void Settle() {
        for (int i = 0; i < 3; ++i) {
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
        }
    }
    CListCtrlEx list;
};

} // namespace

TEST_F(ListFixture, EditableAndLockedCellsWithWildcards) {
    list.AddEditableCell(-1, 3); // a column
    list.AddLockedCell(2, 3);
    list.AddEditableCell(1, -1); // a row
    list.AddLockedCell(-1, 0);
    const std::tuple<int, int, bool> cells[] = {{0, 3, true},  {4, 3, true}, {4, 2, false},
                                                {2, 3, false}, {1, 1, true}, {1, 0, false}};
    for (const auto& [row, column, editable] : cells)
        EXPECT_EQ(list.IsCellEditable(row, column), editable) << row << "," << column;
}

TEST_F(ListFixture, RowColoursReplaceTheirEntry) {
    list.SetRowColor(4, Qt::red, Qt::yellow);
    list.SetRowColor(4, Qt::blue, Qt::green);
    QImage image(list.size(), QImage::Format_RGB32);
    list.render(&image);
    for (const auto& [row, colour] : {std::pair(4, QColor(Qt::green)), {0, QColor(Qt::white)}}) {
        const QRect cell = list.visualRect(list.model()->index(row, 2));
        const QPoint corner = list.viewport()->mapTo(&list, cell.topLeft() + QPoint(3, 3));
        EXPECT_EQ(QColor(image.pixel(corner)), colour) << "row " << row;
    }
}

TEST_F(ListFixture, EnterCommitsEscapeRestores) {
    list.AddEditableCell(-1, 1);
    int commits = 0;
    QObject::connect(&list, &CListCtrlEx::CellCommitted,
                     [&](int, int, const QString&) { ++commits; });

    list.EditCell(1, 1);
    CEditEx* edit = list.ActiveEdit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "1.1");
    EXPECT_EQ(edit->selectedText(), "1.1");
    edit->setText("42");
    Key(edit, Qt::Key_Return);
    Settle();
    EXPECT_EQ(list.GetItemText(1, 1), "42");
    EXPECT_EQ(list.ActiveEdit(), nullptr);

    list.EditCell(2, 1);
    list.ActiveEdit()->setText("typed");
    Key(list.ActiveEdit(), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(list.GetItemText(2, 1), "2.1");
    EXPECT_EQ(commits, 2);
}

TEST_F(ListFixture, LosingFocusCommitsTheTypedText) {
    list.EditCell(3, 2);
    CEditEx* edit = list.ActiveEdit();
    edit->setText("kept");
    QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(edit, &out);
    Settle();
    EXPECT_EQ(list.GetItemText(3, 2), "kept");
    // A second editor replaces the first.
    list.EditCell(0, 1);
    list.EditCell(0, 2);
    Settle();
    EXPECT_EQ(list.findChildren<CEditEx*>().size(), 1);
}

TEST_F(ListFixture, DoubleClickEditsOnlyEditableCells) {
    list.AddEditableCell(-1, 1);
    list.AddLockedCell(0, 1);
    auto doubleClick = [&](int row, int column) {
        const QPoint at = list.visualRect(list.model()->index(row, column)).center();
        QMouseEvent e(QEvent::MouseButtonDblClick, at, list.viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list.viewport(), &e);
    };
    doubleClick(0, 1);
    EXPECT_EQ(list.ActiveEdit(), nullptr);
    EXPECT_EQ(list.editRow, 0);
    doubleClick(2, 1);
    ASSERT_NE(list.ActiveEdit(), nullptr);
    EXPECT_EQ(list.editRow, 2);
}

TEST_F(ListFixture, DropDownOptionsAndUnknownCurrentText) {
    list.SetItemText(1, 3, "fast");
    list.AddComboCell(-1, 3, "slow$medium$$fast");
    const QPoint at = list.visualRect(list.model()->index(1, 3)).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, list.viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &press);
    CComboBoxExt* combo = list.ActiveCombo();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "fast");
    combo->setCurrentIndex(0);
    Settle();
    EXPECT_EQ(list.GetItemText(1, 3), "slow");

    list.SetItemText(2, 3, "other");
    list.ChooseInCell(2, 3, "slow$medium$$fast");
    combo = list.ActiveCombo();
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->currentIndex(), 3);
    EXPECT_EQ(combo->currentText(), "other");

    // Right button on a drop-down cell: free text.
    QMouseEvent right(QEvent::MouseButtonPress, at, list.viewport()->mapToGlobal(at),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &right);
    ASSERT_NE(list.ActiveEdit(), nullptr);
    EXPECT_EQ(list.ActiveEdit()->text(), "slow");
}
