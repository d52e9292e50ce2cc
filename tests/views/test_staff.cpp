#include "views/ViewTestSupport.h"

#include "lessons/LessonGeneral.h"
#include "music/Notes.h"
#include "sound/MidiOut.h"
#include "sound/RecordingMidiOutput.h"
#include "views/TrainerControl.h"

#include <QCheckBox>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class StaffTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadDefaultSettings();
        ResetSelection();
        SetMidiOutput(std::make_unique<RecordingMidiOutput>(&midi));
        SeedDrillRandom(5);
    }
    void TearDown() override { SetMidiOutput(nullptr); }

    void Build(int guitarType, qint32 key = 4, qint16 scale = 1, bool flats = true)
    {
        GuitarType = guitarType;
        FlatSymbolPref = flats;
        GetNotes().Initialize();
        CurrKey = key;
        CurrScale = scale;
        CurrKeyName = KeyNames.Item(key);
        sheet.SetHost(&host);
        sheet.Initialise(TrainerControl::StaffWorkarea(), nullptr, 500);
        sheet.SetScale(CurrScale, CurrKeyName);
    }
    sheetNoteLevel& Level(int level) { return sheet.Note(1).Item(level); }
    sheetNoteLevel* LevelShowing(const QString& name)
    {
        for (int i = 1; i <= sheet.Note(1).Count(); ++i)
            if (Level(i).ContainsNoteName(name))
                return &Level(i);
        return nullptr;
    }

    RecordingMidiOutput::Log midi;
    TestHost host;
    SheetControl sheet;
};

} // namespace

TEST_F(StaffTest, LevelBoxesSitOnTheLinesAndSpacesOfEachInstrument)
{
    Build(0);
    const Rect& lowest = Level(1).rectSheetNoteLevelBounds;
    EXPECT_EQ(lowest.intTopLeftX, 260);
    EXPECT_EQ(lowest.intTopLeftY, 225);
    EXPECT_EQ(lowest.intTopRightX, 280);
    EXPECT_EQ(lowest.intBotLeftY, 235);
    EXPECT_EQ(Level(16).rectSheetNoteLevelBounds.floatCenterY, 80) << "F on the top line";
    EXPECT_EQ(Level(8).rectSheetNoteLevelBounds.floatCenterY, 160) << "E on the bottom line";
    EXPECT_EQ(Level(2).rectSheetNoteLevelBounds.floatCenterY, 220) << "on the third ledger line";
    // A point on the border of two levels belongs to the lower one.
    sheetNoteLevel* hit = nullptr;
    ASSERT_TRUE(sheet.IsWithinBounds(270, 225, hit));
    EXPECT_EQ(hit->intSheetNoteLevel, 1);

    Build(1);
    EXPECT_EQ(sheet.Note(1).Count(), 17);
    EXPECT_EQ(Level(1).rectSheetNoteLevelBounds.floatCenterY, 180);
    EXPECT_EQ(Level(3).rectSheetNoteLevelBounds.floatCenterY, 160) << "G on the bass clef's bottom line";
    Build(2);
    EXPECT_EQ(sheet.Note(1).Count(), 20);
    EXPECT_EQ(Level(1).rectSheetNoteLevelBounds.floatCenterY, 210);
    EXPECT_EQ(Level(1).strBaseNoteName, QStringLiteral("B"));
}

TEST_F(StaffTest, LedgerLinesAboveAndBelowTheStaff)
{
    Build(0);
    ASSERT_EQ(ExtraLineTable.Count(), 12);
    const ExtraLineInfo& below = ExtraLineTable.Item(QStringLiteral("1"));
    EXPECT_EQ(below.intLineAmount, 3);
    EXPECT_EQ(below.intFirstExtraLineTop, 220);
    EXPECT_EQ(below.intExtraLineWidth, 60);
    const ExtraLineInfo& above = ExtraLineTable.Item(QStringLiteral("23"));
    EXPECT_EQ(above.intLineAmount, 3);
    EXPECT_EQ(above.intFirstExtraLineTop, 60);
    EXPECT_EQ(ExtraLineTable.Find(QStringLiteral("7")), nullptr);
    Build(1);
    EXPECT_EQ(ExtraLineTable.Count(), 6);
    Build(2);
    EXPECT_EQ(ExtraLineTable.Count(), 9);
    EXPECT_EQ(ExtraLineTable.Item(QStringLiteral("1")).intLineAmount, 2);
}

TEST_F(StaffTest, TheScaleNotesOfEachLevelAndTheirSign)
{
    // B flat major with sharps: A# C D D# F G A.
    Build(0, 2, 1, /*flats=*/false);
    sheetNoteLevel* level = LevelShowing(QStringLiteral("A#-1"));
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->strBaseNoteName, QStringLiteral("A"));
    EXPECT_EQ(level->GetFirstNote()->strNoteName, QStringLiteral("A-1"));
    EXPECT_EQ(level->GetSecondNote()->strNoteName, QStringLiteral("A#-1"));
    sheet.DrawSheetNote(1, QStringLiteral("A#-1"));
    sheet.RefreshDisplay();
    EXPECT_EQ(sheet.ShownNoteName(), QStringLiteral("A#-1"));
    EXPECT_EQ(sheet.ShownAccidental(), 1);
    EXPECT_TRUE(sheet.accessibleDescription().contains(QStringLiteral("A#-1")));

    Build(0, 2, 1, /*flats=*/true);
    sheet.DrawSheetNote(1, QString());
    sheet.DrawSheetNote(1, QStringLiteral("Bb-1"));
    sheet.RefreshDisplay();
    EXPECT_EQ(sheet.ShownAccidental(), 2);
    sheet.DrawSheetNote(1, QString());
    sheet.DrawSheetNote(1, QStringLiteral("C-2"));
    sheet.RefreshDisplay();
    EXPECT_EQ(sheet.ShownAccidental(), 0);

    // A name no level holds, or the empty name through ClearSheet, changes nothing.
    sheet.DrawSheetNote(1, QStringLiteral("C#-2"));
    sheet.ClearSheet();
    sheet.RefreshDisplay();
    EXPECT_EQ(sheet.ShownNoteName(), QStringLiteral("C-2"));
    sheet.DrawSheetNote(1, QString(), false, false);
    sheet.RefreshDisplay();
    EXPECT_EQ(sheet.ShownNoteName(), QString());
}

TEST_F(StaffTest, AnEchoShowsGreyThenGoesAfterItsInterval)
{
    Build(0);
    sheet.DrawSheetNote(1, QStringLiteral("E-0"), true);
    sheet.DrawSheetNote(1, QStringLiteral("G-0"));
    sheet.RefreshDisplay();
    EXPECT_TRUE(sheet.IsEchoShown());
    EXPECT_EQ(sheet.ShownNoteName(), QStringLiteral("G-0"));
    EXPECT_FALSE(LevelShowing(QStringLiteral("E-0"))->IsVisible()) << "an echo draws once";
    const QImage image = sheet.grab().toImage();
    const QColor echo = image.pixelColor(270, 230);
    EXPECT_EQ(echo, QColor(192, 192, 192));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !sheet.IsEchoShown(); }, 2000));
    EXPECT_EQ(sheet.ShownNoteName(), QStringLiteral("G-0"));
}

TEST_F(StaffTest, ARightClickIsItsOwnEventInShowMeAndFreePlayButNotInTheDrill)
{
    Build(0);
    RecordingLesson lesson;
    host.receiver = &lesson;
    CurrActivity = ActivityShowMe;
    QTest::mouseClick(&sheet, Qt::RightButton, {}, QPoint(270, 230));
    CurrActivity = ActivityFreePlay;
    QTest::mouseClick(&sheet, Qt::RightButton, {}, QPoint(270, 230));
    CurrActivity = ActivityDrill;
    QTest::mouseClick(&sheet, Qt::RightButton, {}, QPoint(270, 230));
    QTest::mouseClick(&sheet, Qt::LeftButton, {}, QPoint(271, 229));
    ASSERT_EQ(lesson.events.size(), 4u);
    EXPECT_EQ(lesson.events[0].code, EventSheetRightClick);
    EXPECT_EQ(lesson.events[1].code, EventSheetRightClick);
    EXPECT_EQ(lesson.events[2].code, EventSheetClick);
    EXPECT_EQ(lesson.events[3].code, EventSheetClick);
    EXPECT_EQ(lesson.events[3].sheetX, 271);
    EXPECT_EQ(lesson.events[3].sheetY, 229);

    CurrActivity = ActivityPatternPlay;
    QTest::mouseClick(&sheet, Qt::LeftButton, {}, QPoint(270, 230));
    EXPECT_EQ(lesson.events.size(), 4u);
}

// The trainer page with a real numbered lesson behind it.
class TrainerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadDefaultSettings();
        ResetSelection();
        SetMidiOutput(std::make_unique<RecordingMidiOutput>(&midi));
        SeedDrillRandom(11);
        GuitarType = 0;
        PlayNoteOnPrompt = false;
        BluesNotesOnly = true;
        GetNotes().Initialize();
        CurrKey = 4;
        CurrScale = 1;
        CurrKeyName = KeyNames.Item(4);
        CurrPattern = 4;
        VisiblePatterns.Add(QStringLiteral("4"));
        CurrActivity = ActivityDrill;
        GetNotes().SetScale(CurrScale, CurrKeyName);
        host.receiver = &lesson;
        host.lesson = &lesson;
        trainer.SetHost(&host);
        trainer.Initialise();
        trainer.SetLocation(700, 480);
    }
    void TearDown() override { SetMidiOutput(nullptr); }

    // A cell showing name, searched in the visible pattern first.
    FretNote* CellOf(const QString& name)
    {
        FretboardControl& board = *trainer.objFretboard;
        for (int s = 1; s <= board.StringCount(); ++s)
            for (int f = 1; f <= 14; ++f)
                if (board.String(s).Item(f).GetNoteName() == name)
                    return &board.String(s).Item(f);
        return nullptr;
    }
    void ClickCell(const FretNote& cell, Qt::MouseButton button = Qt::LeftButton)
    {
        const Rect& r = cell.Bounds();
        QTest::mouseClick(trainer.objFretboard, button, {}, QPoint(qRound(r.floatCenterX), qRound(r.floatCenterY)));
    }

    RecordingMidiOutput::Log midi;
    MessageRecorder recorder;
    TestHost host;
    DrillLesson lesson;
    TrainerControl trainer;
};

TEST_F(TrainerTest, ALessonDrillsEndToEndWithRealClicks)
{
    const QString prompt = lesson.GetActiveNoteName();
    ASSERT_FALSE(prompt.isEmpty());
    EXPECT_EQ(trainer.objSheet->ShownNoteName(), prompt);
    EXPECT_EQ(host.form.panels[QStringLiteral("Note")], prompt);

    // A wrong cell first.
    FretNote* wrong = CellOf(prompt == QStringLiteral("E-0") ? QStringLiteral("F-0") : QStringLiteral("E-0"));
    ASSERT_NE(wrong, nullptr);
    ClickCell(*wrong);
    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("Incorrect! Click on sheetnote for assistance."));

    // Assistance: a click on the staff note marks its positions.
    sheetNoteLevel* level = nullptr;
    for (int i = 1; i <= trainer.objSheet->Note(1).Count() && !level; ++i)
        if (trainer.objSheet->Note(1).Item(i).IsVisible())
            level = &trainer.objSheet->Note(1).Item(i);
    ASSERT_NE(level, nullptr);
    const Rect& box = level->rectSheetNoteLevelBounds;
    QTest::mouseClick(trainer.objSheet, Qt::LeftButton, {}, QPoint(qRound(box.floatCenterX), qRound(box.floatCenterY)));
    FretNote* right = CellOf(prompt);
    ASSERT_NE(right, nullptr);
    EXPECT_TRUE(right->boolIsNoteToBeDrawn);

    ClickCell(*right);
    EXPECT_EQ(recorder.lastStatus(), QStringLiteral("Correct! Now try the next note."));
    ASSERT_GE(midi.messages.size(), 2u);
    EXPECT_EQ(midi.messages[1], PackShortMessage(0x90, right->objThisNote->intNoteMidiIndex, 127));
    EXPECT_NE(lesson.GetActiveNoteName(), prompt);
    EXPECT_EQ(trainer.objSheet->ShownNoteName(), lesson.GetActiveNoteName());
    EXPECT_FALSE(right->boolIsNoteToBeDrawn) << "assistance marks go with the next prompt";
}

TEST_F(TrainerTest, ThePatternSelectorCyclesOneToFiveBothWays)
{
    QScrollBar* scroll = trainer.scrollPattern;
    EXPECT_EQ(scroll->value(), 6 - 4);
    scroll->setValue(scroll->value() - 1); // up: pattern 5
    EXPECT_EQ(CurrPattern, 5);
    scroll->setValue(scroll->value() - 1); // up past 5: pattern 1
    EXPECT_EQ(CurrPattern, 1);
    EXPECT_EQ(VisiblePatterns.Item(1), QStringLiteral("1"));
    scroll->setValue(scroll->value() + 1); // down past 1: pattern 5
    EXPECT_EQ(CurrPattern, 5);
    EXPECT_FALSE(ScaleRebuildPending);
    for (const VisiblePatNote& entry : VisiblePatNotes)
        EXPECT_TRUE(trainer.objFretboard->PatternContainsAndIsVisible(entry.strName, 5));
}

TEST_F(TrainerTest, UncheckingPentatonicBringsNotesBackAndAsksANewQuestion)
{
    ASSERT_TRUE(trainer.chkBluesNotesOnly->isChecked());
    const int pentatonicPool = VisiblePatNotes.Count();
    lesson.strTestNoteName = QStringLiteral("sentinel");
    trainer.chkBluesNotesOnly->click();
    EXPECT_FALSE(BluesNotesOnly);
    EXPECT_GT(VisiblePatNotes.Count(), pentatonicPool) << "the additional notes come back";
    EXPECT_NE(lesson.GetActiveNoteName(), QStringLiteral("sentinel"));
    EXPECT_EQ(host.form.panels[QStringLiteral("Note")], lesson.GetActiveNoteName());
}

TEST_F(TrainerTest, HidePatternRedrawsWithoutANewQuestion)
{
    lesson.strTestNoteName = QStringLiteral("sentinel");
    trainer.chkHidePattern->click();
    EXPECT_TRUE(HidePattern);
    EXPECT_EQ(lesson.GetActiveNoteName(), QStringLiteral("sentinel"));
}
