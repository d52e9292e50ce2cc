#include "lessons/FreeActivity.h"

#include "lessons/ActivityViews.h"
#include "music/Notes.h"
#include "music/Scales.h"

FreeActivity::FreeActivity(const QString& activityName, LessonType lessonType)
{
    name = activityName;
    key = 4;
    scale = ScaleMajor;
    validPatterns = {0};
    selectedPattern = 0;
    hideInvalidNotes = false;
    type = lessonType;
}

bool FreeActivity::IsExcludedSheetName(const QString& noteName)
{
    return noteName == QLatin1String("Eb-0") || noteName == QLatin1String("F#-3");
}

bool FreeActivity::SetUpOnFirstEvent()
{
    if (ready_)
        return false;
    playingNote_.reset();
    SetUp();
    ready_ = true;
    return true;
}

bool FreeActivity::StartOver(QString&)
{
    SetUpOnFirstEvent();
    return true;
}

bool FreeActivity::FretboardPressed(std::optional<FretPosition> cell, bool secondary, QString& message,
                                    AnswerInput)
{
    if (SetUpOnFirstEvent() || !cell || !context_.notes)
        return true;
    // Any button but the primary one takes the string's open note.
    const std::optional<Note> note =
        context_.notes->GetNoteObjFromFretBoard(cell->string, secondary ? 1 : cell->fret);
    return !note || OnFretboard(*note, message);
}

bool FreeActivity::StaffPressed(std::optional<int> level, bool secondary, QString& message)
{
    if (SetUpOnFirstEvent() || !level)
        return true;
    return OnStaff(*level, secondary, message);
}

bool FreeActivity::StaffHovered(std::optional<int> level, QString&)
{
    if (SetUpOnFirstEvent() || !level)
        return true;
    OnStaffHover(*level);
    return true;
}

std::optional<Note> FreeActivity::LevelNote(int level, bool secondary) const
{
    if (!context_.staff)
        return std::nullopt;
    const std::vector<Note> notes = context_.staff->NotesAt(level);
    if (notes.empty())
        return std::nullopt;
    return secondary && notes.size() >= 2 ? notes[1] : notes[0];
}
