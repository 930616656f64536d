#include "PenQ.h"

#include <QPainter>

QPen CPenQ::MakePen(Style style, int width, const QColor& colour) {
    QPen pen(colour);
    // One-pixel pens stay cosmetic: wider pens cost the raster engine dearly.
    pen.setWidth(width <= 1 ? 0 : width);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    switch (style) {
    case Solid:
        break;
    case Alternate:
        pen.setDashPattern({1.0, 1.0});
        break;
    case DashDot:
        pen.setDashPattern({6.0, 3.0, 1.0, 3.0});
        break;
    }
    return pen;
}

CPenQ::CPenQ(QPainter* dc, Style style, int width, const QColor& colour)
    : dc_(dc), previous_(dc->pen()) {
    dc->setPen(MakePen(style, width, colour));
}

CPenQ::~CPenQ() {
    if (dc_)
        dc_->setPen(previous_);
}

void CPenQ::ModifyPen(QPainter* dc, Style style, int width, const QColor& colour) {
    if (dc_ && dc_ != dc)
        dc_->setPen(previous_);
    if (dc_ != dc)
        previous_ = dc->pen();
    dc_ = dc;
    dc->setPen(MakePen(style, width, colour));
}

void CPenQ::ClosePen(QPainter* dc) {
    if (dc_ == dc) {
        dc->setPen(previous_);
        dc_ = nullptr;
    }
}
