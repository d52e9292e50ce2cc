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

bool NoteTimeout::StopRememberedNote(QString& message)
{
    if (!note_)
        return true;
    const bool ok = player_.NoteOff(*note_, message);
    note_.reset();
    return ok;
}

void NoteTimeout::StartNoteTimeout(int midi)
{
    // The same key struck again keeps sounding: its note-off would cut the new note.
    QString ignored;
    if (note_ && *note_ != midi)
        StopRememberedNote(ignored);
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
    QString ignored;
    StopRememberedNote(ignored);
}

bool NoteTimeout::StopNow(QString& message)
{
    timer_.stop();
    return StopRememberedNote(message);
}
