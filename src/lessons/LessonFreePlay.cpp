#include "lessons/LessonFreePlay.h"

#include "core/Messages.h"
#include "lessons/ActivityViews.h"
#include "music/Notes.h"

#include <QCoreApplication>

LessonFreePlay::LessonFreePlay()
    : FreeActivity(QStringLiteral("FreePlay"), LessonType::FreePlay)
{
}

QString LessonFreePlay::GetActiveNoteName() const
{
    return playingNote_ ? playingNote_->name : QString();
}

void LessonFreePlay::ShowOnStaff(const QString& noteName)
{
    if (!context_.staff)
        return;
    context_.staff->ShowNote(QString());
    context_.staff->ShowNote(noteName);
    context_.staff->Refresh();
}

bool LessonFreePlay::OnStaff(int level, bool secondary, QString& message)
{
    const std::optional<Note> note = LevelNote(level, secondary);
    playingNote_ = note;
    if (!note) {
        ShowMessage(QCoreApplication::translate("LessonFreePlay",
                                                "There isn't a note on this line. Please select another one."),
                    MsgPlain);
        return true;
    }
    if (IsExcludedSheetName(note->name))
        return true;
    ShowOnStaff(note->name);
    return PlayNote(*note, true, message);
}

void LessonFreePlay::OnStaffHover(int level)
{
    const std::optional<Note> note = LevelNote(level, false);
    if (!note)
        return;
    if (!IsExcludedSheetName(note->name))
        ShowOnStaff(note->name);
    playingNote_ = note;
}

bool LessonFreePlay::OnFretboard(const Note& note, QString& message)
{
    return PlayNote(note, true, message);
}

bool LessonFreePlay::NotePlayed(int midi, QString&)
{
    if (!context_.notes)
        return true;
    const Note note = NoteOfPitch(*context_.notes, midi);
    if (note.position != 0 && !IsExcludedSheetName(note.name)) {
        ShowOnStaff(note.name);
        if (context_.board) {
            context_.board->MarkNote(note.name);
            context_.board->Refresh();
        }
    }
    if (context_.host)
        context_.host->SetNotePanel(note.name);
    return true;
}
