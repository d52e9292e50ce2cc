#pragma once
// What the activities need of the views and of the main window. The real fretboard,
// staff and main window implement these; tests drive the activities with fakes.

#include "music/Note.h"

#include <QString>

// One fretboard cell.
class FretNoteInterface {
public:
    virtual ~FretNoteInterface() = default;
    virtual QString GetNoteName() const = 0;
    virtual NotePtr ThisNote() const = 0;
    virtual bool PlayNote(QString& strRetMsg) = 0;
};

class FretboardInterface {
public:
    virtual ~FretboardInterface() = default;

    bool boolRightButtonClicked = false; // a non-left button was pressed
    int intCurrentX = 0;                 // last press, whole pixels
    int intCurrentY = 0;

    // The cell under (X, Y); for a right click the open-string cell of that string.
    virtual bool IsWithinBounds(bool boolRightButtonClicked, int X, int Y,
                                FretNoteInterface*& objFretNote) = 0;
    // Marks every position whose note name contains name; "" removes the marks.
    virtual void DrawFretNote(const QString& name, bool boolFilterPatterns) = 0;
    virtual void RefreshDisplay() = 0;
};

// One level (line or space) of the staff.
class SheetNoteLevelInterface {
public:
    virtual ~SheetNoteLevelInterface() = default;
    // The note name shown at this level, e.g. "Bb-1".
    virtual QString VisibleNoteName() const = 0;
    // The level's notes of the current scale, flat before natural before sharp: the
    // first one, or null when the level holds none; the second one, or the first when
    // the level holds only one.
    virtual NotePtr GetFirstNote() const = 0;
    virtual NotePtr GetSecondNote() const = 0;
    // Sounds the note the level shows; true when it shows none.
    virtual bool PlayNote(QString& strRetMsg) = 0;
};

class SheetInterface {
public:
    virtual ~SheetInterface() = default;

    int intCurrentX = 0; // last press, whole pixels
    int intCurrentY = 0;

    virtual bool IsWithinBounds(int X, int Y, SheetNoteLevelInterface*& objSheetNoteLevel) = 0;
    // Draws name as the staff's note intNoteNum ("" clears it); an echo note is drawn
    // grey and removed by the staff itself after a moment.
    virtual void DrawSheetNote(int intNoteNum, const QString& name, bool boolEcho = false) = 0;
    // As above; drawAllLines also shows the ledger lines of the lowest and highest
    // levels, so the learner sees the whole range that can be clicked.
    virtual void DrawSheetNote(int intNoteNum, const QString& name, bool drawAllLines, bool boolEcho) = 0;
    virtual void DrawAllExtraLines(int intSheetNoteNum) = 0;
    // Horizontal centre of note position intSheetNoteNum, in whole pixels.
    virtual int GetCenterX(int intSheetNoteNum) const = 0;
    virtual void SetPrompt(const QString& strMsg, bool boolShowPic) = 0;
    virtual void RefreshDisplay() = 0;
};

// The main window as the activities see it.
class StartupFormInterface {
public:
    virtual ~StartupFormInterface() = default;
    // Text of a keyed status-bar panel ("KeyAndScale", "Lesson", "Note").
    virtual void SetStatusPanelText(const QString& key, const QString& text) = 0;
    // Lets note sound for "NoteMaxDuration" tenths of a second, then stops it.
    virtual void StartNoteTimeout(NotePtr note) = 0;
    virtual void Beep() = 0;
};
