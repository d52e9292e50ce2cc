#pragma once
// The common ground of the six numbered lessons: the drill state that the drill engine
// reads and writes, and the interface members that only forward to it.

#include "lessons/LessonInterface.h"

class DrillLesson : public LessonInterface {
public:
    qint32 intState = 0;          // 0 no prompt yet, 1 prompt shown
    QString strErrorMsg;
    Collection<QString> objScaleNotes;
    QString strTestNoteName;      // the prompt; "" before the first one
    NotePtr objCurrPlayingNote;   // sounds until the mouse button is released
    StartupFormInterface* frmStartup = nullptr;
    SheetInterface* objSheet = nullptr;
    FretboardInterface* objFretboard = nullptr;
    qint16 intTestNoteCount = 0;        // fretboard clicks in the running test
    qint16 intCorrectTestNoteCount = 0; // right answers in the running test
    qint16 intTestNoteAssistCount = 0;  // staff assistance in the running test

    QString GetVersion() const override;
    bool Sequencer(qint32 intEvent, StartupFormInterface* startupForm, SheetInterface* sheet,
                   FretboardInterface* fretboard, notes& objNotes, QString& strRetMsg) override;
    NotePtr GetPlayingNote() const override { return objCurrPlayingNote; }
    QString GetActiveNoteName() const override { return strTestNoteName; }
    void GetTestResults(qint16& testNoteCount, qint16& correctTestNoteCount,
                        qint16& testNoteAssistCount) const override;
    void GenerateNextNote() override;
};
