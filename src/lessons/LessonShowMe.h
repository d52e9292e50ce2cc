#pragma once
// Show me: a click on the staff or the fretboard draws the note on the staff, marks
// every position of it on the fretboard and sounds it while the button is held. A right
// click on the staff takes the level's second note.

#include "lessons/FreeActivity.h"

class LessonShowMe final : public FreeActivity {
public:
    LessonShowMe();

    // The playing note's name; without one, "No 'sharp' note" when flats are preferred
    // and "No 'flat' note" otherwise.
    QString GetActiveNoteName() const override;

private:
    void SetUp(SheetInterface* sheet) override;
    bool HandleEvent(qint32 intEvent, SheetInterface* sheet, FretboardInterface* fretboard,
                     QString& strRetMsg) override;
    bool SheetClick(qint32 intEvent, SheetInterface* sheet, FretboardInterface* fretboard, QString& strRetMsg);
    bool FretboardClick(SheetInterface* sheet, FretboardInterface* fretboard, QString& strRetMsg);
    static void ShowEverywhere(SheetInterface* sheet, FretboardInterface* fretboard, const QString& name);
};
