#include "CListCtrlEx.h"

#include "InPlaceEditors.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace {

// Draws every cell in its row's colours.
class RowColorDelegate : public QStyledItemDelegate {
public:
    explicit RowColorDelegate(CListCtrlEx* list) : QStyledItemDelegate(list), list_(list) {}
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const auto [text, background] = list_->RowColors(index.row());
        option->palette.setColor(QPalette::Text, text);
        option->backgroundBrush = background;
    }

private:
    CListCtrlEx* list_;
};

} // namespace

CListCtrlEx::CListCtrlEx(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new RowColorDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    setWordWrap(false);
    setMouseTracking(true); // cell tool tips
}

CListCtrlEx::~CListCtrlEx() {
    // An open editor loses its focus while the list is torn down: it must not
    // report into a half-destroyed list.
    for (QWidget* editor :
         {static_cast<QWidget*>(activeEdit.data()), static_cast<QWidget*>(activeCombo.data())}) {
        if (editor != nullptr) {
            editor->disconnect(this);
            delete editor;
        }
    }
}

int CListCtrlEx::InsertColumn(int column, const QString& heading, Qt::Alignment alignment,
                              int width) {
    insertColumn(column);
    auto* header = new QTableWidgetItem(heading);
    header->setTextAlignment(alignment | Qt::AlignVCenter);
    setHorizontalHeaderItem(column, header);
    setColumnWidth(column, width);
    return column;
}

int CListCtrlEx::InsertItem(int row, const QString& text) {
    insertRow(row);
    SetItemText(row, 0, text);
    return row;
}

void CListCtrlEx::SetItemText(int row, int column, const QString& text) {
    QTableWidgetItem* cell = item(row, column);
    if (cell == nullptr) {
        cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        if (QTableWidgetItem* header = horizontalHeaderItem(column))
            cell->setTextAlignment(Qt::Alignment(header->textAlignment()));
        setItem(row, column, cell);
    }
    cell->setText(text);
    cell->setToolTip(text);
}

QString CListCtrlEx::GetItemText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell != nullptr ? cell->text() : QString();
}

void CListCtrlEx::DeleteAllItems() {
    setRowCount(0);
}

void CListCtrlEx::SetRowColor(int row, const QColor& text, const QColor& background) {
    for (USColoredRow& entry : coloredRows) {
        if (entry.row == row) {
            entry.text = text;
            entry.background = background;
            viewport()->update();
            return;
        }
    }
    coloredRows.push_back({row, text, background});
    viewport()->update();
}

std::pair<QColor, QColor> CListCtrlEx::RowColors(int row) const {
    std::pair<QColor, QColor> colors{Qt::black, Qt::white};
    for (const USColoredRow& entry : coloredRows) {
        if (entry.row == row)
            colors = {entry.text, entry.background};
    }
    return colors;
}

bool CListCtrlEx::IsCellEditable(int row, int column) const {
    auto matches = [&](const std::vector<USEditableCell>& cells) {
        for (const USEditableCell& c : cells) {
            if (c.Matches(row, column))
                return true;
        }
        return false;
    };
    return matches(editableCells) && !matches(lockedCells);
}

const USComboCell* CListCtrlEx::ComboAt(int row, int column) const {
    for (const USComboCell& c : comboCells) {
        if ((c.row == -1 || c.row == row) && (c.column == -1 || c.column == column))
            return &c;
    }
    return nullptr;
}

bool CListCtrlEx::HitCell(const QPoint& point) {
    const QModelIndex index = indexAt(point);
    if (!index.isValid())
        return false;
    editRow = index.row();
    editColumn = index.column();
    return true;
}

QRect CListCtrlEx::CellRect(int row, int column) const {
    return visualRect(model()->index(row, column));
}

void CListCtrlEx::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event);
    if (!HitCell(event->position().toPoint()))
        return;
    const USComboCell* combo = ComboAt(editRow, editColumn);
    if (event->button() == Qt::LeftButton && combo != nullptr)
        ChooseInCell(editRow, editColumn, combo->options);
    else if (event->button() == Qt::RightButton && combo != nullptr)
        EditCell(editRow, editColumn); // free text on a drop-down cell
}

void CListCtrlEx::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableWidget::mouseDoubleClickEvent(event);
    if (HitCell(event->position().toPoint()) && IsCellEditable(editRow, editColumn))
        EditCell(editRow, editColumn);
}

void CListCtrlEx::scrollContentsBy(int dx, int dy) {
    setFocus(); // ends an open edit before the cells move
    QTableWidget::scrollContentsBy(dx, dy);
}

void CListCtrlEx::EditCell(int row, int column) {
    if (activeEdit) {
        setFocus();
        delete activeEdit.data();
    }
    editRow = row;
    editColumn = column;
    auto* edit = new CEditEx(GetItemText(row, column), viewport());
    edit->setFont(font());
    edit->setGeometry(CellRect(row, column));
    connect(edit, &CEditEx::Finished, this,
            [this, row, column](const QString& text) { Commit(row, column, text); });
    activeEdit = edit;
    edit->show();
    edit->setFocus();
}

void CListCtrlEx::ChooseInCell(int row, int column, const QString& options) {
    if (activeCombo) {
        setFocus();
        delete activeCombo.data();
    }
    editRow = row;
    editColumn = column;
    auto* combo = new CComboBoxExt(options, GetItemText(row, column), viewport());
    combo->setFont(font());
    combo->setGeometry(CellRect(row, column));
    connect(combo, &CComboBoxExt::Finished, this,
            [this, row, column](const QString& text) { Commit(row, column, text); });
    activeCombo = combo;
    combo->show();
    combo->setFocus();
}

void CListCtrlEx::Commit(int row, int column, const QString& text) {
    if (row >= rowCount() || column >= columnCount())
        return; // the list changed under the editor
    SetItemText(row, column, text);
    emit CellCommitted(row, column, text);
}
