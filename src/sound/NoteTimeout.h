#pragma once
// Stops a started note after "NoteMaxDuration" tenths of a second. One tick stops the
// remembered note; the next tick, finding none, stops the timer. A note that a new one
// replaces before its time is stopped at once, so sustained sounds never drone on.

#include <QObject>
#include <QTimer>

#include <optional>

class NotePlayer;
struct Settings;

class NoteTimeout : public QObject {
    Q_OBJECT
public:
    // settings: a "NoteMaxDuration" of 0 or less becomes 10 there (and is stored so).
    NoteTimeout(NotePlayer& player, Settings& settings, QObject* parent = nullptr);

    void StartNoteTimeout(int midi);
    // The timer's handler; public so the owner and tests can drive it.
    void Tick();
    // Stops the remembered note and the timer at once (the program is ending); false with
    // message set when the note-off failed.
    bool StopNow(QString& message);

    bool IsActive() const { return timer_.isActive(); }
    int Interval() const { return timer_.interval(); }
    std::optional<int> RememberedNote() const { return note_; }

private:
    bool StopRememberedNote(QString& message);

    NotePlayer& player_;
    Settings& settings_;
    QTimer timer_;
    std::optional<int> note_;
};
