#pragma once
// One cell of the fretboard grid: a string and fret column, the note sounding there,
// its rectangle on the board picture and the scale patterns that contain it.

#include "lessons/ViewInterfaces.h"
#include "views/Rect.h"

class FretboardControl;

// The rectangle of a cell: as wide as its fret column, as high as the string gap at
// the nut, centred on the string at the column's left edge. The strings fan out from
// taperMin at the nut to taperMax at the far edge; string 1 is the lowest line.
Rect CalcFretBounds(const Rect& bounds, int intStringNum, int intFretNum, int stringCount,
                    int taperMin, int taperMax);

class FretNote final : public FretNoteInterface {
public:
    NotePtr objThisNote;
    qint16 intStringNum = 0;
    qint16 intFretNum = 0; // 1 = open string
    bool boolIsNoteToBeDrawn = false;
    bool boolIsNoteHilitedPatternNote = false;

    void Initialise(FretboardControl* fretboard, int stringNum, int fretNum);
    QString GetNoteName() const override;
    NotePtr ThisNote() const override { return objThisNote; }
    void Draw();
    void SetNoteVisible(bool value) { boolIsNoteToBeDrawn = value; }
    bool PlayNote(QString& strRetMsg) override;
    bool StopNote(QString& strRetMsg);
    bool IsWithinBounds(int X, int Y) const { return rectFretBounds.Contains(X, Y); }
    void SetScale();
    void HilitePatternFretNote();
    void UnHilitePatternFretNote() { boolIsNoteHilitedPatternNote = false; }
    // Pattern 0 is read as 6 ("All Patterns").
    bool PatternContains(int intPatternNum) const;
    // Pattern 0 always; otherwise contained and highlighted.
    bool PatternContainsAndIsVisible(int intPatternNum) const;

    const Rect& Bounds() const { return rectFretBounds; }
    const Collection<QString>& PatternNums() const { return collPatternNums; }

private:
    void BuildPatternList();
    bool IsInPatternList(int intPatternNum) const;

    Rect rectFretBounds;
    FretboardControl* objFretboard = nullptr;
    Collection<QString> collPatternNums;
};
