#include "views/FretNote.h"

#include "core/Selection.h"
#include "core/Settings.h"
#include "music/Notes.h"
#include "music/ScalePatterns.h"
#include "views/FretboardControl.h"

#include <cmath>

Rect CalcFretBounds(const Rect& bounds, int intStringNum, int intFretNum, int stringCount,
                    int taperMin, int taperMax)
{
    const float gapNut = static_cast<float>(taperMin) / static_cast<float>(stringCount - 1);
    const float gapFar = static_cast<float>(taperMax) / static_cast<float>(stringCount - 1);
    const float yNut = bounds.floatY + (bounds.floatHeight + taperMin) / 2 - (intStringNum - 1) * gapNut;
    const float yFar = bounds.floatY + (bounds.floatHeight + taperMax) / 2 - (intStringNum - 1) * gapFar;
    const float angle = std::atan((yFar - yNut) / bounds.floatWidth);
    float xLeft = bounds.floatX;
    for (int column = 1; column < intFretNum; ++column)
        xLeft += bounds.floatWidth * static_cast<float>(FretWidths.Item(column)) / 100;
    const float xRight = xLeft + bounds.floatWidth * static_cast<float>(FretWidths.Item(intFretNum)) / 100;
    const float yLeft = xLeft * std::tan(angle) + yNut;
    Rect cell;
    cell.Create1(xLeft, yLeft - gapNut / 2, xRight - xLeft, gapNut);
    return cell;
}

void FretNote::Initialise(FretboardControl* fretboard, int stringNum, int fretNum)
{
    objFretboard = fretboard;
    intStringNum = static_cast<qint16>(stringNum);
    intFretNum = static_cast<qint16>(fretNum);
    boolIsNoteToBeDrawn = false;
    boolIsNoteHilitedPatternNote = false;
    const notes& table = GetNotes();
    rectFretBounds = CalcFretBounds(fretboard->GetBounds(), stringNum, fretNum, table.GetStringAmount(),
                                    table.GetTaperMin(), table.GetTaperMax());
    objThisNote = table.GetNoteObjFromFretBoard(stringNum, fretNum);
}

QString FretNote::GetNoteName() const
{
    return objThisNote ? objThisNote->strNoteName : QString();
}

void FretNote::Draw()
{
    if (!boolIsNoteToBeDrawn && !boolIsNoteHilitedPatternNote)
        return;
    if (HideInvalidNotes && !PatternContainsAndIsVisible(CurrPattern))
        return;
    if (objFretboard)
        objFretboard->LowlevelDraw(*this, rectFretBounds);
}

bool FretNote::PlayNote(QString& strRetMsg)
{
    return objThisNote && objThisNote->PlaySound(strRetMsg);
}

bool FretNote::StopNote(QString& strRetMsg)
{
    return objThisNote && objThisNote->StopSound(strRetMsg);
}

void FretNote::SetScale()
{
    collPatternNums.Clear();
    BuildPatternList();
    objThisNote = GetNotes().GetNoteObjFromFretBoard(intStringNum, intFretNum);
}

void FretNote::BuildPatternList()
{
    collPatternNums = GetPatternNumsAtFret(intStringNum, intFretNum, CurrKey, CurrScale, BluesNotesOnly);
}

bool FretNote::IsInPatternList(int intPatternNum) const
{
    for (const QString& entry : collPatternNums)
        if (entry.toInt() == intPatternNum)
            return true;
    return false;
}

bool FretNote::PatternContains(int intPatternNum) const
{
    return IsInPatternList(intPatternNum == 0 ? 6 : intPatternNum);
}

bool FretNote::PatternContainsAndIsVisible(int intPatternNum) const
{
    if (intPatternNum == 0)
        return true;
    return PatternContains(intPatternNum) && boolIsNoteHilitedPatternNote;
}

void FretNote::HilitePatternFretNote()
{
    boolIsNoteHilitedPatternNote = false;
    if (CurrPattern == 0)
        return;
    for (const QString& entry : VisiblePatterns) {
        if (IsInPatternList(static_cast<qint16>(entry.toInt()))) {
            boolIsNoteHilitedPatternNote = true;
            return;
        }
    }
}
