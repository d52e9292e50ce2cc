#pragma once
// Free play: a click on the staff or the fretboard sounds the note until the button is
// released; hovering over the staff shows and names each level's note without sound.
// A right click on the staff sounds the level's second note (its sharp or flat).

#include "lessons/FreeActivity.h"

class LessonFreePlay final : public FreeActivity {
public:
    LessonFreePlay();

    // The playing note's name, "" when there is none.
    QString GetActiveNoteName() const override;

private:
    bool HandleEvent(qint32 intEvent, SheetInterface* sheet, FretboardInterface* fretboard,
                     QString& strRetMsg) override;
    bool SheetClick(qint32 intEvent, SheetInterface* sheet, QString& strRetMsg);
    void SheetHover(SheetInterface* sheet);
    bool FretboardClick(FretboardInterface* fretboard, QString& strRetMsg);
    static void ShowOnSheet(SheetInterface& sheet, const QString& name);
};
