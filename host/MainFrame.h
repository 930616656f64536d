// The host's main window: an MDI frame with menu 128, a status bar and a 10 ms
// timer that carries out the requests plug-ins post through the context.
#pragma once

#include "SharedContext.h"
#include "StringResource.h"

#include <QMainWindow>
#include <QTimer>
#include <map>

class QActionGroup;
class QLabel;
class QMdiArea;
class QMenu;

// What the frame hands on to the application object.
class FrameCommands {
public:
    virtual void OnCommand(int commandId) = 0;
    virtual bool SaveAllModified() = 0;

protected:
    ~FrameCommands() = default;
};

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(SharedContext& ctx, CStringResource& hostTable, FrameCommands& commands);
    ~CMainFrame() override;

    // Re-labels the menu from the host table of `languageId`, moves the radio
    // check, spreads the id to every plug-in and refreshes the enable states.
    void ApplyLanguage(int languageId);

    // One tick of timer 1 (public so tests can drive it).
    void OnTimer();

    // The frame-title update: language, then a pending "open the parameter
    // editor" request.
    void OnUpdateFrameTitle();

    QMdiArea* MdiArea() const { return mdiArea_; }
    QAction* Action(int commandId) const;
    QMenu* Popup(int position) const;

    static constexpr int kTopLevelItems = 11;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenu();
    void BuildStatusBar();
    void ApplyEnableStates();
    void ServeEditorRequest();
    void ArrangeIcons();
    void PublishClientSize();
    void FitSubWindows();
    QAction* AddCommand(QMenu* menu, int commandId);

    SharedContext& ctx_;
    CStringResource& hostTable_;
    FrameCommands& commands_;
    QMdiArea* mdiArea_ = nullptr;
    QMenu* popups_[kTopLevelItems]{};
    std::map<int, QAction*> actions_;
    QActionGroup* languageGroup_ = nullptr;
    QLabel* messagePane_ = nullptr;
    QTimer timer_;
    int appliedMenuFlags_ = -1;
};
