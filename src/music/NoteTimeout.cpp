#include "music/NoteTimeout.h"

#include "core/Settings.h"

NoteTimeout::NoteTimeout(QObject* parent)
    : QObject(parent)
{
    connect(&TimerNoteTimeout, &QTimer::timeout, this, &NoteTimeout::Tick);
}

void NoteTimeout::StartNoteTimeout(NotePtr note)
{
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
