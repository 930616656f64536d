// The monitor window's form: the command row, the four lists in a 2 x 2 grid
// with their buttons and mode selectors, and the column widths.
#include "CListCtrlEx.h"
#include "MonitorStrings.h"
#include "MonitorView.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace monitor {
namespace {

constexpr int kOpeningWidth = 1200;
constexpr int kOpeningHeight = 750;
constexpr int kPinModes = 4;

// Column headings per list: No., Item, then Unit + Value, Value, or
// Function + State.
std::vector<unsigned> Headings(int group) {
    if (group == kMotion)
        return {kStrColumnNo, kStrColumnItem, kStrColumnUnit, kStrColumnValue};
    if (group == kStatus)
        return {kStrColumnNo, kStrColumnItem, kStrColumnValue};
    return {kStrColumnNo, kStrColumnPin, kStrColumnFunction, kStrColumnState};
}

} // namespace

void CMonitorView::BuildForm() {
    open_ = new QPushButton(this);
    stop_ = new QPushButton(this);
    notice_ = new QLabel(this);
    open_->setObjectName("openCom");
    stop_->setObjectName("stopCom");
    connect(open_, &QPushButton::clicked, this, &CMonitorView::OnOpenCom);
    connect(stop_, &QPushButton::clicked, this, &CMonitorView::OnStopCom);
    auto* top = new QHBoxLayout;
    top->addWidget(open_);
    top->addWidget(stop_);
    top->addWidget(notice_, 1);

    auto* grid = new QGridLayout;
    for (int g = 0; g < kGroups; ++g)
        grid->addWidget(BuildList(g), g / 2, g % 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addLayout(grid, 1);
}

QGroupBox* CMonitorView::BuildList(int group) {
    auto* box = new QGroupBox(this);
    boxes_[group] = box;
    auto* list = new CListCtrlEx(box);
    lists_[group] = list;
    const char* const names[kGroups] = {"motionList", "statusList", "inputList", "outputList"};
    list->setObjectName(names[group]);
    const std::vector<unsigned> headings = Headings(group);
    for (std::size_t c = 0; c < headings.size(); ++c) {
        const Qt::Alignment alignment = c + 1 == headings.size() ? Qt::AlignRight : Qt::AlignLeft;
        list->InsertColumn(static_cast<int>(c), Text(headings[c]), alignment, 60);
    }
    list->horizontalHeader()->setStretchLastSection(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (group == kMotion) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, &CMonitorView::ShowMenu);
    }

    auto* buttons = new QHBoxLayout;
    for (int b = 0; b < 2; ++b) {
        auto* button = new QPushButton(box);
        selectButtons_[group][b] = button;
        connect(button, &QPushButton::clicked, this,
                [this, group, b] { SetAllTicks(group, b == 0); });
        buttons->addWidget(button);
    }
    buttons->addStretch(1);

    // Tight margins: on a 800-pixel screen every row of the longest list shows
    // whole also with the taller CJK headings.
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 2, 6, 4);
    layout->setSpacing(4);
    layout->addWidget(list, 1);
    if (group == kInput || group == kOutput) {
        auto* modes = new QButtonGroup(box);
        modeGroups_[group] = modes;
        auto* row = new QHBoxLayout;
        for (int m = 0; m < kPinModes; ++m) {
            auto* radio = new QRadioButton(box);
            modes->addButton(radio, m);
            row->addWidget(radio);
        }
        row->addStretch(1);
        modes->button(0)->setChecked(true);
        connect(modes, &QButtonGroup::idClicked, this,
                [this, group](int mode) { SetPinMode(group, mode); });
        layout->addLayout(row);
    }
    layout->addLayout(buttons);
    return box;
}

// Every column as wide as its heading and its widest text; the value column
// takes the rest of the list.
void CMonitorView::SizeColumns(int group) {
    CListCtrlEx* list = lists_[group];
    const QFontMetrics metrics(list->font());
    const QFontMetrics header(list->horizontalHeader()->font());
    const std::vector<unsigned> headings = Headings(group);
    for (int c = 0; c < list->columnCount(); ++c) {
        list->horizontalHeaderItem(c)->setText(Text(headings[c]));
        int width = header.horizontalAdvance(list->horizontalHeaderItem(c)->text());
        for (int row = 0; row < list->rowCount(); ++row)
            if (const QTableWidgetItem* cell = list->item(row, c))
                width = std::max(width, metrics.horizontalAdvance(cell->text()));
        if (c == 0)
            width += style()->pixelMetric(QStyle::PM_IndicatorWidth) + 8; // the tick box
        if (c + 1 == list->columnCount())
            width = std::max(width, metrics.horizontalAdvance(QStringLiteral("-2147483648")));
        list->setColumnWidth(c, width + 16);
    }
}

// Both lists of a row side by side with every column.
QSize CMonitorView::sizeHint() const {
    int widest = 0;
    for (const CListCtrlEx* list : lists_) {
        int columns = list->verticalScrollBar()->sizeHint().width() + 2 * list->frameWidth();
        for (int c = 0; c < list->columnCount(); ++c)
            columns += list->columnWidth(c);
        widest = std::max(widest, columns);
    }
    const QSize base = QWidget::sizeHint();
    return {std::max({base.width(), kOpeningWidth, 2 * widest + 60}), kOpeningHeight};
}

} // namespace monitor
