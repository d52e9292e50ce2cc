#include "lessons/LessonFreePlay.h"

#include "core/Messages.h"

#include <QCoreApplication>

LessonFreePlay::LessonFreePlay()
    : FreeActivity(QStringLiteral("FreePlay"), 0)
{
}

QString LessonFreePlay::GetActiveNoteName() const
{
    return objCurrPlayingNote ? objCurrPlayingNote->strNoteName : QString();
}

bool LessonFreePlay::HandleEvent(qint32 intEvent, SheetInterface* sheet, FretboardInterface* fretboard,
                                 QString& strRetMsg)
{
    switch (intEvent) {
    case EventSheetClick:
    case EventSheetRightClick:
        return SheetClick(intEvent, sheet, strRetMsg);
    case EventSheetMouseMove:
        SheetHover(sheet);
        return true;
    case EventFretboardClick:
        return FretboardClick(fretboard, strRetMsg);
    default:
        return true;
    }
}

void LessonFreePlay::ShowOnSheet(SheetInterface& sheet, const QString& name)
{
    sheet.DrawSheetNote(1, QString(), false, false);
    sheet.DrawSheetNote(1, name, false, false);
    sheet.RefreshDisplay();
}

bool LessonFreePlay::SheetClick(qint32 intEvent, SheetInterface* sheet, QString& strRetMsg)
{
    SheetNoteLevelInterface* level = HitSheetLevel(sheet);
    if (!level)
        return true;
    objCurrPlayingNote = ChooseLevelNote(*level, intEvent);
    if (!objCurrPlayingNote) {
        ShowMessage(QCoreApplication::translate("LessonFreePlay",
                                                "There isn't a note on this line. Please select another one."),
                    MsgPlain);
        return true;
    }
    if (IsExcludedSheetName(objCurrPlayingNote->strNoteName))
        return true;
    ShowOnSheet(*sheet, objCurrPlayingNote->strNoteName);
    return objCurrPlayingNote->PlaySound(strRetMsg);
}

void LessonFreePlay::SheetHover(SheetInterface* sheet)
{
    SheetNoteLevelInterface* level = HitSheetLevel(sheet);
    if (!level)
        return;
    const NotePtr note = level->GetFirstNote();
    if (!note)
        return;
    if (!IsExcludedSheetName(note->strNoteName))
        ShowOnSheet(*sheet, note->strNoteName);
    objCurrPlayingNote = note;
}

bool LessonFreePlay::FretboardClick(FretboardInterface* fretboard, QString& strRetMsg)
{
    FretNoteInterface* cell = HitFretboardCell(fretboard);
    if (!cell)
        return true;
    if (!cell->PlayNote(strRetMsg))
        return false;
    objCurrPlayingNote = cell->ThisNote();
    return true;
}
