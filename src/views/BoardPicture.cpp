#include "views/BoardPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>

namespace {

// Geometry in board space, lengths in pixels of the board at its smallest (unit).
struct Drawing {
    QPainter& p;
    const BoardGeometry& g;
    BoardLook look;
    const QTransform& view;
    double unit;
    double width;
    double height;
};

void DrawWood(const Drawing& d, const QPolygonF& neck)
{
    QLinearGradient wood(0, 0, 0, d.height);
    wood.setColorAt(0.0, QColor(72, 42, 28));
    wood.setColorAt(0.5, QColor(96, 58, 36));
    wood.setColorAt(1.0, QColor(66, 38, 25));
    d.p.setPen(Qt::NoPen);
    d.p.setBrush(wood);
    d.p.drawPolygon(neck);
    // Grain: long thin streaks clipped to the neck, laid out on the smallest board.
    d.p.save();
    QPainterPath clip;
    clip.addPolygon(neck);
    d.p.setClipPath(clip);
    d.p.scale(d.width / kBoardBaseSize.width(), d.unit);
    QRandomGenerator random(7);
    for (int i = 0; i < 90; ++i) {
        const double y = random.bounded(kBoardBaseSize.height() * 1.0);
        const int shade = 40 + random.bounded(40);
        d.p.setPen(QPen(QColor(shade, shade / 2, shade / 3, 70), 0.6 + random.bounded(1.0)));
        const double x0 = random.bounded(kBoardBaseSize.width() * 1.0) - 100;
        d.p.drawLine(QPointF(x0, y), QPointF(x0 + 150 + random.bounded(250.0), y + random.bounded(3.0) - 1.5));
    }
    d.p.restore();
}

// Inlays are round and drawn where the view puts their fret, never mirrored.
void DrawInlays(const Drawing& d)
{
    const int strings = d.g.StringCount();
    const QColor colour = d.look.realistic ? QColor(226, 222, 210) : QColor(214, 208, 196);
    const double radius = (d.look.realistic ? 3.5 : 3.0) * d.unit;
    const auto inlay = [&](int column, double y) {
        const QPointF centre = d.view.map(QPointF((d.g.ColumnLeft(column) + d.g.ColumnLeft(column + 1)) / 2, y));
        QRadialGradient pearl(centre - QPointF(d.unit, d.unit), radius * 1.4);
        pearl.setColorAt(0, colour.lighter(125));
        pearl.setColorAt(1, colour);
        d.p.setBrush(d.look.realistic ? QBrush(pearl) : QBrush(colour));
        d.p.drawEllipse(centre, radius, radius);
    };
    d.p.save();
    d.p.resetTransform();
    d.p.setPen(Qt::NoPen);
    // Single dots between the middle strings, the double dot of fret 12 between the
    // outer pairs.
    const double middle = d.height / 2;
    const double gap = (d.g.StringY(1, d.width / 2) - d.g.StringY(strings, d.width / 2)) / (strings - 1);
    const double single = strings % 2 == 0 ? middle : middle + gap / 2;
    const double spread = (strings - 2) / 2.0 * gap;
    for (int fret : {3, 5, 7, 9})
        inlay(fret + 1, single);
    inlay(13, middle - spread);
    inlay(13, middle + spread);
    d.p.restore();
}

void DrawFrets(const Drawing& d, const QPolygonF& neck)
{
    d.p.save();
    QPainterPath clip;
    clip.addPolygon(neck);
    d.p.setClipPath(clip);
    const double u = d.unit;
    // The nut closes the open-string column.
    const double nut = d.g.ColumnLeft(2);
    d.p.setPen(Qt::NoPen);
    d.p.setBrush(d.look.realistic ? QColor(236, 226, 200) : QColor(40, 40, 40));
    d.p.drawRect(QRectF(nut - 2.5 * u, 0, 4 * u, d.height));
    for (int column = 3; column <= kFretPositions + 1; ++column) {
        const double x = d.g.ColumnLeft(column);
        if (d.look.realistic) {
            QLinearGradient wire(x - 1.5 * u, 0, x + 1.5 * u, 0);
            wire.setColorAt(0, QColor(140, 140, 145));
            wire.setColorAt(0.5, QColor(235, 235, 240));
            wire.setColorAt(1, QColor(120, 120, 125));
            d.p.setBrush(wire);
            d.p.drawRect(QRectF(x - 1.5 * u, 0, 3 * u, d.height));
        } else {
            d.p.setBrush(QColor(120, 120, 120));
            d.p.drawRect(QRectF(x - u, 0, 2 * u, d.height));
        }
    }
    d.p.restore();
}

void DrawStrings(const Drawing& d)
{
    const int strings = d.g.StringCount();
    // The shadow falls below the string on the screen, whichever way the board is turned.
    const double below = d.view.m22() < 0 ? -d.unit : d.unit;
    for (int s = 1; s <= strings; ++s) {
        const double thickness = (strings == 6 ? 2.4 - (s - 1) * 0.3 : 3.0 - (s - 1) * 0.35) * d.unit;
        const bool wound = strings == 6 ? s <= 3 : true;
        const QColor colour = d.look.realistic ? (wound ? QColor(205, 190, 160) : QColor(225, 225, 230))
                                               : QColor(90, 90, 90);
        const QPointF from(0, d.g.StringY(s, 0));
        const QPointF to(d.width, d.g.StringY(s, d.width));
        if (d.look.realistic) {
            d.p.setPen(QPen(QColor(20, 10, 5, 120), thickness + 1.2 * d.unit, Qt::SolidLine, Qt::FlatCap));
            d.p.drawLine(from + QPointF(0, below), to + QPointF(0, below));
        }
        d.p.setPen(QPen(colour, thickness, Qt::SolidLine, Qt::FlatCap));
        d.p.drawLine(from, to);
    }
}

} // namespace

BoardLook LookOf(InstrumentType instrument, FretboardStyle style)
{
    return BoardLook{instrument == InstrumentType::Guitar && style == FretboardStyle::Realistic};
}

QPixmap DrawBoardPicture(const BoardGeometry& geometry, BoardLook look, const QTransform& view,
                         qreal devicePixelRatio)
{
    const QSizeF size = geometry.Size();
    QPixmap picture(QSize(qRound(size.width() * devicePixelRatio), qRound(size.height() * devicePixelRatio)));
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(look.realistic ? QColor(38, 36, 40) : QColor(250, 246, 236));
    if (geometry.StringCount() < 2 || size.isEmpty())
        return picture;
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(view);
    const Drawing d{p, geometry, look, view, geometry.Unit(), size.width(), size.height()};
    // The neck is a little wider than the outer strings, following their taper.
    const double edge = (look.realistic ? 9 : 8) * d.unit;
    const int top = geometry.StringCount();
    const QPolygonF neck({QPointF(0, geometry.StringY(top, 0) - edge),
                          QPointF(d.width, geometry.StringY(top, d.width) - edge),
                          QPointF(d.width, geometry.StringY(1, d.width) + edge),
                          QPointF(0, geometry.StringY(1, 0) + edge)});
    if (look.realistic) {
        DrawWood(d, neck);
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 253, 247));
        p.drawPolygon(neck);
        p.setPen(QPen(QColor(150, 140, 120), d.unit));
        p.drawLine(neck[0], neck[1]);
        p.drawLine(neck[3], neck[2]);
    }
    DrawInlays(d);
    DrawFrets(d, neck);
    DrawStrings(d);
    return picture;
}
