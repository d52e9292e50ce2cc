#pragma once
// The fretboard's picture, drawn for the size and pixel ratio it is shown at: the neck,
// frets and strings where the board's geometry puts them (so markers sit on the
// strings at any size), the inlays, and nothing that would read wrong when mirrored.

#include "views/BoardGeometry.h"

#include <QPixmap>

struct BoardLook {
    bool realistic = false; // wood, wound strings and silver frets; else a plain drawing
    bool operator==(const BoardLook&) const = default;
};

// The look of an instrument in a style: only the six-string guitar has the realistic one.
BoardLook LookOf(InstrumentType instrument, FretboardStyle style);

// The picture of geometry's board as view shows it, at devicePixelRatio device pixels
// per pixel.
QPixmap DrawBoardPicture(const BoardGeometry& geometry, BoardLook look, const QTransform& view,
                         qreal devicePixelRatio);
