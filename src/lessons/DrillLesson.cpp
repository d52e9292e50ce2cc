#include "lessons/DrillLesson.h"

#include "lessons/LessonGeneral.h"

QString DrillLesson::GetVersion() const
{
    return QStringLiteral("1.0");
}

bool DrillLesson::Sequencer(qint32 intEvent, StartupFormInterface* startupForm, SheetInterface* sheet,
                            FretboardInterface* fretboard, notes& objNotes, QString& strRetMsg)
{
    return DrillSequencer(*this, intEvent, startupForm, sheet, fretboard, objNotes, strRetMsg);
}

void DrillLesson::GetTestResults(qint16& testNoteCount, qint16& correctTestNoteCount,
                                 qint16& testNoteAssistCount) const
{
    testNoteCount = intTestNoteCount;
    correctTestNoteCount = intCorrectTestNoteCount;
    testNoteAssistCount = intTestNoteAssistCount;
}

void DrillLesson::GenerateNextNote()
{
    DrillNextNote(*this);
}
