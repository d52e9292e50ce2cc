#pragma once
// Stops a started note after "NoteMaxDuration" tenths of a second. One tick stops the
// remembered note; the next tick, finding none, stops the timer.

#include "music/Note.h"

#include <QObject>
#include <QTimer>

class NoteTimeout : public QObject {
    Q_OBJECT
public:
    explicit NoteTimeout(QObject* parent = nullptr);

    // Remembers note and restarts the countdown; call it once the note has started. A
    // note still remembered is stopped now, unless it is on the same key as note (its
    // note-off would cut the note just struck). A duration of 0 becomes 10 in the
    // settings.
    void StartNoteTimeout(NotePtr note);

    // The timer's handler; public so the owner and tests can drive it.
    void Tick();

    bool IsActive() const { return TimerNoteTimeout.isActive(); }
    int Interval() const { return TimerNoteTimeout.interval(); }
    NotePtr RememberedNote() const { return TimeoutNote; }

private:
    QTimer TimerNoteTimeout;
    NotePtr TimeoutNote;
};
