// The about box: the picture "/Image/Image.Bmp" under the application folder,
// the application title and one line of text.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(const std::string& appDir, const std::string& title, const std::string& secondLine,
              const std::string& okText, QWidget* parent = nullptr);

    QLabel* Picture() const { return picture_; }
    QLabel* FirstLine() const { return firstLine_; }
    QLabel* SecondLine() const { return secondLine_; }
    QPushButton* OkButton() const { return ok_; }

private:
    QLabel* picture_;
    QLabel* firstLine_;
    QLabel* secondLine_;
    QPushButton* ok_;
};
