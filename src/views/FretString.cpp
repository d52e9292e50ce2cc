#include "views/FretString.h"

#include "music/Notes.h"

void FretString::Initialise(FretboardControl* fretboard, int stringNum)
{
    intStringNum = static_cast<qint16>(stringNum);
    objFretNotes.clear();
    for (int column = 1; column <= FretWidths.Count(); ++column) {
        auto cell = std::make_unique<FretNote>();
        cell->Initialise(fretboard, stringNum, column);
        objFretNotes.push_back(std::move(cell));
    }
}

void FretString::DrawAll()
{
    for (auto& cell : objFretNotes)
        cell->Draw();
}

void FretString::HilitePatternFretNotes()
{
    for (auto& cell : objFretNotes)
        cell->HilitePatternFretNote();
}

void FretString::SetScale()
{
    for (auto& cell : objFretNotes)
        cell->SetScale();
}

void FretString::DrawFretNote(const QString& strFretNoteName, bool boolFilterPatterns)
{
    if (boolFilterPatterns)
        return;
    for (auto& cell : objFretNotes)
        cell->SetNoteVisible(!strFretNoteName.isEmpty() && cell->GetNoteName().contains(strFretNoteName));
}

bool FretString::IsWithinBounds(bool boolRightButtonClicked, int X, int Y, FretNote*& objFretNote)
{
    for (auto& cell : objFretNotes) {
        if (cell->IsWithinBounds(X, Y)) {
            objFretNote = boolRightButtonClicked ? objFretNotes.front().get() : cell.get();
            return true;
        }
    }
    return false;
}

bool FretString::PatternContainsAndIsVisible(const QString& strNoteName, int intPatternNum) const
{
    for (const auto& cell : objFretNotes)
        if (cell->GetNoteName() == strNoteName && cell->PatternContainsAndIsVisible(intPatternNum))
            return true;
    return false;
}

bool FretString::IsFretInPatternAndVisible(int fretNum, int intPatternNum) const
{
    return Item(fretNum).PatternContainsAndIsVisible(intPatternNum);
}

bool FretString::IsFretInPattern(int fretNum, int intPatternNum) const
{
    return Item(fretNum).PatternContains(intPatternNum);
}
