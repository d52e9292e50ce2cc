#pragma once
// Free play: a press on the staff or the fretboard sounds the note until the button is
// released; hovering over the staff shows and names each level's note without sound.
// A secondary press on the staff sounds the level's second note (its sharp or flat).

#include "lessons/FreeActivity.h"

class LessonFreePlay final : public FreeActivity {
public:
    LessonFreePlay();
    // The playing note's name, "" when there is none.
    QString GetActiveNoteName() const override;
    // A played note is written on the staff, its cells are marked on the board and it
    // is named in the "Note" panel; nothing is sounded.
    bool NotePlayed(int midi, QString& message) override;

private:
    bool OnFretboard(const Note& note, QString& message) override;
    bool OnStaff(int level, bool secondary, QString& message) override;
    void OnStaffHover(int level) override;
    void ShowOnStaff(const QString& noteName);
};
