// The chart area of the scope window: shows the picture the capture cycle
// drew and turns mouse and wheel input into request words. While a zoom
// tool is active the pointer is the zoom cursor.
#pragma once

#include <QImage>
#include <QWidget>

namespace tracelens {

class ScopeInput;

class ScopeChartArea : public QWidget {
    Q_OBJECT
public:
    ScopeChartArea(ScopeInput& input, QWidget* parent);
    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }
    // Pictures shown since the window opened.
    long PicturesShown() const { return picturesShown_; }
    // The pointer follows the zoom tools.
    void ShowZoomCursor(bool zoom);

signals:
    // A button went down in the chart: the keyboard focus leaves the panels.
    void Pressed();
    // A right press switched the zoom tools off.
    void ZoomToolsOff();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    ScopeInput& input_;
    QImage picture_;
    long picturesShown_ = 0;
};

} // namespace tracelens
