#include "app/ProgramArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>

namespace {

QPixmap BlankPixmap(int size, qreal dpr)
{
    QPixmap pixmap(QSize(size, size) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Drawing happens on a 100 x 100 canvas scaled to the requested size.
void ScaleToCanvas(QPainter& painter, int size)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 100.0, size / 100.0);
}

void DrawWood(QPainter& painter, const QRectF& board)
{
    QLinearGradient wood(board.topLeft(), board.bottomLeft());
    wood.setColorAt(0.0, QColor(0x6b, 0x3a, 0x1f));
    wood.setColorAt(0.5, QColor(0x4a, 0x26, 0x12));
    wood.setColorAt(1.0, QColor(0x33, 0x19, 0x0b));
    QPainterPath outline;
    outline.addRoundedRect(board, 18, 18);
    painter.fillPath(outline, wood);
    painter.setPen(QPen(QColor(0x22, 0x10, 0x06), 2));
    painter.drawPath(outline);
    painter.setClipPath(outline);
}

void DrawFretsAndStrings(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xe8, 0xe0, 0xc8));
    painter.drawEllipse(QPointF(50, 50), 5, 5); // position inlay
    for (const qreal x : {22.0, 50.0 - 14, 50.0 + 14, 78.0}) {
        QLinearGradient fret(QPointF(x - 2, 0), QPointF(x + 2, 0));
        fret.setColorAt(0.0, QColor(0x9a, 0x9a, 0x9a));
        fret.setColorAt(0.5, QColor(0xf4, 0xf4, 0xf4));
        fret.setColorAt(1.0, QColor(0x80, 0x80, 0x80));
        painter.fillRect(QRectF(x - 2, 0, 4, 100), fret);
    }
    for (int string = 0; string < 6; ++string) {
        const qreal y = 18 + string * 12.8;
        painter.setPen(QPen(QColor(0xd8, 0xd0, 0xb8), 0.8 + (5 - string) * 0.35));
        painter.drawLine(QPointF(0, y), QPointF(100, y));
    }
}

void DrawMarkedNote(QPainter& painter)
{
    const QPointF centre(64, 56.4);
    QRadialGradient glow(centre - QPointF(3, 3), 12);
    glow.setColorAt(0.0, QColor(0xff, 0xc8, 0x5a));
    glow.setColorAt(1.0, QColor(0xe0, 0x5a, 0x10));
    painter.setPen(QPen(QColor(0x5a, 0x1c, 0x00), 1.5));
    painter.setBrush(glow);
    painter.drawEllipse(centre, 10, 10);
}

} // namespace

QPixmap DrawProgramIcon(int size, qreal dpr)
{
    QPixmap pixmap = BlankPixmap(size, dpr);
    QPainter painter(&pixmap);
    ScaleToCanvas(painter, size);
    DrawWood(painter, QRectF(4, 4, 92, 92));
    DrawFretsAndStrings(painter);
    DrawMarkedNote(painter);
    return pixmap;
}

QPixmap DrawTipPicture(int size, qreal dpr)
{
    QPixmap pixmap = BlankPixmap(size, dpr);
    QPainter painter(&pixmap);
    ScaleToCanvas(painter, size);

    painter.setPen(QPen(QColor(0xf2, 0xb4, 0x00), 3, Qt::SolidLine, Qt::RoundCap));
    constexpr std::array<QLineF, 5> rays = {QLineF(50, 2, 50, 10), QLineF(18, 14, 24, 20),
                                            QLineF(82, 14, 76, 20), QLineF(6, 42, 14, 42),
                                            QLineF(94, 42, 86, 42)};
    for (const QLineF& ray : rays)
        painter.drawLine(ray);

    QRadialGradient glass(QPointF(44, 34), 30);
    glass.setColorAt(0.0, QColor(0xff, 0xfb, 0xd6));
    glass.setColorAt(0.6, QColor(0xff, 0xe0, 0x5c));
    glass.setColorAt(1.0, QColor(0xf0, 0xb0, 0x00));
    QPainterPath bulb;
    bulb.moveTo(38, 70);
    bulb.cubicTo(38, 60, 22, 54, 22, 40);
    bulb.cubicTo(22, 24, 35, 14, 50, 14);
    bulb.cubicTo(65, 14, 78, 24, 78, 40);
    bulb.cubicTo(78, 54, 62, 60, 62, 70);
    bulb.closeSubpath();
    painter.setPen(QPen(QColor(0x9a, 0x6a, 0x00), 2));
    painter.setBrush(glass);
    painter.drawPath(bulb);

    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.5));
    painter.setBrush(QColor(0xb8, 0xb8, 0xb8));
    for (int band = 0; band < 3; ++band)
        painter.drawRoundedRect(QRectF(37, 71 + band * 7, 26, 6), 2, 2);
    painter.setBrush(QColor(0x55, 0x55, 0x55));
    painter.drawRoundedRect(QRectF(43, 92, 14, 5), 2, 2);
    return pixmap;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(DrawProgramIcon(size));
    return icon;
}
