// CScopeArray::Plot: one channel as a 1-pixel polyline.
#include "ScopeArray.h"

#include <QPainter>

void CScopeArray::Plot(QPainter* dc, QRect rect, unsigned long colour, int type, double scale) {
    const int width = rect.width(), height = rect.height();
    const double span = items[static_cast<std::size_t>((ahead + size - 1) % size)].time;
    // Without a time span or a scale there is no picture to map onto.
    if (dc == nullptr || span <= 0 || scale == 0 || width <= 0 || height <= 0)
        return;
    const int channel = type & ~kMarkPoints;
    const bool mark = (type & kMarkPoints) != 0;
    const QColor trace(int(colour & 0xFF), int(colour >> 8 & 0xFF), int(colour >> 16 & 0xFF));

    dc->save();
    dc->setRenderHint(QPainter::Antialiasing, false);
    dc->setClipRect(rect);
    dc->translate(rect.topLeft());
    const auto markPoint = [&](int x, int y) {
        dc->setPen(QPen(Qt::white, 1));
        for (const QPoint& corner : {QPoint(-1, -1), QPoint(1, -1), QPoint(-1, 1), QPoint(1, 1)})
            dc->drawPoint(QPoint(x, y) + corner);
        dc->setPen(QPen(trace, 1));
    };
    dc->setPen(QPen(trace, 1));
    for (int i = 0, index = ahead; i < size; ++i, index = Next(index)) {
        const Sample& s = items[static_cast<std::size_t>(index)];
        const double value = channel >= 0 && channel <= 2 ? s.channel[channel] : 0;
        const int x = static_cast<int>(s.time * width / span);
        int y = static_cast<int>(height / 2 - value * height / scale);
        if (y >= height)
            y = height - 3;
        else if (y <= 0)
            y = 2;
        if (i > 0 && x == lastX && y == lastY)
            continue;
        if (i > 0)
            dc->drawLine(lastX, lastY, x, y);
        lastX = x;
        lastY = y;
        if (mark)
            markPoint(x, y);
    }
    dc->restore();
}
