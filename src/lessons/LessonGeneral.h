#pragma once
// The drill engine shared by the numbered lessons: prompting, judging fretboard clicks,
// staff assistance, test counting and the test score.

#include "lessons/DrillLesson.h"

#include <random>

bool DrillSequencer(DrillLesson& lesson, qint32 intEvent, StartupFormInterface* startupForm,
                    SheetInterface* sheet, FretboardInterface* fretboard, notes& objNotes,
                    QString& strRetMsg);

// Replaces the prompt, avoiding a repeat when the pool allows; draws the previous
// prompt as an echo when echoes are on.
void DrillNextNote(DrillLesson& lesson);

// A random name from VisiblePatNotes, uniform over positions; "" for an empty pool.
QString PickVisiblePatternNote(DrillLesson& lesson);

void ShowNoteInStatusBar(DrillLesson& lesson, const QString& name);

QString GetCongratulationText();
QString GetPromptText(); // "Please click on the sheet to hear this note's sound."

// Score of a timed test as a fraction 0..1: (K / N) * (K / (K + 1)) with K the
// unassisted right answers, 0 when K <= 0 or no click was made.
float ComputeTestScore(qint16 testNoteCount, qint16 correctTestNoteCount,
                       qint16 testNoteAssistCount, qint32 testDuration);

// The drill's one random generator, seeded once from the system; tests may reseed it.
std::mt19937& DrillRandom();
void SeedDrillRandom(unsigned seed);
