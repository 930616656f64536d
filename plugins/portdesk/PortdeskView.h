// The communication-setup window: the "On-Line" page (search for a drive) and
// the "Off-Line" page (pick a drive version), the main and the Cancel button,
// and the two progress bars of a running search.
#pragma once

#include "DLLView.h"
#include "PortdeskApp.h"

class PortComboBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabBar;

class CPortdeskView final : public CDLLView {
    Q_OBJECT
public:
    CPortdeskView(PluginModule& module, CPortdeskApp& app);
    ~CPortdeskView() override;

    // The buttons, invocable by name so tests and scripts can press them even
    // while a button is greyed.
    Q_INVOKABLE void OnMainButton();
    Q_INVOKABLE void OnCancel();

protected:
    void OnLanguageChanged() override;
    void OnTimerTick() override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BuildOnlinePage();
    void BuildOfflinePage();
    void ApplyTexts();
    void ApplyTitle();
    void ShowPage(int page);
    void OnConnect();
    void OnOfflineOk();
    void ShowSearchResult();
    void SetSearchControlsEnabled(bool enabled);
    void ShowCurrentDevice();
    void ChoosePortByPath();
    void CloseOwnWindow();
    int Message(const std::string& text, unsigned style);

    CPortdeskApp& app_;
    QFrame* tabFrame_;
    QTabBar* tabs_;
    QWidget* pages_[2];
    QGroupBox* onlineFrame_;
    QLabel* portLabel_;
    PortComboBox* portList_;
    QLabel* deviceLabel_;
    QLineEdit* portField_;
    QLabel* formatLabel_;
    QComboBox* formatList_;
    QLabel* idLabel_;
    QComboBox* idList_;
    QLineEdit* idField_;
    QProgressBar* comboProgress_;
    QProgressBar* formatProgress_;
    QGroupBox* offlineFrame_;
    QLabel* versionLabel_;
    QComboBox* versionList_;
    QPushButton* mainButton_;
    QPushButton* cancelButton_;
    int chosenPort_ = 0; // the port entry to return to when picking by path is cancelled
};
