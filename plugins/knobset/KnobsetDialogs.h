// The editor's own dialogs: the progress box, the source choice for off-line
// editing and the edit dialog of one parameter. Every one runs through
// RunModal, which tests (and scripted runs) can answer.
#pragma once

#include "PluginModule.h"

#include <QDialog>
#include <QTimer>
#include <atomic>
#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QRadioButton;

namespace knobset {

// Runs `dialog` modally, or hands it to the installed answerer, which returns
// the dialog's result (or -1 to let it run as usual).
int RunModal(QDialog& dialog);
void InstallModalAnswerer(std::function<int(QDialog&)> answerer);

// Asks for a path to write a file of the kind `extension` (".tw", ".csv"),
// proposing `lastPath` with that extension and adding it when the user typed
// none. Empty when the user cancelled, or declined the question `replaceQuestion`
// about replacing an existing file of another kind.
std::string AskPathToWrite(QWidget* parent, PluginModule& module, const std::string& title,
                           const std::string& lastPath, const char* extension, const char* filter,
                           unsigned replaceQuestion);

// CPrgs: a message and a bar that follows a counter until `done` is set.
class CPrgs : public QDialog {
    Q_OBJECT
public:
    CPrgs(const QString& message, int range, const QColor& text, const QColor& background,
          const std::atomic<int>& progress, const std::atomic<int>& done, QWidget* parent);
    int Position() const;

private:
    void Tick();
    const std::atomic<int>& progress_;
    const std::atomic<int>& done_;
    QProgressBar* bar_;
    QTimer timer_;
};

// CSelParmSrc: load the values from a file (true) or the defaults (false).
class CSelParmSrc : public QDialog {
    Q_OBJECT
public:
    CSelParmSrc(PluginModule& module, QWidget* parent);
    bool FileChosen() const;
    QRadioButton* fileButton;
    QRadioButton* defaultButton;
};

// CParmInput: the new setup value and comment of one parameter.
class CParmInput : public QDialog {
    Q_OBJECT
public:
    CParmInput(PluginModule& module, const ParmRecord* record, int model, bool online,
               QWidget* parent);
    int Value() const { return value_; }
    std::string Comment() const;
    QLineEdit* valueEdit = nullptr;
    QLineEdit* commentEdit = nullptr;
    QLabel* refusalLabel = nullptr; // shown when the value is refused
    bool refused = false;           // a reserved parameter: the dialog closes at once

private:
    void Confirm();
    PluginModule& module_;
    const ParmRecord* record_;
    bool online_;
    int value_ = 0;
};

} // namespace knobset
