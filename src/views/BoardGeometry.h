#pragma once
// Where every cell of a fretboard lies on a board of a given size: one rectangle per
// string and fret position, computed once per size and shared by painting and hit
// testing, so a marker is drawn exactly where a press finds its cell.
//
// The strings fan out from taperMin apart at the nut (left) to taperMax at the far edge
// and sit centred on the board, string 1 lowest. The tapers are given for a board 100
// pixels high and grow with its height, so a larger board is the same board enlarged.
// A cell is as wide as its fret column and as high as the string gap at the nut,
// centred on the string at the column's left edge.
//
// All of this is in board space: nut on the left, string 1 at the bottom. How the
// board is turned on the screen (a left-handed neck, the lowest string at the top) is
// one transform on top, BoardView.

#include "music/Instrument.h"
#include "music/PatternLayout.h"
#include "views/Rect.h"

#include <QSizeF>
#include <QTransform>

#include <optional>
#include <vector>

// The board at its smallest, the size every taper is given for.
inline constexpr QSize kBoardBaseSize(580, 100);

Rect CalcFretBounds(QSizeF board, int stringNum, int fretNum, int stringCount, int taperMin, int taperMax);

class BoardGeometry {
public:
    BoardGeometry() = default;
    BoardGeometry(QSizeF board, int stringCount, FretboardStyle style);

    QSizeF Size() const { return size_; }
    int StringCount() const { return stringCount_; }
    const Rect& CellRect(FretPosition cell) const;
    // The cell under a whole-pixel point: strings from 1 up, frets from the nut, the
    // first whose rectangle holds it; none between the strings or off the board.
    std::optional<FretPosition> CellAt(int x, int y) const;

    // What the picture is drawn from: the left edge of a fret column (column 15 is the
    // far end of fret 13), a string's height at x, and the size of one pixel of the
    // board at its smallest.
    double ColumnLeft(int column) const;
    double StringY(int stringNum, double x) const;
    double Unit() const { return size_.height() / kBoardBaseSize.height(); }

private:
    QSizeF size_;
    int stringCount_ = 0;
    double taperMin_ = 0;
    double taperMax_ = 0;
    std::vector<Rect> cells_; // string by string, fret positions 1..14
};

// How board space appears on a control of this size: mirrored left to right for a
// left-handed neck (the nut on the right), top to bottom for the lowest string at the
// top. Painting maps through it; a press maps back through its inverse.
QTransform BoardView(QSizeF size, bool leftHanded, bool lowestOnTop);
