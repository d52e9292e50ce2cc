#include "lessons/LessonShowMe.h"

#include "core/Settings.h"

#include <QCoreApplication>

LessonShowMe::LessonShowMe()
    : FreeActivity(QStringLiteral("ShowMe"), 1)
{
}

QString LessonShowMe::GetActiveNoteName() const
{
    if (objCurrPlayingNote)
        return objCurrPlayingNote->strNoteName;
    return FlatSymbolPref ? QCoreApplication::translate("LessonShowMe", "No 'sharp' note")
                          : QCoreApplication::translate("LessonShowMe", "No 'flat' note");
}

void LessonShowMe::SetUp(SheetInterface* sheet)
{
    FreeActivity::SetUp(sheet);
    if (!sheet)
        return;
    sheet->DrawSheetNote(1, QString(), true, false);
    sheet->DrawAllExtraLines(1);
    sheet->RefreshDisplay();
}

bool LessonShowMe::HandleEvent(qint32 intEvent, SheetInterface* sheet, FretboardInterface* fretboard,
                               QString& strRetMsg)
{
    switch (intEvent) {
    case EventSheetClick:
    case EventSheetRightClick:
        return SheetClick(intEvent, sheet, fretboard, strRetMsg);
    case EventFretboardClick:
        return FretboardClick(sheet, fretboard, strRetMsg);
    default:
        return true;
    }
}

void LessonShowMe::ShowEverywhere(SheetInterface* sheet, FretboardInterface* fretboard, const QString& name)
{
    if (sheet) {
        sheet->DrawSheetNote(1, QString(), true, false);
        sheet->DrawSheetNote(1, name, true, false);
        sheet->RefreshDisplay();
    }
    if (fretboard) {
        fretboard->DrawFretNote(name, false);
        fretboard->RefreshDisplay();
    }
}

bool LessonShowMe::SheetClick(qint32 intEvent, SheetInterface* sheet, FretboardInterface* fretboard,
                              QString& strRetMsg)
{
    SheetNoteLevelInterface* level = HitSheetLevel(sheet);
    if (!level)
        return true;
    objCurrPlayingNote = ChooseLevelNote(*level, intEvent);
    if (!objCurrPlayingNote || IsExcludedSheetName(objCurrPlayingNote->strNoteName))
        return true;
    ShowEverywhere(sheet, fretboard, objCurrPlayingNote->strNoteName);
    return level->PlayNote(strRetMsg);
}

bool LessonShowMe::FretboardClick(SheetInterface* sheet, FretboardInterface* fretboard, QString& strRetMsg)
{
    FretNoteInterface* cell = HitFretboardCell(fretboard);
    if (!cell)
        return true;
    ShowEverywhere(sheet, fretboard, cell->GetNoteName());
    if (!cell->PlayNote(strRetMsg))
        return false;
    objCurrPlayingNote = cell->ThisNote();
    return true;
}
