// The editor window's form: its controls, their sizes and the size the
// window opens at.
#include "CListCtrlEx.h"
#include "KnobsetLook.h"
#include "KnobsetView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace knobset {
namespace {

constexpr int kReferenceWidth = 220;
constexpr int kOpeningHeight = 640;
constexpr int kNameColumnChars = 30; // longer names are elided

} // namespace

void CKnobsetView::BuildForm() {
    for (int i = 0; i < kButtons; ++i) {
        buttons_[static_cast<std::size_t>(i)] = new QPushButton;
        buttons_[static_cast<std::size_t>(i)]->setObjectName(QString("button%1").arg(i));
    }
    connect(buttons_[kOpen], &QPushButton::clicked, this, &CKnobsetView::OnOpenFile);
    connect(buttons_[kSave], &QPushButton::clicked, this, &CKnobsetView::OnSaveFile);
    connect(buttons_[kRead], &QPushButton::clicked, this, &CKnobsetView::OnReadDrive);
    connect(buttons_[kTrans], &QPushButton::clicked, this, &CKnobsetView::OnTransToDrive);
    connect(buttons_[kEeprom], &QPushButton::clicked, this, &CKnobsetView::OnWriteEeprom);
    connect(buttons_[kInit], &QPushButton::clicked, this, &CKnobsetView::OnInitialize);
    connect(buttons_[kExport], &QPushButton::clicked, this, &CKnobsetView::OnExport);

    fileGroup_ = new QGroupBox;
    auto* fileRow = new QHBoxLayout(fileGroup_);
    fileRow->addWidget(buttons_[kOpen]);
    fileRow->addWidget(buttons_[kSave]);
    driveGroup_ = new QGroupBox;
    auto* driveRow = new QHBoxLayout(driveGroup_);
    driveRow->addWidget(buttons_[kRead]);
    driveRow->addWidget(buttons_[kTrans]);
    driveRow->addWidget(buttons_[kEeprom]);

    auto* legendBox = new QGridLayout;
    const QColor colors[5] = {Qt::white, kRebootColor, kReadOnlyColor, kReservedColor, Qt::white};
    for (int i = 0; i < 5; ++i) {
        auto* label = new QLabel;
        label->setAutoFillBackground(true);
        label->setFrameShape(QFrame::Box);
        label->setAlignment(Qt::AlignCenter);
        label->setMargin(2);
        QPalette p = label->palette();
        p.setColor(QPalette::Window, colors[i]);
        p.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(p);
        legend_[static_cast<std::size_t>(i)] = label;
        legendBox->addWidget(label, i / 3, i % 3);
    }
    version_ = new QLabel;
    version_->setObjectName("versionLabel");

    auto* top = new QHBoxLayout;
    top->addWidget(fileGroup_);
    top->addWidget(driveGroup_);
    top->addWidget(buttons_[kInit]);
    top->addWidget(buttons_[kExport]);
    top->addLayout(legendBox);
    top->addWidget(version_);
    top->addStretch();

    // The groups as a list: every group visible at once, its text horizontal.
    groups_ = new QListWidget;
    groups_->setObjectName("groupList");
    groups_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    groups_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int i = 0; i < 11; ++i)
        groups_->addItem(QString());
    groups_->setCurrentRow(0);
    connect(groups_, &QListWidget::currentRowChanged, this, &CKnobsetView::SelectTab);

    filterLabel_ = new QLabel;
    filter_ = new QLineEdit;
    filter_->setObjectName("filterField");
    filter_->setClearButtonEnabled(true);
    filterLabel_->setBuddy(filter_);
    filter_->installEventFilter(this); // Escape clears it
    connect(filter_, &QLineEdit::textChanged, this, &CKnobsetView::FillList);

    list_ = new CListCtrlEx;
    list_->setObjectName("parameterList");
    const Qt::Alignment align[8] = {Qt::AlignRight, Qt::AlignLeft,  Qt::AlignRight, Qt::AlignRight,
                                    Qt::AlignLeft,  Qt::AlignRight, Qt::AlignRight, Qt::AlignLeft};
    for (int c = 0; c < 8; ++c)
        list_->InsertColumn(c, QString(), align[c], 60);
    list_->horizontalHeader()->setStretchLastSection(true);
    SizeColumns();
    connect(list_, &QTableWidget::currentCellChanged, this, [this](int row) { SelectRow(row); });
    // Activation is a double click or Enter on a row.
    connect(list_, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { OnEditRow(index.row()); });

    reference_ = new QLabel;
    reference_->setObjectName("referencePanel");
    reference_->setWordWrap(true);
    reference_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    reference_->setMargin(6);
    auto* scroll = new QScrollArea;
    scroll->setWidget(reference_);
    scroll->setWidgetResizable(true);
    scroll->setFixedWidth(kReferenceWidth);

    auto* findRow = new QHBoxLayout;
    findRow->addWidget(filterLabel_);
    findRow->addWidget(filter_, 1);
    auto* middle = new QVBoxLayout;
    middle->addLayout(findRow);
    middle->addWidget(list_, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(groups_, 0, Qt::AlignTop);
    body->addLayout(middle, 1);
    body->addWidget(scroll);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body, 1);
}

QSize CKnobsetView::sizeHint() const {
    int columns = list_->verticalScrollBar()->sizeHint().width() + 2 * list_->frameWidth();
    for (int c = 0; c < list_->columnCount(); ++c)
        columns += list_->columnWidth(c);
    const QSize base = QWidget::sizeHint();
    const int listShare = list_->sizeHint().width();
    return {std::max(base.width(), base.width() - listShare + columns), kOpeningHeight};
}

// The group list shows every group without scrolling, as wide as its
// longest text.
void CKnobsetView::FitGroupList() {
    const int frame = 2 * groups_->frameWidth();
    groups_->setFixedWidth(groups_->sizeHintForColumn(0) + frame + 8);
    groups_->setFixedHeight(groups_->sizeHintForRow(0) * groups_->count() + frame);
}

// Every column as wide as its header and its widest sample text (the name
// column as its widest name, within reason).
void CKnobsetView::SizeColumns() {
    const QFontMetrics metrics(list_->font());
    const QFontMetrics header(list_->horizontalHeader()->font());
    const QString samples[8] = {kDiffersMark + "Pr 000 ",
                                QString(kNameColumnChars, 'x'),
                                "-30000 ",
                                "134217728 ",
                                "(r/min)/V ",
                                "134217728 ",
                                "134217728 ",
                                "Comment "};
    for (int c = 0; c < 8; ++c) {
        const int width =
            std::max(metrics.horizontalAdvance(samples[c]),
                     header.horizontalAdvance(list_->horizontalHeaderItem(c)->text()));
        list_->setColumnWidth(c, width + 16);
    }
}

} // namespace knobset
