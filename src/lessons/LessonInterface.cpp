#include "lessons/LessonInterface.h"

#include "core/NotePlayer.h"
#include "core/NoteNames.h"
#include "music/Notes.h"

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

Note NoteOfPitch(const Notes& notes, int midi)
{
    for (const Note& note : notes.All())
        if (note.midi == midi)
            return note;
    // Beyond the table: the letter alone, in the table's spelling (A-0 is position 1).
    const int position = 1 + ((midi - 21) % 12 + 12) % 12;
    return Note{WithoutOctave(NoteNameAt(position, notes.Flats())), midi, 0};
}
