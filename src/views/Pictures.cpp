#include "views/Pictures.h"

#include "core/Paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>

QPixmap LoadPicture(const QString& name, qreal devicePixelRatio, QSize fallbackSize, QString* error)
{
    const QString path = ProgramDataPath(QStringLiteral("Images/") + name);
    if (devicePixelRatio > 1.0) {
        const QFileInfo info(path);
        const QString hiDpi = info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("@2x.")
            + info.suffix();
        QPixmap sharp;
        if (sharp.load(hiDpi)) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    QPixmap picture;
    if (picture.load(path))
        return picture;
    if (error)
        *error = QCoreApplication::translate("Pictures", "The picture \"%1\" could not be loaded.").arg(path);
    QPixmap blank(fallbackSize);
    blank.fill(Qt::white);
    QPainter painter(&blank);
    painter.setPen(Qt::lightGray);
    painter.drawRect(blank.rect().adjusted(0, 0, -1, -1));
    return blank;
}

QString BoardPictureName(InstrumentType instrument, FretboardStyle style)
{
    switch (instrument) {
    case InstrumentType::Guitar:
        return style == FretboardStyle::Realistic ? QStringLiteral("Fretboard.gif")
                                                  : QStringLiteral("FretboardSimple.jpg");
    case InstrumentType::FourStringBass:
        return QStringLiteral("FretboardSimpleBass.jpg");
    case InstrumentType::FiveStringBass:
        return QStringLiteral("FretboardSimpleBassFive.jpg");
    }
    return QString();
}
