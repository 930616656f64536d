// Message boxes and file dialogs of the host and every plug-in go through one
// service, so tests (and scripted demos) can answer them. The service lives on
// the application object, which host and plug-ins share, so a service
// installed by the host or a test reaches every plug-in too.
#pragma once

#include <string>

class QWidget;

// Buttons, icons and default button of a message box, and its answers.
namespace MessageBoxStyle {
constexpr unsigned kOk = 0x00;
constexpr unsigned kOkCancel = 0x01;
constexpr unsigned kYesNoCancel = 0x03;
constexpr unsigned kYesNo = 0x04;
constexpr unsigned kRetryCancel = 0x05;
constexpr unsigned kIconError = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconWarning = 0x30;
constexpr unsigned kIconInformation = 0x40;
constexpr unsigned kDefaultButton2 = 0x100;
constexpr unsigned kButtonMask = 0x0F;
constexpr unsigned kIconMask = 0xF0;
} // namespace MessageBoxStyle

enum DialogAnswer : int {
    kAnswerOk = 1,
    kAnswerCancel = 2,
    kAnswerRetry = 4,
    kAnswerYes = 6,
    kAnswerNo = 7
};

class DialogService {
public:
    virtual ~DialogService() = default;
    virtual int MessageBox(QWidget* parent, const std::string& text, const std::string& caption,
                           unsigned style) = 0;
    // The chosen path, or empty when the user cancelled. `filter` is in the
    // form "Parameter files (*.par);;All files (*)".
    virtual std::string GetOpenFileName(QWidget* parent, const std::string& caption,
                                        const std::string& directory,
                                        const std::string& filter) = 0;
    virtual std::string GetSaveFileName(QWidget* parent, const std::string& caption,
                                        const std::string& directory,
                                        const std::string& filter) = 0;
};

// The installed service, or the interactive one built on Qt's dialogs.
DialogService& Dialogs();

// Installs `service` for the whole program (null restores the interactive
// one). The caller keeps ownership and must outlive its installation.
void InstallDialogService(DialogService* service);
