#include "views/StaffPicture.h"

#include <QPainter>

QPixmap DrawStaffPicture(QSize size, qreal devicePixelRatio, QRectF work, bool bassClef, const MusicSigns& signs)
{
    QPixmap picture(QSize(qRound(size.width() * devicePixelRatio), qRound(size.height() * devicePixelRatio)));
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::white);
    if (work.isEmpty())
        return picture;
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const double space = work.height() / 4;
    const double unit = space / 20; // the staff space is 20 pixels at its smallest
    p.setPen(QPen(Qt::black, 1.2 * unit));
    for (int line = 0; line < 5; ++line)
        p.drawLine(QPointF(work.left(), work.top() + line * space), QPointF(work.right(), work.top() + line * space));
    p.drawLine(work.topLeft(), work.bottomLeft());
    p.drawLine(work.topRight(), work.bottomRight());
    signs.Draw(p, bassClef ? MusicSign::BassClef : MusicSign::TrebleClef, work.topLeft(), unit);
    return picture;
}

void DrawPromptFrame(QPainter& p, QRectF box, int frame, const MusicSigns& signs)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.topLeft());
    p.scale(box.width() / kPromptBaseSize.width(), box.height() / kPromptBaseSize.height());
    p.fillRect(QRectF(QPointF(0, 0), QSizeF(kPromptBaseSize)), Qt::white);
    p.setPen(QPen(QColor(30, 90, 170), 2));
    p.setBrush(QColor(230, 240, 252));
    p.drawRoundedRect(QRectF(3, 3, 100, 115), 14, 14);
    signs.Draw(p, MusicSign::Note, QPointF(0, 0), 1);
    for (int wave = 0; wave < 3; ++wave) {
        const int alpha = wave <= frame ? 255 : 40;
        p.setPen(QPen(QColor(30, 90, 170, alpha), 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        const double r = 14 + wave * 11;
        p.drawArc(QRectF(52 - r, 60 - r, 2 * r, 2 * r), -40 * 16, 80 * 16);
    }
    p.restore();
}
