#include "lessons/FreeActivity.h"

FreeActivity::FreeActivity(const QString& name, qint16 lessonType)
{
    strName = name;
    intKey = 4;
    intScale = 1;
    intValidPatterns.Add(QStringLiteral("0"));
    intSelectedPattern = 0;
    boolHideInvalidNotes = false;
    intLessonType = lessonType;
}

bool FreeActivity::Sequencer(qint32 intEvent, StartupFormInterface*, SheetInterface* sheet,
                             FretboardInterface* fretboard, notes&, QString& strRetMsg)
{
    if (intState == 0) {
        // The event that wakes the activity only sets it up.
        SetUp(sheet);
        intState = 1;
        return true;
    }
    if (!HandleEvent(intEvent, sheet, fretboard, strRetMsg))
        return false;
    intState = 1;
    return true;
}

void FreeActivity::GetTestResults(qint16& testNoteCount, qint16& correctTestNoteCount,
                                  qint16& testNoteAssistCount) const
{
    testNoteCount = 0;
    correctTestNoteCount = 0;
    testNoteAssistCount = 0;
}

bool FreeActivity::IsExcludedSheetName(const QString& name)
{
    return name == QLatin1String("Eb-0") || name == QLatin1String("F#-3");
}

void FreeActivity::SetUp(SheetInterface* sheet)
{
    objCurrPlayingNote.reset();
    if (sheet)
        intSheetColumn = static_cast<qint16>(sheet->GetCenterX(1));
}

SheetNoteLevelInterface* FreeActivity::HitSheetLevel(SheetInterface* sheet) const
{
    SheetNoteLevelInterface* level = nullptr;
    if (!sheet || !sheet->IsWithinBounds(intSheetColumn, sheet->intCurrentY, level))
        return nullptr;
    return level;
}

FretNoteInterface* FreeActivity::HitFretboardCell(FretboardInterface* fretboard)
{
    FretNoteInterface* cell = nullptr;
    if (!fretboard
        || !fretboard->IsWithinBounds(fretboard->boolRightButtonClicked, fretboard->intCurrentX,
                                      fretboard->intCurrentY, cell))
        return nullptr;
    fretboard->boolRightButtonClicked = false;
    return cell;
}

NotePtr FreeActivity::ChooseLevelNote(const SheetNoteLevelInterface& level, qint32 intEvent)
{
    boolSecondNoteRequested = intEvent == EventSheetRightClick;
    return boolSecondNoteRequested ? level.GetSecondNote() : level.GetFirstNote();
}
