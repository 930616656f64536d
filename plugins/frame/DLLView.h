// The base of every plug-in's tool window (the form view). It carries the
// duties all tools share: the view-exists flag, the menu bits on open and
// close, and the language timer.
#pragma once

#include "PluginModule.h"

#include <QTimer>
#include <QWidget>

class CDLLView : public QWidget {
    Q_OBJECT
public:
    explicit CDLLView(PluginModule& module, QWidget* parent = nullptr);
    ~CDLLView() override;

    // One tick of the 10 ms window timer (public so tests can drive it).
    void OnTimer();

protected:
    // The language table changed: re-label every control.
    virtual void OnLanguageChanged() {}
    // The tool's own duties on the window timer.
    virtual void OnTimerTick() {}

    PluginModule& Module() const { return module_; }
    SharedContext& Context() const { return *module_.Context(); }

private:
    PluginModule& module_;
    QTimer timer_;
};
