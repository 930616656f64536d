// The monitor's window: four lists (Motion, Status, Input and Output
// signals) with "Select All" / "Cancel All" each, "Open com" / "Stop com",
// the mode selectors of the pin names and the "Clear" menu of Motion rows.
// The poll step runs on the comm thread; the 10 ms timer shows its values.
#pragma once

#include "DLLView.h"
#include "MonitorData.h"

#include <QString>
#include <array>
#include <vector>

class CListCtrlEx;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;

namespace monitor {

class CMonitorApp;

class CMonitorView : public CDLLView {
    Q_OBJECT
public:
    explicit CMonitorView(CMonitorApp& app);
    ~CMonitorView() override;

    // Commands (public so tests and scripted runs drive them).
    void OnOpenCom();
    void OnStopCom();
    void SetAllTicks(int group, bool ticked);
    void SetPinMode(int group, int mode); // group kInput or kOutput, mode 0..3
    // The "Clear" command on a Motion row; false when the row cannot be cleared.
    bool ClearRow(int row);
    // The actions of the context menu of a Motion row (only "Clear" when the
    // item may be cleared).
    QStringList MenuFor(int row) const;

    CListCtrlEx* List(int group) const { return lists_[group]; }
    QPushButton* OpenButton() const { return open_; }
    QPushButton* StopButton() const { return stop_; }
    QString Notice() const;
    QSize sizeHint() const override;

protected:
    void OnLanguageChanged() override;
    void OnTimerTick() override;

private:
    void BuildForm();
    QGroupBox* BuildList(int group);
    void FillLists();
    void ApplyLanguage();
    void SizeColumns(int group);
    void CopyTicks();
    void ShowValues();
    QString ValueText(int group, int row) const;
    void ShowMenu(const QPoint& at);
    void ShowMonitoring(bool on);
    QString Text(unsigned id) const;

    CMonitorApp& app_;
    std::array<CListCtrlEx*, kGroups> lists_{};
    std::array<QGroupBox*, kGroups> boxes_{};
    std::array<std::array<QPushButton*, 2>, kGroups> selectButtons_{};
    std::array<QButtonGroup*, kGroups> modeGroups_{};
    std::array<int, kGroups> pinMode_{};
    std::array<std::vector<QString>, kGroups> shown_; // the texts on screen
    QPushButton* open_ = nullptr;
    QPushButton* stop_ = nullptr;
    QLabel* notice_ = nullptr;
    unsigned noticeId_ = 0;
};

} // namespace monitor
