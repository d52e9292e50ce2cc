#pragma once
// Loads the program's pictures from data/Images, the @2x version on HiDPI screens.

#include "music/Instrument.h"

#include <QPixmap>
#include <QSize>
#include <QString>

// name: e.g. "Sheet.jpg". On failure returns a plain pixmap of fallbackSize (so the
// views keep their geometry) and sets error to a sentence naming the missing file.
QPixmap LoadPicture(const QString& name, qreal devicePixelRatio, QSize fallbackSize, QString* error);

// The picture of an instrument's fretboard in a style; the basses have only the simple one.
QString BoardPictureName(InstrumentType instrument, FretboardStyle style);
