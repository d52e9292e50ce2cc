#include "lessons/LessonShowMe.h"

#include "core/Settings.h"
#include "lessons/ActivityViews.h"

#include <QCoreApplication>

LessonShowMe::LessonShowMe()
    : FreeActivity(QStringLiteral("ShowMe"), LessonType::ShowMe)
{
}

QString LessonShowMe::GetActiveNoteName() const
{
    if (playingNote_)
        return playingNote_->name;
    const bool flats = context_.settings && context_.settings->flatSymbolPref;
    return flats ? QCoreApplication::translate("LessonShowMe", "No 'sharp' note")
                 : QCoreApplication::translate("LessonShowMe", "No 'flat' note");
}

void LessonShowMe::SetUp()
{
    if (!context_.staff)
        return;
    context_.staff->ShowNote(QString(), true);
    context_.staff->Refresh();
}

void LessonShowMe::ShowEverywhere(const QString& noteName)
{
    if (context_.staff) {
        context_.staff->ShowNote(QString(), true);
        context_.staff->ShowNote(noteName, true);
        context_.staff->Refresh();
    }
    if (context_.board) {
        context_.board->MarkNote(noteName);
        context_.board->Refresh();
    }
}

bool LessonShowMe::OnStaff(int level, bool secondary, QString& message)
{
    playingNote_ = LevelNote(level, secondary);
    if (!playingNote_ || IsExcludedSheetName(playingNote_->name))
        return true;
    const Note note = *playingNote_;
    ShowEverywhere(note.name);
    return PlayNote(note, true, message);
}

bool LessonShowMe::OnFretboard(const Note& note, QString& message)
{
    // Fretboard presses draw the note on the staff even for the names the staff leaves out.
    ShowEverywhere(note.name);
    return PlayNote(note, true, message);
}
