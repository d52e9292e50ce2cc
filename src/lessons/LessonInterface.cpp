#include "lessons/LessonInterface.h"

#include "core/NotePlayer.h"

bool LessonInterface::PlayNote(const Note& note, bool hold, QString& message)
{
    if (context_.player && !context_.player->NoteOn(note.midi, message))
        return false;
    playingNote_.reset();
    if (hold)
        playingNote_ = note;
    return true;
}

void LessonInterface::StopPlayingNote()
{
    if (!playingNote_ || !context_.player)
        return;
    QString ignored;
    context_.player->NoteOff(playingNote_->midi, ignored);
}
