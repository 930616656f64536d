// Selects a pen into a painter and puts the previous one back when done, so a
// drawing step leaves the painter as it found it.
#pragma once

#include <QColor>
#include <QPen>

class QPainter;

class CPenQ {
public:
    enum Style { Solid, Alternate /* every other pixel */, DashDot };

    CPenQ(QPainter* dc, Style style, int width, const QColor& colour);
    ~CPenQ();
    CPenQ(const CPenQ&) = delete;
    CPenQ& operator=(const CPenQ&) = delete;

    void ModifyPen(QPainter* dc, Style style, int width, const QColor& colour);
    void ClosePen(QPainter* dc);

    static QPen MakePen(Style style, int width, const QColor& colour);

private:
    QPainter* dc_ = nullptr;
    QPen previous_;
};
