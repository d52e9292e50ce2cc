#pragma once
// What show me and free play have in common: they prompt nothing and judge nothing, so
// a click on the staff or the fretboard only shows, sounds and names the clicked note.
// Both answer the staff at one fixed column: only the height of a click matters.

#include "lessons/LessonInterface.h"

class FreeActivity : public LessonInterface {
public:
    qint32 intState = 0;        // 0 not yet set up, 1 ready
    NotePtr objCurrPlayingNote; // the note last chosen; stopped by the button release

    QString GetVersion() const override { return QStringLiteral("1.0"); }
    bool Sequencer(qint32 intEvent, StartupFormInterface* startupForm, SheetInterface* sheet,
                   FretboardInterface* fretboard, notes& objNotes, QString& strRetMsg) final;
    NotePtr GetPlayingNote() const override { return objCurrPlayingNote; }
    void GetTestResults(qint16& testNoteCount, qint16& correctTestNoteCount,
                        qint16& testNoteAssistCount) const override;
    void GenerateNextNote() override {}

    // The lowest and highest names a staff can show lie beyond the guitar's fretboard:
    // they are never drawn or sounded from the staff.
    static bool IsExcludedSheetName(const QString& name);

protected:
    FreeActivity(const QString& name, qint16 lessonType);

    // First event: clears what the last activity chose and takes the staff column.
    virtual void SetUp(SheetInterface* sheet);
    // Events after set-up; false when a note could not be sounded.
    virtual bool HandleEvent(qint32 intEvent, SheetInterface* sheet, FretboardInterface* fretboard,
                             QString& strRetMsg) = 0;

    // The staff level at the click's height, or null.
    SheetNoteLevelInterface* HitSheetLevel(SheetInterface* sheet) const;
    // The fretboard cell clicked (a right click means the open string), or null.
    static FretNoteInterface* HitFretboardCell(FretboardInterface* fretboard);
    // The note a staff event asks for: the level's second note for a right click.
    NotePtr ChooseLevelNote(const SheetNoteLevelInterface& level, qint32 intEvent);

    qint16 intSheetColumn = 0;         // x of every staff hit test
    bool boolSecondNoteRequested = false; // the last staff event asked for the second note
};
