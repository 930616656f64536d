#include "DialogService.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QVariant>

namespace {

constexpr const char* kServiceProperty = "velmoraDialogService";

class InteractiveDialogs final : public DialogService {
public:
    int MessageBox(QWidget* parent, const std::string& text, const std::string& caption,
                   unsigned style) override {
        using namespace MessageBoxStyle;
        QMessageBox box(parent);
        box.setText(QString::fromStdString(text));
        box.setWindowTitle(QString::fromStdString(caption));
        switch (style & kIconMask) {
        case kIconError:
            box.setIcon(QMessageBox::Critical);
            break;
        case kIconQuestion:
            box.setIcon(QMessageBox::Question);
            break;
        case kIconWarning:
            box.setIcon(QMessageBox::Warning);
            break;
        case kIconInformation:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
        }
        const bool second = (style & kDefaultButton2) != 0;
        switch (style & kButtonMask) {
        case kYesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(second ? QMessageBox::No : QMessageBox::Yes);
            return box.exec() == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
        case kYesNoCancel: {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Yes);
            const int answer = box.exec();
            return answer == QMessageBox::Yes  ? kAnswerYes
                   : answer == QMessageBox::No ? kAnswerNo
                                               : kAnswerCancel;
        }
        case kRetryCancel:
            box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
            box.setDefaultButton(second ? QMessageBox::Cancel : QMessageBox::Retry);
            return box.exec() == QMessageBox::Retry ? kAnswerRetry : kAnswerCancel;
        case kOkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(second ? QMessageBox::Cancel : QMessageBox::Ok);
            return box.exec() == QMessageBox::Ok ? kAnswerOk : kAnswerCancel;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            box.exec();
            return kAnswerOk;
        }
    }
    std::string GetOpenFileName(QWidget* parent, const std::string& caption,
                                const std::string& directory, const std::string& filter) override {
        return QFileDialog::getOpenFileName(parent, QString::fromStdString(caption),
                                            QString::fromStdString(directory),
                                            QString::fromStdString(filter))
            .toStdString();
    }
    std::string GetSaveFileName(QWidget* parent, const std::string& caption,
                                const std::string& directory, const std::string& filter) override {
        return QFileDialog::getSaveFileName(parent, QString::fromStdString(caption),
                                            QString::fromStdString(directory),
                                            QString::fromStdString(filter))
            .toStdString();
    }
};

// Each plug-in carries its own copy of this file; the application object is
// the one place they all share, so the installed service is kept there.
DialogService* Installed() {
    if (QCoreApplication* app = QCoreApplication::instance())
        return static_cast<DialogService*>(app->property(kServiceProperty).value<void*>());
    return nullptr;
}

} // namespace

DialogService& Dialogs() {
    static InteractiveDialogs interactive;
    DialogService* service = Installed();
    return service != nullptr ? *service : interactive;
}

void InstallDialogService(DialogService* service) {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->setProperty(kServiceProperty, QVariant::fromValue(static_cast<void*>(service)));
}
