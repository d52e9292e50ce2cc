#pragma once
// One string of the fretboard grid: its cells in fret-column order.

#include "views/FretNote.h"

#include <memory>
#include <vector>

class FretString {
public:
    void Initialise(FretboardControl* fretboard, int stringNum);
    void DrawAll();
    void HilitePatternFretNotes();
    void SetScale();
    // Marks every cell whose note name contains a non-empty name and unmarks the rest;
    // with boolFilterPatterns set nothing changes.
    void DrawFretNote(const QString& strFretNoteName, bool boolFilterPatterns);
    bool IsWithinBounds(bool boolRightButtonClicked, int X, int Y, FretNote*& objFretNote);
    bool PatternContainsAndIsVisible(const QString& strNoteName, int intPatternNum) const;
    bool IsFretInPatternAndVisible(int fretNum, int intPatternNum) const;
    bool IsFretInPattern(int fretNum, int intPatternNum) const;

    int Count() const { return static_cast<int>(objFretNotes.size()); }
    FretNote& Item(int fretNum) { return *objFretNotes.at(static_cast<size_t>(fretNum - 1)); }
    const FretNote& Item(int fretNum) const { return *objFretNotes.at(static_cast<size_t>(fretNum - 1)); }

private:
    std::vector<std::unique_ptr<FretNote>> objFretNotes; // stable addresses: activities hold cells
    qint16 intStringNum = 0;
};
