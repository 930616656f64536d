// The about box: the picture "/Image/Image.Bmp" under the application folder,
// the application title, one line of text and the program's version and build
// date, laid out with margins so that longer translations fit.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(const std::string& appDir, const std::string& title, const std::string& secondLine,
              const std::string& versionLine, const std::string& okText, QWidget* parent = nullptr);

    QLabel* Picture() const { return picture_; }
    QLabel* FirstLine() const { return firstLine_; }
    QLabel* SecondLine() const { return secondLine_; }
    QLabel* VersionLine() const { return versionLine_; }
    QPushButton* OkButton() const { return ok_; }

private:
    QLabel* picture_;
    QLabel* firstLine_;
    QLabel* secondLine_;
    QLabel* versionLine_;
    QPushButton* ok_;
};

// `pattern` ("Version %s, built %s") with the program's version and build date.
std::string VersionText(const std::string& pattern);
