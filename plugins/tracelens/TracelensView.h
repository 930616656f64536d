// The scope's view for now: it publishes the chart area with a redraw request
// every 47 ms and shows the picture the capture cycle hands over, with the
// capture status in one line. The panels come with the scope window.
#pragma once

#include "DLLView.h"

#include <QImage>
#include <QTimer>

namespace tracelens {

class CTracelensApp;

class CTracelensView : public CDLLView {
    Q_OBJECT
public:
    CTracelensView(PluginModule& module, CTracelensApp& app);
    ~CTracelensView() override;

    // One 47 ms tick (public so tests drive it).
    void OnPublishTick();
    QString StatusText() const;

protected:
    void OnLanguageChanged() override;
    void paintEvent(QPaintEvent* event) override;

private:
    CTracelensApp& app_;
    QImage picture_;
    QTimer publishTimer_;
};

} // namespace tracelens
