// A chart with a window of a given size, drawn into an image on demand, and
// the samples a buffer shows.
#pragma once

#include "ChartPlot.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <vector>

inline const QColor kYellow(255, 255, 0);
inline const QColor kMagenta(255, 0, 255);
inline const QColor kLightBlue(0, 195, 255);
inline const QColor kGreen(0, 255, 0);

// Pixels of a colour inside a rectangle of an image.
inline int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

// The saturated window of a buffer, oldest sample first.
inline std::vector<long> SatWindow(const CCirBuf& buf) {
    std::vector<long> out;
    for (int i = 0; i < buf.GetSatValidLen(); ++i)
        out.push_back(buf.SatGet(i));
    return out;
}

class ChartTest : public ::testing::Test {
protected:
    void Window(int width, int height, int left = 0, int top = 0) {
        wnd = ChartRect{left, top, left + width, top + height};
        chart.SetWndSize(&wnd);
    }

    QImage Draw() {
        QImage image(wnd.right, wnd.bottom, QImage::Format_RGB32);
        image.fill(Qt::darkGray);
        QPainter painter(&image);
        chart.PlotAll(&painter);
        return image;
    }

    // Mouse at the column of a range sample and a window-relative row.
    void MouseAt(int sample, int row, int wheel = 0) {
        QPoint at(wnd.left + chart.GridX_toCoordX(sample), wnd.top + row);
        chart.UpdateMouse(&at, wheel);
    }

    CChartPlot chart;
    ChartRect wnd;
};
