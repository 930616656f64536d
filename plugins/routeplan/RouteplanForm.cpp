// The window's form: the list on the left, the transfer, single-point,
// servo, point-run, pulse-move and jog groups on the right.
#include "CListCtrlEx.h"
#include "RouteplanView.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>

namespace routeplan {
namespace {

QSpinBox* Spin(int low, int high, int start) {
    auto* spin = new QSpinBox;
    spin->setRange(low, high);
    spin->setValue(start);
    return spin;
}

// A field without a range of its own ("free"), holding a whole number.
QLineEdit* FreeField(int start) {
    auto* field = new QLineEdit(QString::number(start));
    field->setValidator(new QIntValidator(INT_MIN, INT_MAX, field));
    field->setAlignment(Qt::AlignRight);
    return field;
}

} // namespace

void CRouteplanView::BuildForm() {
    for (int b = 0; b < kButtons; ++b) {
        buttons_[b] = new QPushButton;
        buttons_[b]->setObjectName(QString("button%1").arg(b));
        connect(buttons_[b], &QPushButton::clicked, this,
                [this, b] { OnButton(static_cast<Button>(b)); });
    }
    for (int j = 0; j < kJogButtons; ++j) {
        jogs_[j] = new QPushButton;
        jogs_[j]->setObjectName(QString("jog%1").arg(j));
    }
    for (auto*& group : groups_)
        group = new QGroupBox;
    for (auto*& label : labels_)
        label = new QLabel;
    list_ = new CListCtrlEx;
    list_->setObjectName("RouteplanList");
    BuildList();

    // Table transfers and file.
    auto* table = new QGridLayout(groups_[5]);
    table->addWidget(buttons_[kRead], 0, 0);
    table->addWidget(buttons_[kWrite], 0, 1);
    table->addWidget(buttons_[kImport], 1, 0);
    table->addWidget(buttons_[kExport], 1, 1);

    // One point: number, position and speed.
    pointNumber = Spin(1, 16, 1);
    pointPosition = FreeField(0);
    pointSpeed = FreeField(0);
    auto* single = new QGridLayout(groups_[4]);
    single->addWidget(pointNumber, 0, 0);
    single->addWidget(buttons_[kGetPoint], 0, 1);
    single->addWidget(buttons_[kSetPoint], 0, 2);
    single->addWidget(pointPosition, 1, 0, 1, 2);
    single->addWidget(pointSpeed, 1, 2);

    // Servo and status.
    feedback_ = new QLabel("0");
    feedback_->setObjectName("feedback");
    feedback_->setMinimumWidth(110);
    feedback_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    status_ = new QLabel;
    auto* servo = new QGridLayout(groups_[3]);
    servo->addWidget(buttons_[kServoOn], 0, 0);
    servo->addWidget(buttons_[kServoOff], 0, 1);
    servo->addWidget(buttons_[kCheck], 0, 2);
    servo->addWidget(status_, 1, 0, 1, 2);
    auto* feedbackRow = new QHBoxLayout;
    feedbackRow->addWidget(labels_[7]);
    feedbackRow->addWidget(feedback_);
    servo->addLayout(feedbackRow, 1, 2);

    // Point run: start, end, dwell; homing, run, stop.
    startPoint = FreeField(1);
    endPoint = Spin(1, 16, 1);
    delay = FreeField(500);
    auto* run = new QGridLayout(groups_[0]);
    run->addWidget(labels_[0], 0, 0);
    run->addWidget(startPoint, 0, 1);
    run->addWidget(labels_[1], 0, 2);
    run->addWidget(endPoint, 0, 3);
    run->addWidget(labels_[2], 1, 0, 1, 2);
    run->addWidget(delay, 1, 2, 1, 2);
    auto* runButtons = new QHBoxLayout;
    for (Button b : {kHoming, kRun, kStop})
        runButtons->addWidget(buttons_[b]);
    run->addLayout(runButtons, 2, 0, 1, 4);

    // Pulse move: count and speed; absolute, relative.
    pulseCount = Spin(-134217728, 134217728, 0);
    rpm = Spin(0, 3000, 0);
    auto* move = new QGridLayout(groups_[1]);
    move->addWidget(labels_[3], 0, 0);
    move->addWidget(pulseCount, 0, 1);
    move->addWidget(labels_[4], 0, 2);
    move->addWidget(rpm, 0, 3);
    move->addWidget(buttons_[kAbsolute], 1, 0, 1, 2);
    move->addWidget(buttons_[kRelative], 1, 2, 1, 2);

    // Jog: step, speed limit and choice, four buttons.
    jogStep = FreeField(0);
    speedLimit = new QSlider(Qt::Horizontal);
    speedLimit->setRange(0, 2000);
    speedLimit->setValue(0);
    speedValue_ = new QLabel("0");
    speedValue_->setMinimumWidth(40);
    connect(speedLimit, &QSlider::valueChanged, speedValue_,
            [this](int v) { speedValue_->setText(QString::number(v)); });
    speedChoice = new QComboBox;
    speedChoice->addItems({"", "", ""});
    speedChoice->setCurrentIndex(1);
    auto* jog = new QGridLayout(groups_[2]);
    jog->addWidget(labels_[5], 0, 0);
    jog->addWidget(jogStep, 0, 1);
    jog->addWidget(speedChoice, 0, 2, 1, 2);
    jog->addWidget(labels_[6], 1, 0);
    jog->addWidget(speedLimit, 1, 1, 1, 2);
    jog->addWidget(speedValue_, 1, 3);
    for (int j = 0; j < kJogButtons; ++j)
        jog->addWidget(jogs_[j], 2, j);

    modelNote_ = new QLabel;
    modelNote_->setObjectName("modelNote");
    modelNote_->setWordWrap(true);
    modelNote_->setStyleSheet("color: #b00000;");

    auto* right = new QVBoxLayout;
    for (int g : {5, 4, 3, 0, 1, 2})
        right->addWidget(groups_[g]);
    right->addWidget(modelNote_);
    right->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(right);
}

QSize CRouteplanView::sizeHint() const {
    return {1180, 700};
}

} // namespace routeplan
