// The tuning window's form: the two tabs, their controls and their texts.
#include "GainwiseStrings.h"
#include "GainwiseView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace gainwise {
namespace {

constexpr int kPatterns = 8;
constexpr int kEntryLimit = 9999999; // wider than any range: the checks explain a refusal

QSpinBox* Entry() {
    auto* box = new QSpinBox;
    box->setRange(-kEntryLimit, kEntryLimit);
    box->setMinimumWidth(140);
    return box;
}

QComboBox* LevelBox() {
    auto* box = new QComboBox;
    for (int level = 0; level < kLevels; ++level)
        box->addItem(QString::number(level));
    return box;
}

} // namespace

void CGainwiseView::BuildForm() {
    tabs_ = new QTabWidget;
    tabs_->addTab(BuildAutoPage(), QString());
    tabs_->addTab(BuildManualPage(), QString());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
}

QWidget* CGainwiseView::BuildAutoPage() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    for (auto*& step : steps_) {
        step = new QGroupBox;
        column->addWidget(step);
    }
    column->addStretch(1);
    for (auto*& button : autoButtons_)
        button = new QPushButton;

    patterns_ = new QComboBox;
    for (int i = 0; i < kPatterns; ++i)
        patterns_->addItem(QString());
    auto* patternRow = new QHBoxLayout(steps_[0]);
    patternRow->addWidget(patterns_);
    patternRow->addStretch(1);
    autoLevel_ = LevelBox();
    auto* levelRow = new QHBoxLayout(steps_[1]);
    levelRow->addWidget(autoLevel_);
    levelRow->addStretch(1);

    servoState_ = new QLabel;
    auto* servoRow = new QHBoxLayout(steps_[2]);
    servoRow->addWidget(autoButtons_[kServoOnButton]);
    servoRow->addWidget(servoState_);
    servoRow->addStretch(1);

    estimateLabel_ = new QLabel;
    estimate_ = new QLineEdit(QStringLiteral("0"));
    estimate_->setReadOnly(true);
    estimate_->setMinimumWidth(140);
    auto* startRow = new QHBoxLayout(steps_[3]);
    startRow->addWidget(autoButtons_[kStartButton]);
    startRow->addWidget(estimateLabel_);
    startRow->addWidget(estimate_);
    startRow->addStretch(1);

    auto* offRow = new QHBoxLayout(steps_[4]);
    offRow->addWidget(autoButtons_[kServoOffButton]);
    offRow->addStretch(1);
    auto* saveRow = new QHBoxLayout(steps_[5]);
    saveRow->addWidget(autoButtons_[kSaveButton]);
    saveRow->addStretch(1);

    connect(autoButtons_[kServoOnButton], &QPushButton::clicked, this, &CGainwiseView::OnServoOn);
    connect(autoButtons_[kStartButton], &QPushButton::clicked, this, &CGainwiseView::OnStart);
    connect(autoButtons_[kServoOffButton], &QPushButton::clicked, this, &CGainwiseView::OnServoOff);
    connect(autoButtons_[kSaveButton], &QPushButton::clicked, this, &CGainwiseView::OnSaveEeprom);
    return page;
}

QWidget* CGainwiseView::BuildManualPage() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);

    manualGroup_ = new QGroupBox;
    auto* grid = new QGridLayout(manualGroup_);
    for (auto*& label : manualLabels_)
        label = new QLabel;
    inertia_ = Entry();
    level_ = LevelBox();
    bandwidth_ = Entry();
    reaction_ = Entry();
    hint_ = new QLabel;
    QWidget* fields[] = {inertia_, level_, bandwidth_, reaction_};
    for (int row = 0; row < 4; ++row) {
        grid->addWidget(manualLabels_[static_cast<std::size_t>(row)], row, 0);
        grid->addWidget(fields[row], row, 1);
    }
    grid->addWidget(hint_, 2, 2);
    estimateButton_ = new QPushButton;
    grid->addWidget(estimateButton_, 4, 1);
    grid->setColumnStretch(3, 1);
    column->addWidget(manualGroup_);

    table_ = new QTableWidget(kGainParms, kColumns);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int p = 0; p < kGainParms; ++p)
        for (int c = 0; c < kColumns; ++c)
            table_->setItem(p, c, new QTableWidgetItem(c == kColParm ? ParmLabel(p) : ""));
    table_->setMinimumHeight(table_->horizontalHeader()->sizeHint().height() +
                             kGainParms * table_->verticalHeader()->defaultSectionSize() + 4);
    column->addWidget(table_);

    setAfterTick_ = new QCheckBox;
    transfer_ = new QPushButton;
    manualSave_ = new QPushButton;
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(setAfterTick_);
    buttons->addStretch(1);
    buttons->addWidget(transfer_);
    buttons->addWidget(manualSave_);
    column->addLayout(buttons);
    column->addStretch(1);

    connect(level_, &QComboBox::activated, this, &CGainwiseView::OnStiffnessPicked);
    connect(estimateButton_, &QPushButton::clicked, this, &CGainwiseView::OnEstimateGains);
    connect(transfer_, &QPushButton::clicked, this, &CGainwiseView::OnTransfer);
    connect(manualSave_, &QPushButton::clicked, this, &CGainwiseView::OnSaveEeprom);
    connect(setAfterTick_, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
    return page;
}

void CGainwiseView::ApplyLanguage() {
    auto text = [this](unsigned id) { return QString::fromStdString(Text(id)); };
    if (QWidget* frame = parentWidget())
        frame->setWindowTitle(text(kStrTitle));
    tabs_->setTabText(0, text(kStrAutoTab));
    tabs_->setTabText(1, text(kStrManualTab));
    for (std::size_t i = 0; i < steps_.size(); ++i)
        steps_[i]->setTitle(text(kStrStepPattern + static_cast<unsigned>(i)));
    for (int i = 0; i < kPatterns; ++i)
        patterns_->setItemText(i, text(kStrFirstPattern + static_cast<unsigned>(i)));
    autoButtons_[kServoOnButton]->setText(text(kStrServoOn));
    autoButtons_[kStartButton]->setText(text(kStrStart));
    autoButtons_[kServoOffButton]->setText(text(kStrServoOff));
    autoButtons_[kSaveButton]->setText(text(kStrSaveEeprom));
    servoState_->setText(text(servoOn_ ? kStrServoIsOn : kStrServoIsOff));
    estimateLabel_->setText(text(kStrEstimateValue));

    manualGroup_->setTitle(text(kStrGainEstimation));
    const unsigned labels[] = {kStrInertiaRatio, kStrStiffnessLevel, kStrBandwidth,
                               kStrReactionTime};
    for (std::size_t i = 0; i < manualLabels_.size(); ++i)
        manualLabels_[i]->setText(text(labels[i]));
    estimateButton_->setText(text(kStrEstimate));
    QStringList headers;
    for (int c = 0; c < kColumns; ++c)
        headers << text(kStrColumnParameter + static_cast<unsigned>(c));
    table_->setHorizontalHeaderLabels(headers);
    setAfterTick_->setText(text(kStrSetAfterTick));
    transfer_->setText(text(kStrTransfer));
    manualSave_->setText(text(kStrSaveEeprom));
    ShowHint(level_->currentIndex());
}

} // namespace gainwise
