// Draws the application icon as 32 x 32 and 16 x 16 PNGs with the shapes of korzenik.svg, so the
// bitmaps need no SVG renderer. Run once after changing the design:
//   cmake --build <dir> --target korzenik-make-icons && <dir>/qt/korzenik-make-icons qt/icons
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <cstdio>

namespace {

// One drawing in the SVG's 32-unit coordinates, scaled to the requested size.
QImage drawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    // Small sizes get slightly heavier strokes so the lines survive the scaling.
    const double weight = size < 32 ? 1.3 : 1.0;

    p.setPen(QPen(QColor(0x34, 0x49, 0x5e), 1.5 * weight));
    p.setBrush(QColor(0xfd, 0xfc, 0xf5));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 4, 4);

    p.setPen(QPen(QColor(0x8c, 0x8c, 0x8c), 1.5 * weight));
    p.drawLine(QPointF(4, 19), QPointF(28, 19));

    QPainterPath curve(QPointF(5, 26));
    curve.cubicTo(QPointF(15, 27.5), QPointF(24, 20), QPointF(27, 5));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xd4, 0x20, 0x20), 2.5 * weight, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(curve);

    p.setPen(QPen(QColor(0x1f, 0x4f, 0xd8), 1.75 * weight, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 26), QPointF(27, 5));

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4f, 0xd8));
    p.drawEllipse(QPointF(12.33, 19), 2.25, 2.25);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    for (int size : {16, 32}) {
        const QString path = dir + QStringLiteral("/korzenik-%1.png").arg(size);
        if (!drawIcon(size).save(path)) {
            std::fprintf(stderr, "korzenik-make-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
