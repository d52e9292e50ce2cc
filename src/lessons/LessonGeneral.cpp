#include "lessons/LessonGeneral.h"

#include "core/Messages.h"
#include "core/Selection.h"
#include "core/Settings.h"
#include "music/Notes.h"

#include <QCoreApplication>

#include <cmath>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("LessonGeneral", text);
}

void NewPrompt(DrillLesson& lesson)
{
    lesson.objCurrPlayingNote.reset();
    const QString name = PickVisiblePatternNote(lesson);
    lesson.strTestNoteName = name;
    if (lesson.objSheet) {
        lesson.objSheet->DrawSheetNote(1, QString());
        lesson.objSheet->DrawSheetNote(1, name);
        lesson.objSheet->RefreshDisplay();
    }
    ShowNoteInStatusBar(lesson, name);
    if (PlayNoteOnPrompt && lesson.objSheet)
        lesson.objSheet->SetPrompt(GetPromptText(), false);
}

void CountFretboardClick(DrillLesson& lesson)
{
    if (TestState == TestArmed) {
        TestState = TestRunning;
        lesson.intTestNoteCount = 1;
        lesson.intCorrectTestNoteCount = 0;
        lesson.intTestNoteAssistCount = 0;
    } else if (TestState == TestRunning) {
        ++lesson.intTestNoteCount;
    } else {
        lesson.intTestNoteCount = 0;
        lesson.intCorrectTestNoteCount = 0;
        lesson.intTestNoteAssistCount = 0;
    }
}

void StartTimeout(DrillLesson& lesson, NotePtr note)
{
    if (lesson.frmStartup)
        lesson.frmStartup->StartNoteTimeout(std::move(note));
}

bool RightAnswer(DrillLesson& lesson, FretNoteInterface& cell, QString& strRetMsg)
{
    SetStatusText(Tr("Correct! Now try the next note."));
    if (!PlayNoteOnPrompt) {
        if (EnableSound && !cell.PlayNote(strRetMsg))
            return false;
        lesson.objCurrPlayingNote.reset();
        StartTimeout(lesson, cell.ThisNote());
        DrillNextNote(lesson);
        return true;
    }
    if (lesson.objSheet)
        lesson.objSheet->SetPrompt(GetCongratulationText(), true);
    if (EnableSound) {
        const NotePtr note = cell.ThisNote();
        if (note && !note->PlaySound(strRetMsg))
            return false;
        lesson.objCurrPlayingNote.reset();
        StartTimeout(lesson, note);
    }
    NextNotePending = true;
    return true;
}

bool WrongAnswer(DrillLesson& lesson, FretNoteInterface& cell, QString& strRetMsg)
{
    lesson.objCurrPlayingNote.reset();
    if (!PlayNoteOnPrompt) {
        if (BeepOnError && lesson.frmStartup)
            lesson.frmStartup->Beep();
    } else {
        if (lesson.objSheet)
            lesson.objSheet->SetPrompt(GetPromptText(), false);
        if (EnableSound) {
            // The wrongly chosen note sounds while the button is held.
            const NotePtr note = cell.ThisNote();
            if (note && !note->PlaySound(strRetMsg))
                return false;
            lesson.objCurrPlayingNote = note;
        }
    }
    SetStatusText(Tr("Incorrect! Click on sheetnote for assistance."));
    return true;
}

bool FretboardClick(DrillLesson& lesson, QString& strRetMsg)
{
    CountFretboardClick(lesson);
    FretboardInterface* fretboard = lesson.objFretboard;
    if (!fretboard)
        return true;
    FretNoteInterface* cell = nullptr;
    if (!fretboard->IsWithinBounds(fretboard->boolRightButtonClicked, fretboard->intCurrentX,
                                   fretboard->intCurrentY, cell)
        || !cell)
        return true;
    fretboard->boolRightButtonClicked = false;
    const QString answer = cell->GetNoteName();
    if (!lesson.strTestNoteName.isEmpty() && answer == lesson.strTestNoteName)
        return RightAnswer(lesson, *cell, strRetMsg);
    return WrongAnswer(lesson, *cell, strRetMsg);
}

bool SheetClick(DrillLesson& lesson, notes& objNotes, QString& strRetMsg)
{
    SheetInterface* sheet = lesson.objSheet;
    if (!sheet)
        return true;
    SheetNoteLevelInterface* level = nullptr;
    if (sheet->IsWithinBounds(sheet->intCurrentX, sheet->intCurrentY, level) && level) {
        if (lesson.objFretboard) {
            lesson.objFretboard->DrawFretNote(level->VisibleNoteName(), false);
            lesson.objFretboard->RefreshDisplay();
        }
        if (TestState == TestRunning)
            ++lesson.intTestNoteAssistCount;
    }
    if (!PlayNoteOnPrompt) {
        lesson.objCurrPlayingNote.reset();
        return true;
    }
    sheet->SetPrompt(GetPromptText(), false);
    const NotePtr note = EnableSound && !lesson.strTestNoteName.isEmpty()
        ? objNotes.FindNoteObject(lesson.strTestNoteName) : nullptr;
    if (note && !note->PlaySound(strRetMsg))
        return false;
    lesson.objCurrPlayingNote = note; // the prompt sounds while the button is held
    return true;
}

} // namespace

QString GetCongratulationText()
{
    return Tr("Congratulations! You got it - if you want to, click on the sheet to hear the next note's sound.");
}

QString GetPromptText()
{
    return Tr("Please click on the sheet to hear this note's sound.");
}

std::mt19937& DrillRandom()
{
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

void SeedDrillRandom(unsigned seed)
{
    DrillRandom().seed(seed);
}

QString PickVisiblePatternNote(DrillLesson&)
{
    const int count = VisiblePatNotes.Count();
    if (count == 0)
        return QString();
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    const int position = std::min(count, static_cast<int>(std::floor(count * uniform(DrillRandom()))) + 1);
    return VisiblePatNotes.Item(position).strName;
}

void ShowNoteInStatusBar(DrillLesson& lesson, const QString& name)
{
    if (lesson.frmStartup)
        lesson.frmStartup->SetStatusPanelText(QStringLiteral("Note"), name);
}

bool DrillSequencer(DrillLesson& lesson, qint32 intEvent, StartupFormInterface* startupForm,
                    SheetInterface* sheet, FretboardInterface* fretboard, notes& objNotes,
                    QString& strRetMsg)
{
    lesson.frmStartup = startupForm;
    lesson.objSheet = sheet;
    lesson.objFretboard = fretboard;

    if (lesson.intState == 1 && intEvent == EventStartOver)
        lesson.intState = 0;
    if (lesson.intState == 0) {
        // The first event only brings up the first prompt.
        NewPrompt(lesson);
        lesson.intState = 1;
        return true;
    }
    if (lesson.intState != 1)
        return true;

    bool ok = true;
    if (intEvent == EventSheetClick)
        ok = SheetClick(lesson, objNotes, strRetMsg);
    else if (intEvent == EventFretboardClick)
        ok = FretboardClick(lesson, strRetMsg);
    if (!ok)
        return false;
    lesson.intState = 1;
    return true;
}

void DrillNextNote(DrillLesson& lesson)
{
    const QString previous = lesson.strTestNoteName;
    QString candidate = PickVisiblePatternNote(lesson);
    for (int redraw = 0; redraw < 5 && candidate == lesson.strTestNoteName; ++redraw)
        candidate = PickVisiblePatternNote(lesson);
    if (candidate.isEmpty())
        candidate = lesson.strTestNoteName;
    lesson.strTestNoteName = candidate;
    if (lesson.objSheet) {
        lesson.objSheet->DrawSheetNote(1, QString());
        if (PrevNoteEchoDuration != 0 && EchoEnabled)
            lesson.objSheet->DrawSheetNote(1, previous, true);
        lesson.objSheet->DrawSheetNote(1, candidate);
        lesson.objSheet->RefreshDisplay();
    }
    ShowNoteInStatusBar(lesson, candidate);
    if (lesson.objFretboard) {
        lesson.objFretboard->DrawFretNote(QString(), false);
        lesson.objFretboard->RefreshDisplay();
    }
    if (TestState == TestRunning)
        ++lesson.intCorrectTestNoteCount;
}

float ComputeTestScore(qint16 testNoteCount, qint16 correctTestNoteCount,
                       qint16 testNoteAssistCount, qint32 testDuration)
{
    const int unassisted = correctTestNoteCount - testNoteAssistCount;
    if (unassisted <= 0 || testNoteCount < 1 || testDuration < 1)
        return 0.0f;
    const int divisor = std::max(unassisted + 1, 1);
    const float quotient = static_cast<float>(static_cast<double>(testDuration) / divisor);
    const float factor = 1.0f - quotient / static_cast<float>(testDuration);
    const float proportion = static_cast<float>(static_cast<double>(unassisted) / testNoteCount);
    return proportion * factor;
}
