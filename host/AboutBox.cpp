#include "AboutBox.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

CAboutDlg::CAboutDlg(const std::string& appDir, const std::string& title,
                     const std::string& secondLine, const std::string& okText, QWidget* parent)
    : QDialog(parent), picture_(new QLabel(this)),
      firstLine_(new QLabel(QString::fromStdString(title), this)),
      secondLine_(new QLabel(QString::fromStdString(secondLine), this)),
      ok_(new QPushButton(QString::fromStdString(okText), this)) {
    // A missing picture leaves an empty one at the origin; the box then
    // shrinks around it like around any other picture.
    const QPixmap pixmap(QString::fromStdString(appDir + "/Image/Image.Bmp"));
    picture_->setPixmap(pixmap);
    picture_->setGeometry(0, 0, pixmap.width(), pixmap.height());
    const int right = picture_->x() + pixmap.width();
    const int bottom = picture_->y() + pixmap.height();
    firstLine_->adjustSize();
    secondLine_->adjustSize();
    ok_->adjustSize();
    firstLine_->move(picture_->x(), bottom + 10);
    secondLine_->move(picture_->x(), bottom + 30);
    ok_->move(static_cast<int>(0.7 * right), bottom + 15);
    setFixedSize(right + 20, bottom + 80);
    setWindowTitle(QString::fromStdString(title));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}
