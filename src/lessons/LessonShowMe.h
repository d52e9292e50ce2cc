#pragma once
// Show me: a press on the staff or the fretboard draws the note on the staff, marks
// every position of it on the fretboard and sounds it while the button is held. A
// secondary press on the staff takes the level's second note.

#include "lessons/FreeActivity.h"

class LessonShowMe final : public FreeActivity {
public:
    LessonShowMe();
    // The playing note's name; without one, "No 'sharp' note" when flats are preferred
    // and "No 'flat' note" otherwise.
    QString GetActiveNoteName() const override;

private:
    void SetUp() override;
    bool OnFretboard(const Note& note, QString& message) override;
    bool OnStaff(int level, bool secondary, QString& message) override;
    void ShowEverywhere(const QString& noteName);
};
