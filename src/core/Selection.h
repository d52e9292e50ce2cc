#pragma once
// The current selection shared by the windows, views and activities: which activity
// runs, the timed test's state, the current key, scale and pattern, and the pool of
// prompt candidates. Written by the main window, the views and the activities.

#include "core/Collection.h"

#include <QString>
#include <QtGlobal>

// Activities.
enum Activity : qint32 { ActivityShowMe = 0, ActivityDrill = 1, ActivityFreePlay = 2, ActivityPatternPlay = 3 };

// Timed test.
enum TestStates : qint32 { TestNone = 0, TestArmed = 1, TestRunning = 2, TestTimeOver = 3 };

extern qint32 CurrActivity;
extern qint32 TestState;
extern bool NextNotePending;       // a right answer in ear-training style awaits the button release
extern qint16 PrevNoteEchoDuration; // 500 with PlayNoteOnPrompt on, else 0

extern qint32 CurrKey;             // 1..12
extern QString CurrKeyName;
extern qint16 CurrScale;           // 1 major, 2 minor
extern qint16 CurrPattern;         // 0 none, 1..5, 6 all
extern bool HidePattern;
extern bool HideInvalidNotes;
extern bool ScaleRebuildPending;
extern Collection<QString> VisiblePatterns; // pattern numbers as text

extern qint32 SavedKey;
extern qint16 SavedScale;
extern qint16 SavedPattern;
extern bool SavedHidePattern;

// One visible fretboard position of the shown pattern(s): a prompt candidate.
struct VisiblePatNote {
    QString Key;
    QString strName;
};
extern Collection<VisiblePatNote> VisiblePatNotes;

// Back to the start-of-run values. For tests.
void ResetSelection();

// Appends a prompt candidate keyed by the number of entries before it ("0", "1", ...).
VisiblePatNote& AddVisiblePatNote(const QString& strNoteName);
