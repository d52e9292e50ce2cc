#include "sound/NoteTimeout.h"

#include "core/NotePlayer.h"
#include "core/Settings.h"

NoteTimeout::NoteTimeout(NotePlayer& player, Settings& settings, QObject* parent)
    : QObject(parent)
    , player_(player)
    , settings_(settings)
{
    connect(&timer_, &QTimer::timeout, this, &NoteTimeout::Tick);
}

void NoteTimeout::StopRememberedNote()
{
    if (!note_)
        return;
    QString ignored;
    player_.NoteOff(*note_, ignored);
    note_.reset();
}

void NoteTimeout::StartNoteTimeout(int midi)
{
    // The same key struck again keeps sounding: its note-off would cut the new note.
    if (note_ && *note_ != midi)
        StopRememberedNote();
    note_ = midi;
    // A non-positive duration would never stop the note.
    if (settings_.noteMaxDuration <= 0)
        settings_.noteMaxDuration = 10;
    timer_.setInterval(settings_.noteMaxDuration * 100);
    timer_.start();
}

void NoteTimeout::Tick()
{
    if (!note_) {
        timer_.stop();
        return;
    }
    StopRememberedNote();
}

void NoteTimeout::StopNow()
{
    StopRememberedNote();
    timer_.stop();
}
