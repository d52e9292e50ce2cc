#pragma once
// Where every cell of a fretboard lies on a board of a given size: one rectangle per
// string and fret position, computed once per size and shared by painting and hit
// testing, so a marker is drawn exactly where a press finds its cell.
//
// The strings fan out from taperMin apart at the nut (left) to taperMax at the far edge
// and sit centred on the board, string 1 lowest. A cell is as wide as its fret column
// and as high as the string gap at the nut, centred on the string at the column's left
// edge.

#include "music/Instrument.h"
#include "music/PatternLayout.h"
#include "views/Rect.h"

#include <QSizeF>

#include <optional>
#include <vector>

Rect CalcFretBounds(QSizeF board, int stringNum, int fretNum, int stringCount, int taperMin, int taperMax);

class BoardGeometry {
public:
    BoardGeometry() = default;
    BoardGeometry(QSizeF board, int stringCount, FretboardStyle style);

    int StringCount() const { return stringCount_; }
    const Rect& CellRect(FretPosition cell) const;
    // The cell under a whole-pixel point: strings from 1 up, frets from the nut, the
    // first whose rectangle holds it; none between the strings or off the board.
    std::optional<FretPosition> CellAt(int x, int y) const;

private:
    int stringCount_ = 0;
    std::vector<Rect> cells_; // string by string, fret positions 1..14
};
