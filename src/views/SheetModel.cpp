#include "views/SheetModel.h"

#include "core/Rounding.h"
#include "core/Settings.h"
#include "music/Notes.h"
#include "views/SheetControl.h"

#include <QCoreApplication>

#include <cmath>
#include <exception>

ExtraLineInfos ExtraLineTable;

namespace {

// How many level steps the lowest level lies below the bottom staff line, less one.
int LowestLevelSteps()
{
    switch (GuitarType) {
    case 0:
        return 6;
    case 1:
        return 1;
    case 2:
        return 4;
    default:
        return -1;
    }
}

} // namespace

void sheetNoteLevel::Initialise(SheetControl* sheet, int sheetPosition, int level, const QString& baseNoteName)
{
    sheet_ = sheet;
    sheetPosition_ = static_cast<qint16>(sheetPosition);
    intSheetNoteLevel = static_cast<qint16>(level);
    strBaseNoteName = baseNoteName;
    visible_ = false;
    echo_ = false;
    strVisibleNoteName.clear();

    const Rect& work = sheet->rectWorkareaBounds;
    const Rect& surface = sheet->rectSheetBounds;
    const float step = work.floatHeight / 8;
    const float centreX = work.floatX + sheetPosition * work.floatWidth / 2;
    const int k = LowestLevelSteps();
    const float bottom = k < 0 ? 0 : work.floatY + work.floatHeight + k * step + step / 2;
    const float top = bottom - (level - 1) * step + surface.floatY;
    rectSheetNoteLevelBounds.Create1(centreX - work.floatHeight / 8, top, work.floatHeight / 4, step);
    FillNotes();
}

void sheetNoteLevel::FillNotes()
{
    collObjNotes = GetNotes().GetNoteObjsFromSheetNote({intSheetNoteLevel, strBaseNoteName});
}

void sheetNoteLevel::SetScale()
{
    collObjNotes.Clear();
    FillNotes();
}

void sheetNoteLevel::SetNoteVisible(const QString& name, bool boolIsEchoNote)
{
    visible_ = true;
    strVisibleNoteName = name;
    echo_ = boolIsEchoNote;
}

void sheetNoteLevel::SetNoteInVisible()
{
    visible_ = false;
    strVisibleNoteName.clear();
}

bool sheetNoteLevel::Draw(QString& strRetMsg)
{
    if (!visible_ || !sheet_)
        return true;
    try {
        sheet_->LowlevelDraw(*this, echo_);
    } catch (const std::exception& failure) {
        strRetMsg = QString::fromUtf8(failure.what());
        return false;
    }
    return true;
}

bool sheetNoteLevel::ContainsNoteName(const QString& strNoteName) const
{
    for (const NotePtr& note : collObjNotes)
        if (note->strNoteName == strNoteName)
            return true;
    return false;
}

NotePtr sheetNoteLevel::GetCurrentPlayingNote() const
{
    for (const NotePtr& note : collObjNotes)
        if (note->strNoteName == strVisibleNoteName)
            return note;
    return nullptr;
}

NotePtr sheetNoteLevel::GetFirstNote() const
{
    return collObjNotes.IsEmpty() ? nullptr : collObjNotes.Item(1);
}

NotePtr sheetNoteLevel::GetSecondNote() const
{
    if (collObjNotes.IsEmpty())
        return nullptr;
    return collObjNotes.Count() >= 2 ? collObjNotes.Item(2) : collObjNotes.Item(1);
}

bool sheetNoteLevel::PlayNote(QString& strRetMsg)
{
    const NotePtr note = GetCurrentPlayingNote();
    return !note || note->PlaySound(strRetMsg);
}

bool sheetNoteLevel::StopNote(QString&)
{
    return !GetCurrentPlayingNote();
}

void SheetNote::Initialise(SheetControl* sheet, int sheetPosition)
{
    sheetPosition_ = static_cast<qint16>(sheetPosition);
    objSheetNoteLevels.clear();
    const int levels = GetNotes().GetSheetNoteLevelAmount();
    // Ascending order matters: each level's notes continue the search of the one below.
    for (int level = 1; level <= levels; ++level) {
        auto item = std::make_unique<sheetNoteLevel>();
        item->Initialise(sheet, sheetPosition, level, BaseNoteNames.Item(level));
        objSheetNoteLevels.push_back(std::move(item));
    }
}

void SheetNote::DrawAll()
{
    QString ignored;
    for (auto& level : objSheetNoteLevels)
        level->Draw(ignored);
}

void SheetNote::DrawSheetNote(const QString& strSheetNoteName, bool boolIsEchoNote)
{
    for (auto& level : objSheetNoteLevels)
        if (level->ContainsNoteName(strSheetNoteName))
            level->SetNoteVisible(strSheetNoteName, boolIsEchoNote);
}

void SheetNote::HideAll()
{
    for (auto& level : objSheetNoteLevels)
        level->SetNoteInVisible();
}

bool SheetNote::IsWithinBounds(int X, int Y, sheetNoteLevel*& objSheetNoteLevel)
{
    for (auto& level : objSheetNoteLevels) {
        if (level->IsWithinBounds(X, Y)) {
            objSheetNoteLevel = level.get();
            return true;
        }
    }
    return false;
}

void SheetNote::SetScale()
{
    for (auto& level : objSheetNoteLevels)
        level->SetScale();
}

qint16 SheetNote::GetCenterX() const
{
    return objSheetNoteLevels.empty() ? 0 : RoundToInt16(objSheetNoteLevels.front()->rectSheetNoteLevelBounds.floatCenterX);
}

void ExtraLineInfo::Initialise(const Rect& workarea, int intLinesReq)
{
    fltLineInterDistance = workarea.floatHeight / 4;
    intExtraLineWidth = RoundToInt16(3 * fltLineInterDistance);
    intLineAmount = static_cast<qint16>(std::abs(intLinesReq));
    if (intLinesReq > 0)
        intFirstExtraLineTop = RoundToInt16(workarea.floatY + workarea.floatHeight + intLinesReq * fltLineInterDistance);
    else if (intLinesReq < 0)
        intFirstExtraLineTop = RoundToInt16(workarea.floatY - fltLineInterDistance);
}

ExtraLineInfo& ExtraLineInfos::Add(const QString& key, const Rect& workarea, int intLinesReq)
{
    ExtraLineInfo info;
    info.Key = key;
    info.Initialise(workarea, intLinesReq);
    Collection<ExtraLineInfo>::Add(info, key);
    return Item(Count());
}

void LoadExtraLinesInfoCollection(const Rect& workarea)
{
    ExtraLineTable.Clear();
    for (const ExtraLineRow& row : GetNotes().GetExtraLineRows())
        ExtraLineTable.Add(QString::number(row.intLevel), workarea, row.intLineCount);
}
