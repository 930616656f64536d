// The report-style list of the tool windows: a table with per-row text and
// background colours, in-place text editing of chosen cells and in-place
// choice from a drop-down list. Users read edited values back from the cells.
#pragma once

#include "InPlaceEditors.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <QTableWidget>
#include <vector>

// {row, column}; -1 in either matches every row or column.
struct USEditableCell {
    int row;
    int column;
    bool Matches(int r, int c) const {
        return (row == -1 || row == r) && (column == -1 || column == c);
    }
};
struct USColoredRow {
    int row;
    QColor text;
    QColor background;
};
struct USComboCell {
    int row;
    int column;
    QString options; // choices separated by "$"
};

class CListCtrlEx : public QTableWidget {
    Q_OBJECT
public:
    explicit CListCtrlEx(QWidget* parent = nullptr);
    ~CListCtrlEx() override;

    // The list-control operations the tools use.
    int InsertColumn(int column, const QString& heading, Qt::Alignment alignment, int width);
    int InsertItem(int row, const QString& text);
    void SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    int GetItemCount() const { return rowCount(); }
    void DeleteAllItems();

    void AddEditableCell(int row, int column) { editableCells.push_back({row, column}); }
    void AddLockedCell(int row, int column) { lockedCells.push_back({row, column}); }
    void AddComboCell(int row, int column, const QString& options) {
        comboCells.push_back({row, column, options});
    }
    // Replaces the colours of a listed row, else lists it.
    void SetRowColor(int row, const QColor& text, const QColor& background);
    void ClearRowColors() { coloredRows.clear(); }

    bool IsCellEditable(int row, int column) const;
    // The colours a row is drawn with (black on white when not listed).
    std::pair<QColor, QColor> RowColors(int row) const;

    // Opening the in-place editors (also what the mouse rules call).
    void EditCell(int row, int column);
    void ChooseInCell(int row, int column, const QString& options);
    CEditEx* ActiveEdit() const { return activeEdit; }
    CComboBoxExt* ActiveCombo() const { return activeCombo; }

    int editRow = -1;
    int editColumn = -1;
    std::vector<USEditableCell> editableCells;
    std::vector<USEditableCell> lockedCells;
    std::vector<USColoredRow> coloredRows;
    std::vector<USComboCell> comboCells;

signals:
    // A committed in-place edit.
    void CellCommitted(int row, int column, const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    bool HitCell(const QPoint& point);
    const USComboCell* ComboAt(int row, int column) const;
    QRect CellRect(int row, int column) const;
    void Commit(int row, int column, const QString& text);

    QPointer<CEditEx> activeEdit;
    QPointer<CComboBoxExt> activeCombo;
};
