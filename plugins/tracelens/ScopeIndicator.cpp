#include "ScopeIndicator.h"

#include <QPainter>

namespace tracelens {

namespace {
struct Colours {
    QColor text, face, edge;
};
const Colours kLooks[] = {
    {QColor(200, 200, 200), QColor(16, 30, 16), QColor(0, 16, 0)}, // idle
    {QColor(20, 20, 20), QColor(0, 255, 0), QColor(0, 245, 0)},    // active
    {QColor(55, 0, 0), QColor(255, 128, 0), QColor(255, 100, 0)},  // alarm
};
constexpr int kEdge = 2;
} // namespace

ScopeIndicator::ScopeIndicator(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setMargin(4);
    setMinimumWidth(70);
}

void ScopeIndicator::Show(const QString& text, Look look) {
    look_ = look;
    setText(text);
    update();
}

void ScopeIndicator::paintEvent(QPaintEvent*) {
    const Colours& colours = kLooks[look_];
    QPainter painter(this);
    painter.fillRect(rect(), colours.edge);
    painter.fillRect(rect().adjusted(kEdge, kEdge, -kEdge, -kEdge), colours.face);
    painter.setPen(colours.text);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
}

} // namespace tracelens
