#include "KnobsetDialogs.h"

#include "DialogService.h"
#include "FileKind.h"
#include "KnobsetStrings.h"
#include "ParmTable.h"
#include "ValueFileText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace knobset {
namespace {
std::function<int(QDialog&)>& Answerer() {
    static std::function<int(QDialog&)> answerer;
    return answerer;
}
QString Text(PluginModule& m, unsigned id) {
    return QString::fromStdString(m.Text(id));
}
} // namespace

int RunModal(QDialog& dialog) {
    if (Answerer()) {
        const int answer = Answerer()(dialog);
        if (answer >= 0)
            return answer;
    }
    return dialog.exec();
}

void InstallModalAnswerer(std::function<int(QDialog&)> answerer) {
    Answerer() = std::move(answerer);
}

std::string AskPathToWrite(QWidget* parent, PluginModule& module, const std::string& title,
                           const std::string& lastPath, const char* extension, const char* filter,
                           unsigned replaceQuestion) {
    const std::string path = EnsureExtension(
        Dialogs().GetSaveFileName(parent, title, WithExtension(lastPath, extension), filter),
        extension);
    if (path.empty() || !ReplacesOtherKind(path, extension))
        return path;
    const int answer = Dialogs().MessageBox(
        parent, FillTemplate(module.Text(replaceQuestion), {path}), title,
        MessageBoxStyle::kYesNo | MessageBoxStyle::kIconWarning | MessageBoxStyle::kDefaultButton2);
    return answer == kAnswerYes ? path : std::string();
}

CPrgs::CPrgs(const QString& message, int range, const QColor& text, const QColor& background,
             const std::atomic<int>& progress, const std::atomic<int>& done, QWidget* parent)
    : QDialog(parent), progress_(progress), done_(done) {
    setObjectName("CPrgs");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* label = new QLabel(message);
    label->setAutoFillBackground(true);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumHeight(40);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, background);
    label->setPalette(palette);
    bar_ = new QProgressBar;
    bar_->setRange(0, range);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(bar_);
    resize(360, 110);
    connect(&timer_, &QTimer::timeout, this, &CPrgs::Tick);
    timer_.start(10);
}

int CPrgs::Position() const {
    return bar_->value();
}

void CPrgs::Tick() {
    bar_->setValue(std::min(progress_.load(), bar_->maximum()));
    if (done_ != 0) {
        timer_.stop();
        accept();
    }
}

CSelParmSrc::CSelParmSrc(PluginModule& m, QWidget* parent) : QDialog(parent) {
    setObjectName("CSelParmSrc");
    setWindowTitle(Text(m, kStrSelectTitle));
    fileButton = new QRadioButton(Text(m, kStrSourceFile));
    defaultButton = new QRadioButton(Text(m, kStrSourceDefault));
    fileButton->setChecked(true);
    auto* confirm = new QPushButton(Text(m, kStrConfirm));
    auto* cancel = new QPushButton(Text(m, kStrCancel));
    confirm->setDefault(true);
    connect(confirm, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Text(m, kStrSourcePrompt)));
    layout->addWidget(fileButton);
    layout->addWidget(defaultButton);
    layout->addLayout(buttons);
}

bool CSelParmSrc::FileChosen() const {
    return fileButton->isChecked();
}

CParmInput::CParmInput(PluginModule& m, const ParmRecord* record, int model, bool online,
                       QWidget* parent)
    : QDialog(parent), module_(m), record_(record), online_(online) {
    setObjectName("CParmInput");
    setWindowTitle(Text(m, kStrEditTitle));
    auto* heading = new QLabel;
    heading->setFont(QFont("verdana", 16));
    auto* layout = new QGridLayout(this);
    layout->addWidget(heading, 0, 0, 1, 3);
    if (record == nullptr) {
        heading->setText(Text(m, kStrNoParameter));
        return;
    }
    if (record->attributes & Attr::kReserved) {
        refused = true;
        return;
    }
    heading->setText(QString::fromStdString(DialogNumberText(*record, model)));
    layout->addWidget(new QLabel(QString::fromStdString(record->name)), 1, 0, 1, 3);
    layout->addWidget(new QLabel(Text(m, kStrUnit)), 2, 0);
    layout->addWidget(new QLabel(QString::fromStdString(record->unit)), 2, 1);
    layout->addWidget(new QLabel(Text(m, kStrSetupLabel)), 3, 0);
    valueEdit = new QLineEdit(QString::number(record->setupValue));
    layout->addWidget(valueEdit, 3, 1);
    layout->addWidget(new QLabel(QString("(%1 ~ %2)").arg(record->min).arg(record->max)), 3, 2);
    commentEdit = new QLineEdit(QString::fromStdString(record->cmt));
    commentEdit->setMaxLength(static_cast<int>(kMaxCommentChars));
    layout->addWidget(new QLabel(Text(m, kStrComment)), 4, 0);
    layout->addWidget(commentEdit, 4, 1, 1, 2);
    // A refused value is explained in a line of its own below the fields, so
    // nothing covers what the user has to correct.
    refusalLabel = new QLabel;
    refusalLabel->setStyleSheet("color: #c00000");
    refusalLabel->setWordWrap(true);
    refusalLabel->hide();
    layout->addWidget(refusalLabel, 5, 0, 1, 3);
    auto* confirm = new QPushButton(Text(m, kStrSetupButton));
    auto* cancel = new QPushButton(Text(m, kStrCancel));
    confirm->setDefault(true);
    layout->addWidget(confirm, 6, 1);
    layout->addWidget(cancel, 6, 2);
    connect(confirm, &QPushButton::clicked, this, &CParmInput::Confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    valueEdit->selectAll();
    valueEdit->setFocus();
}

std::string CParmInput::Comment() const {
    return commentEdit != nullptr
               ? commentEdit->text().left(static_cast<qsizetype>(kMaxCommentChars)).toStdString()
               : std::string();
}

void CParmInput::Confirm() {
    bool ok = false;
    const long long parsed = valueEdit->text().trimmed().toLongLong(&ok);
    const bool inRange = ok && parsed >= record_->min && parsed <= record_->max;
    // Off-line nothing checks the value later: keep it within the limits.
    // On-line the drive decides, but the text must still be a 32-bit number.
    if (!ok || parsed < INT32_MIN || parsed > INT32_MAX || (!online_ && !inRange)) {
        refusalLabel->setText(Text(module_, kStrOutOfRange));
        refusalLabel->show();
        valueEdit->selectAll();
        valueEdit->setFocus();
        return;
    }
    value_ = static_cast<int>(parsed);
    accept();
}

} // namespace knobset
