#include "AboutBox.h"

#include "TextTemplate.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(const std::string& appDir, const std::string& title,
                     const std::string& secondLine, const std::string& versionLine,
                     const std::string& okText, QWidget* parent)
    : QDialog(parent), picture_(new QLabel(this)),
      firstLine_(new QLabel(QString::fromStdString(title), this)),
      secondLine_(new QLabel(QString::fromStdString(secondLine), this)),
      versionLine_(new QLabel(QString::fromStdString(versionLine), this)),
      ok_(new QPushButton(QString::fromStdString(okText), this)) {
    // A missing picture leaves the box as large as its texts.
    const QPixmap pixmap(QString::fromStdString(appDir + "/Image/Image.Bmp"));
    picture_->setPixmap(pixmap);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(picture_, 0, Qt::AlignLeft);
    layout->addWidget(firstLine_);
    layout->addWidget(secondLine_);
    layout->addWidget(versionLine_);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
    setWindowTitle(QString::fromStdString(title));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

std::string VersionText(const std::string& pattern) {
    return FillTemplate(pattern, {VELMORA_VERSION, VELMORA_BUILD_DATE});
}
