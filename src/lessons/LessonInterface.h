#pragma once
// Every activity (numbered lessons, show me, free play) implements this: the views and
// the main window hand it every mouse event and ask it for the prompt, the sounding
// note and the test counters, without knowing which activity it is.

#include "core/Collection.h"
#include "lessons/ViewInterfaces.h"
#include "music/Note.h"

#include <QString>
#include <QtGlobal>

class notes;

// Sequencer events.
enum SequencerEvent : qint32 {
    EventStartOver = 0,
    EventSheetClick = 1,
    EventSheetRightClick = 2, // show me and free play: the level's second note
    EventSheetMouseMove = 3,  // free play
    EventFretboardClick = 4,
};

// Lesson types.
enum LessonType : qint16 { LessonFixedScale = 2, LessonCustomScale = 3 };

class LessonInterface {
public:
    virtual ~LessonInterface() = default;

    QString strName;               // e.g. "Lesson 1 - Start"
    qint16 intKey = 0;             // key identifier 1..12
    qint16 intScale = 0;           // 1 major, 2 minor
    Collection<QString> intValidPatterns; // pattern numbers as text, "0".."6"
    qint16 intSelectedPattern = 0;
    bool boolHideInvalidNotes = false;
    qint16 intLessonType = 0;

    virtual QString GetVersion() const = 0;
    // Handles one event; false when a sound could not be played (strRetMsg says why).
    virtual bool Sequencer(qint32 intEvent, StartupFormInterface* startupForm, SheetInterface* sheet,
                           FretboardInterface* fretboard, notes& objNotes, QString& strRetMsg) = 0;
    virtual NotePtr GetPlayingNote() const = 0;
    virtual QString GetActiveNoteName() const = 0;
    virtual void GetTestResults(qint16& testNoteCount, qint16& correctTestNoteCount,
                                qint16& testNoteAssistCount) const = 0;
    // The learner's custom key and scale; only the custom-scale lesson uses them.
    virtual void ReInitialize(qint32 newKey, qint32 newScale, StartupFormInterface* startupForm,
                              SheetInterface* objSheet, FretboardInterface* objFretboard, notes& objNotes)
    {
        Q_UNUSED(newKey) Q_UNUSED(newScale) Q_UNUSED(startupForm) Q_UNUSED(objSheet)
        Q_UNUSED(objFretboard) Q_UNUSED(objNotes)
    }
    virtual void GenerateNextNote() = 0;
};
