// The parameter editor's window: command buttons, attribute legend, version
// label, the group list, the find field, the parameter list and the reference
// panel.
// Drive work is posted to the job routine; its outcome arrives on the timer.
#pragma once

#include "DLLView.h"

#include <QPushButton>
#include <array>
#include <string>
#include <vector>

class CListCtrlEx;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace knobset {

class CKnobsetApp;

class CKnobsetView : public CDLLView {
    Q_OBJECT
public:
    explicit CKnobsetView(CKnobsetApp& app);
    ~CKnobsetView() override;

    // Commands (public so tests and scripted runs drive them).
    void OnReadDrive();
    void OnTransToDrive();
    void OnWriteEeprom();
    void OnInitialize();
    void OnOpenFile();
    void OnSaveFile();
    void OnExport();
    void OnEditRow(int row);

    CListCtrlEx* List() const { return list_; }
    QListWidget* Groups() const { return groups_; }
    QLineEdit* Filter() const { return filter_; }
    QLabel* Reference() const { return reference_; }
    const std::vector<int>& RowNumbers() const { return rowNumbers_; }
    bool ParametersRead() const { return parametersRead_; }
    void SelectTab(int tab);
    void SelectRow(int row);
    bool Online() const;
    std::string LastPath() const { return lastPath_; }
    // Values changed since the last save, read or transfer.
    bool HasUnsavedChanges() const { return unsaved_; }
    // Wide enough for every column of the list beside the groups and the
    // reference panel.
    QSize sizeHint() const override;

signals:
    // The window closes itself (off-line start cancelled).
    void CloseRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void OnLanguageChanged() override;
    void OnTimerTick() override;

private:
    enum Button { kOpen, kSave, kRead, kTrans, kEeprom, kInit, kExport, kButtons };
    void BuildForm();
    void Start();
    void ApplyLanguage();
    void FillList();
    void ShowRowValue(int number, int value);
    QString NumberCell(const ParmRecord& record) const;
    void ShowReference();
    void FitGroupList();
    void SizeColumns();
    bool AskToSaveChanges();
    bool LoadTable();
    void PostWithProgress(int state);
    bool Guard(unsigned question);
    void HandleOutcome(int state, int result);
    bool OpenValueFile();
    void CloseSelf();
    int Model() const;
    std::string Text(unsigned id) const;
    int Box(unsigned textId, unsigned style, unsigned captionId = 276);

    CKnobsetApp& app_;
    std::array<QPushButton*, kButtons> buttons_{};
    QGroupBox* fileGroup_ = nullptr;
    QGroupBox* driveGroup_ = nullptr;
    std::array<QLabel*, 5> legend_{};
    QLabel* version_ = nullptr;
    QListWidget* groups_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QLabel* filterLabel_ = nullptr;
    CListCtrlEx* list_ = nullptr;
    QLabel* reference_ = nullptr;
    std::vector<int> rowNumbers_;
    int selectedRow_ = -1;
    int currentTab_ = 0;
    bool parametersRead_ = false;
    bool unsaved_ = false;
    bool inTimer_ = false;
    int editedNumber_ = -1;
    std::string descriptionPath_;
    std::string lastPath_;
    int referenceReads_ = 0;
};

} // namespace knobset
