#pragma once
// What the activities need of the views and of the main window, in their own terms:
// notes by name, staff levels by number. The real staff, fretboard and main window
// implement these; tests drive the activities with fakes.

#include "music/Note.h"

#include <QString>

#include <vector>

class StaffDisplay {
public:
    virtual ~StaffDisplay() = default;
    // Shows name as the staff's note; "" leaves it empty. wholeRange also draws the ledger
    // lines of the lowest and highest levels, so the learner sees what can be clicked.
    virtual void ShowNote(const QString& name, bool wholeRange = false) = 0;
    // Shows name in grey for a moment; the staff takes it away by itself.
    virtual void ShowEcho(const QString& name) = 0;
    virtual void SetPrompt(const QString& text, bool showPicture) = 0;
    virtual void Refresh() = 0;
    // The name shown at a level (1 = lowest), "" when none.
    virtual QString ShownNoteAt(int level) const = 0;
    // The scale notes written at a level: flat, natural, sharp.
    virtual std::vector<Note> NotesAt(int level) const = 0;
};

class BoardDisplay {
public:
    virtual ~BoardDisplay() = default;
    // Marks every cell whose note name contains name, and unmarks the rest; "" clears.
    virtual void MarkNote(const QString& name) = 0;
    virtual void Refresh() = 0;
};

// The main window as the activities see it.
class ActivityHost {
public:
    virtual ~ActivityHost() = default;
    // The status-bar panel keyed "Note".
    virtual void SetNotePanel(const QString& text) = 0;
    // Lets note sound for "NoteMaxDuration" tenths of a second, then stops it.
    virtual void StartNoteTimeout(const Note& note) = 0;
    virtual void Beep() = 0;
};
