// The scope window: the chart with its readouts, the run buttons, the status
// and trigger indicators, the zoom tools and the tab control with the panels.
// Every 47 ms it publishes the request and the master records, shows the
// newest picture and reacts to the status the cycle published. It never
// touches the drive or the chart: the capture cycle does.
#pragma once

#include "DLLView.h"
#include "PanelSettings.h"
#include "ScopeInput.h"

#include <QTabWidget>
#include <QTimer>
#include <array>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace tracelens {

class CTracelensApp;
class CHzCur;
class CHzTime;
class CHzTrig;
class CVtCh;
class ScopeChartArea;
class ScopeIndicator;

class CTracelensView : public CDLLView {
    Q_OBJECT
public:
    // `startDir` is the program's working folder at start, where cd.dat is.
    CTracelensView(PluginModule& module, CTracelensApp& app, std::string startDir);
    ~CTracelensView() override;

    // One 47 ms tick (public so tests drive it).
    void OnPublishTick();
    void PressRun(RunButton button);
    void SelectZoomTool(ZoomTool tool);
    void RestoreZoom();
    QString StatusText() const;
    QSize sizeHint() const override;

    // For tests and the picture script.
    PanelSettings& Settings() { return settings_; }
    ScopeInput& Input() { return input_; }
    ScopeChartArea* Chart() const { return chart_; }
    QTabWidget* Tabs() const { return tabs_; }
    CVtCh* Vertical() const { return vertical_; }
    CHzTime* TimeBase() const { return time_; }
    CHzTrig* Trigger() const { return trigger_; }
    CHzCur* Cursors() const { return cursors_; }
    QPushButton* RunButtonOf(RunButton button) const;
    QPushButton* ZoomButton(ZoomTool tool) const;
    ScopeIndicator* StatusIndicator() const { return status_; }
    ScopeIndicator* TriggerIndicator() const { return trig_; }
    QLabel* Readout() const { return readout_; }

protected:
    void OnLanguageChanged() override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QWidget* BuildSide();
    // One line adds a panel as a tab; its texts follow the language.
    template <class Panel>
    Panel* AddPanel(Panel* panel, unsigned textId) {
        tabs_->addTab(panel, QString());
        const int index = tabs_->count() - 1;
        languageDuties_.push_back([this, panel, textId, index] {
            panel->ApplyLanguage();
            SetTabText(index, textId);
        });
        return panel;
    }
    void SetTabText(int index, unsigned textId);
    void LoadLists();
    void RefreshPanels();
    void ShowRunButtons();
    void ShowZoomButtons();
    void ApplyRules();
    void ReactToStatus();
    void ShowReadout();
    void FitSide();

    CTracelensApp& app_;
    std::string startDir_;
    PanelSettings settings_;
    ScopeInput input_;
    ScopeChartArea* chart_ = nullptr;
    QWidget* side_ = nullptr;
    std::array<QPushButton*, 4> run_{};
    std::array<QPushButton*, 4> zoom_{}; // both, time, value, restore
    ScopeIndicator* status_ = nullptr;
    ScopeIndicator* trig_ = nullptr;
    QLabel* readout_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    CVtCh* vertical_ = nullptr;
    CHzTime* time_ = nullptr;
    CHzTrig* trigger_ = nullptr;
    CHzCur* cursors_ = nullptr;
    std::vector<std::function<void()>> languageDuties_;
    std::array<int, 5> seenCounters_{};
    QTimer publishTimer_;
};

} // namespace tracelens
