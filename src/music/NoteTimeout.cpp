#include "music/NoteTimeout.h"

#include "core/Settings.h"

NoteTimeout::NoteTimeout(QObject* parent)
    : QObject(parent)
{
    connect(&TimerNoteTimeout, &QTimer::timeout, this, &NoteTimeout::Tick);
}

void NoteTimeout::StartNoteTimeout(NotePtr note)
{
    // The note this one replaces would never get its note-off and sound on (a
    // sustained program drones). Except on the same key: the new note has struck that
    // key again already, so a note-off now would cut it; the timer's one note-off ends
    // the key.
    if (TimeoutNote && (!note || note->intNoteMidiIndex != TimeoutNote->intNoteMidiIndex)) {
        QString ignored; // as at the tick
        TimeoutNote->StopSound(ignored);
    }
    TimeoutNote = std::move(note);
    // A non-positive duration would never stop the note.
    if (NoteMaxDuration <= 0)
        NoteMaxDuration = 10;
    TimerNoteTimeout.setInterval(NoteMaxDuration * 100);
    TimerNoteTimeout.start();
}

void NoteTimeout::Tick()
{
    if (!TimeoutNote) {
        TimerNoteTimeout.stop();
        return;
    }
    QString ignored;
    TimeoutNote->StopSound(ignored);
    TimeoutNote.reset();
}
