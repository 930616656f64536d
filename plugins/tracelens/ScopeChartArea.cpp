#include "ScopeChartArea.h"

#include "ScopeInput.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace tracelens {

namespace {
bool ControlDown(const QInputEvent* event) {
    return (event->modifiers() & Qt::ControlModifier) != 0;
}
} // namespace

ScopeChartArea::ScopeChartArea(ScopeInput& input, QWidget* parent)
    : QWidget(parent), input_(input) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(320, 240);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ScopeChartArea::SetPicture(const QImage& picture) {
    picture_ = picture;
    ++picturesShown_;
    update();
}

void ScopeChartArea::ShowZoomCursor(bool zoom) {
    setCursor(zoom ? Qt::CrossCursor : Qt::ArrowCursor);
}

void ScopeChartArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
    // Until the cycle has drawn at the new size, the rest stays black.
    if (picture_.width() < width())
        painter.fillRect(picture_.width(), 0, width() - picture_.width(), height(), Qt::black);
    if (picture_.height() < height())
        painter.fillRect(0, picture_.height(), width(), height() - picture_.height(), Qt::black);
}

void ScopeChartArea::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    input_.MouseMove(at.x(), at.y(), ControlDown(event));
}

void ScopeChartArea::mousePressEvent(QMouseEvent* event) {
    mouseMoveEvent(event);
    emit Pressed();
    if (event->button() == Qt::LeftButton) {
        input_.LeftDown(ControlDown(event));
    } else if (event->button() == Qt::RightButton) {
        if (input_.RightDown()) {
            ShowZoomCursor(false);
            emit ZoomToolsOff();
        }
    }
}

void ScopeChartArea::mouseReleaseEvent(QMouseEvent* event) {
    mouseMoveEvent(event);
    if (event->button() == Qt::LeftButton)
        input_.LeftUp();
    else if (event->button() == Qt::RightButton)
        input_.RightUp();
}

void ScopeChartArea::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        input_.LeftDoubleClick();
    else if (event->button() == Qt::RightButton)
        input_.RightDoubleClick();
}

void ScopeChartArea::wheelEvent(QWheelEvent* event) {
    input_.Wheel(event->angleDelta().y());
}

} // namespace tracelens
