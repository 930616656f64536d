// Draws the program's pictures: the application icon (Image.ico) and the
// about-box picture (Image.Bmp), and the menu icon of the package. Run once
// when the artwork changes:
//   velmora-make-images data/Image packaging
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

namespace {

const QColor kNavy(24, 40, 82);
const QColor kTeal(0, 150, 160);
const QColor kAmber(255, 176, 32);

// A damped sine: the step response a drive shows while it is tuned.
QPainterPath StepResponse(QRectF box) {
    QPainterPath path;
    for (int i = 0; i <= 200; ++i) {
        const double t = i / 200.0;
        const double y = 1.0 - std::exp(-5.0 * t) * std::cos(18.0 * t);
        const QPointF p(box.left() + t * box.width(), box.bottom() - y * 0.5 * box.height());
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    return path;
}

QImage Icon() {
    QImage image(256, 256, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 256);
    fill.setColorAt(0, kNavy.lighter(140));
    fill.setColorAt(1, kNavy);
    p.setBrush(fill);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);
    // The motor shaft: a ring with a key.
    p.setPen(QPen(kTeal, 14));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(128, 128), 82, 82);
    p.setPen(QPen(kAmber, 12, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(StepResponse(QRectF(56, 70, 144, 116)));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(128, 128), 10, 10);
    return image;
}

QImage AboutPicture() {
    QImage image(360, 140, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 360, 0);
    fill.setColorAt(0, kNavy);
    fill.setColorAt(1, kNavy.lighter(170));
    p.fillRect(image.rect(), fill);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    for (int x = 0; x < 360; x += 20)
        p.drawLine(x, 0, x, 140);
    for (int y = 0; y < 140; y += 20)
        p.drawLine(0, y, 360, y);
    p.setPen(QPen(kAmber, 3));
    p.drawPath(StepResponse(QRectF(16, 30, 328, 100)));
    p.drawImage(QRectF(18, 14, 56, 56), Icon());
    QFont font("DejaVu Sans", 26, QFont::Bold);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(88, 14, 260, 40), Qt::AlignLeft | Qt::AlignVCenter, "Velmora");
    font.setPointSize(10);
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRectF(90, 52, 260, 20), Qt::AlignLeft | Qt::AlignVCenter,
               "servo drive commissioning");
    return image;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? argv[1] : ".";
    bool ok =
        Icon().save(dir + "/Image.ico", "ICO") && AboutPicture().save(dir + "/Image.Bmp", "BMP");
    // The desktop menu's icon of the installed program (packaging/velmora.png).
    if (argc > 2)
        ok = Icon().save(QString(argv[2]) + "/velmora.png", "PNG") && ok;
    std::printf("%s\n", ok ? "pictures written" : "could not write the pictures");
    return ok ? 0 : 1;
}
