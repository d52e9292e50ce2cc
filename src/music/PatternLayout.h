#pragma once
// Where a selection's patterns lie on an instrument's board: which patterns hold each
// cell, which cells are highlighted, and the pool of drill questions. Pure: made from
// the instrument and the selection, the same for painting and for the drill.

#include "core/FretPosition.h"
#include "core/Selection.h"
#include "music/Instrument.h"
#include "music/Patterns.h"

#include <vector>

class PatternLayout {
public:
    PatternLayout(const Instrument& instrument, const Selection& selection);

    int StringCount() const { return stringCount_; }

    // The pattern (0 read as 6, "All Patterns") holds the cell.
    bool PatternContains(FretPosition cell, int patternNum) const;
    // The cell is drawn as a pattern note: one of the visible patterns holds it, and the
    // wrap rule has not cleared it.
    bool IsHighlighted(FretPosition cell) const;
    // Pattern 0 always; otherwise the pattern holds the cell and it is highlighted.
    bool PatternContainsAndIsVisible(FretPosition cell, int patternNum) const;

private:
    struct Cell {
        std::vector<int> patternNums;
        bool highlighted = false;
    };
    const Cell& At(FretPosition cell) const;
    Cell& At(FretPosition cell);
    void ApplyPatternWrapRule(const Instrument& instrument, int patternNum);

    int stringCount_ = 0;
    std::vector<Cell> cells_; // string by string, fret positions 1..14
};

// The cells the drill asks about, string 1 first, fret positions ascending: the visible
// cells of the selection's pattern, or every cell of "All Patterns" when it has none.
// One entry per cell, so a note at several cells is asked more often.
std::vector<FretPosition> QuestionPool(const Instrument& instrument, const Selection& selection);
