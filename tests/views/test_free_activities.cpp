// Free play and show me on the real staff and fretboard, driven by mouse clicks.
#include "views/ViewTestSupport.h"

#include "lessons/LessonFreePlay.h"
#include "lessons/LessonShowMe.h"
#include "lessons/NumberedLessons.h"
#include "music/Notes.h"
#include "sound/MidiOut.h"
#include "sound/RecordingMidiOutput.h"
#include "views/TrainerControl.h"

#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int kKeyBFlat = 2, kKeyC = 4, kKeyD = 6, kKeyEFlat = 7, kKeyG = 11;

class FreeActivityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadDefaultSettings();
        ResetSelection();
        auto output = std::make_unique<RecordingMidiOutput>(&midi);
        recordingOutput = output.get();
        SetMidiOutput(std::move(output));
        GuitarType = 0;
        EnableSound = true;
        host.lesson = &drill;
        trainer.SetHost(&host);
    }
    void TearDown() override { SetMidiOutput(nullptr); }

    // The trainer page in one of the two activities, in a key and spelling.
    void Start(LessonInterface& activity, qint32 activityCode, qint32 key, bool flats)
    {
        FlatSymbolPref = flats;
        GetNotes().Initialize();
        CurrKey = key;
        CurrScale = 1;
        CurrKeyName = KeyNames.Item(key);
        CurrPattern = 4;
        VisiblePatterns.Add(QStringLiteral("4"));
        GetNotes().SetScale(CurrScale, CurrKeyName);
        CurrActivity = activityCode;
        host.receiver = &activity;
        trainer.Initialise(); // wakes the activity
        trainer.SetLocation(700, 480);
        midi.messages.clear();
    }

    SheetControl& Sheet() { return *trainer.objSheet; }
    sheetNoteLevel* FindLevel(const std::function<bool(const sheetNoteLevel&)>& wanted)
    {
        for (int i = 1; i <= Sheet().Note(1).Count(); ++i)
            if (wanted(Sheet().Note(1).Item(i)))
                return &Sheet().Note(1).Item(i);
        return nullptr;
    }
    sheetNoteLevel* LevelWithFirstNote(const QString& name)
    {
        return FindLevel([&](const sheetNoteLevel& l) { return l.GetFirstNote() && l.GetFirstNote()->strNoteName == name; });
    }
    sheetNoteLevel* EmptyLevel()
    {
        return FindLevel([](const sheetNoteLevel& l) { return !l.GetFirstNote(); });
    }
    sheetNoteLevel* TwoNoteLevel()
    {
        return FindLevel([](const sheetNoteLevel& l) { return l.collObjNotes.Count() == 2; });
    }
    // Only the height of a staff click matters, so these land well left of the note.
    QPoint LeftOf(const sheetNoteLevel& level)
    {
        return {40, qRound(level.rectSheetNoteLevelBounds.floatCenterY)};
    }
    // Moves the pointer over the staff with no button held, through the window as the
    // platform would.
    void Hover(QPoint onSheet)
    {
        if (!trainer.isVisible()) {
            trainer.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&trainer));
        }
        QTest::mouseMove(trainer.windowHandle(), Sheet().mapTo(&trainer, onSheet));
    }
    void ClickLevel(const sheetNoteLevel& level, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(&Sheet(), button, {}, LeftOf(level));
    }
    FretNote& Cell(int string, int fret) { return trainer.objFretboard->String(string).Item(fret); }
    void ClickCell(int string, int fret, Qt::MouseButton button = Qt::LeftButton)
    {
        const Rect& r = Cell(string, fret).Bounds();
        QTest::mouseClick(trainer.objFretboard, button, {}, QPoint(qRound(r.floatCenterX), qRound(r.floatCenterY)));
    }
    // The note name of every marked cell.
    QStringList Marked()
    {
        QStringList names;
        FretboardControl& board = *trainer.objFretboard;
        for (int s = 1; s <= board.StringCount(); ++s)
            for (int f = 1; f <= 14; ++f)
                if (board.String(s).Item(f).boolIsNoteToBeDrawn)
                    names.append(board.String(s).Item(f).GetNoteName());
        return names;
    }
    bool Sounded(const NotePtr& note) const
    {
        const quint32 on = PackShortMessage(0x90 + Channel, note->intNoteMidiIndex, 127);
        return std::find(midi.messages.begin(), midi.messages.end(), on) != midi.messages.end();
    }
    bool Silenced(const NotePtr& note) const
    {
        const quint32 off = PackShortMessage(0x80 + Channel, note->intNoteMidiIndex, 0);
        return !midi.messages.empty() && midi.messages.back() == off;
    }
    QString NotePanel() { return host.form.panels[QStringLiteral("Note")]; }

    RecordingMidiOutput::Log midi;
    RecordingMidiOutput* recordingOutput = nullptr;
    MessageRecorder recorder;
    TestHost host;
    LessonOne drill;
    LessonFreePlay freePlay;
    LessonShowMe showMe;
    TrainerControl trainer;
};

} // namespace

TEST_F(FreeActivityTest, FreePlaySoundsAStaffNoteWhileTheButtonIsHeld)
{
    Start(freePlay, ActivityFreePlay, kKeyC, true);
    sheetNoteLevel* level = LevelWithFirstNote(QStringLiteral("G-1"));
    ASSERT_NE(level, nullptr);
    QTest::mousePress(&Sheet(), Qt::LeftButton, {}, LeftOf(*level));
    EXPECT_EQ(Sheet().ShownNoteName(), QStringLiteral("G-1"));
    EXPECT_EQ(NotePanel(), QStringLiteral("G-1"));
    EXPECT_TRUE(Sounded(level->GetFirstNote()));
    // Dragging with the button down must not swap the sounding note for a hovered one.
    sheetNoteLevel* other = LevelWithFirstNote(QStringLiteral("C-2"));
    ASSERT_NE(other, nullptr);
    QTest::mouseMove(&Sheet(), LeftOf(*other));
    QTest::mouseRelease(&Sheet(), Qt::LeftButton, {}, LeftOf(*other));
    EXPECT_TRUE(Silenced(level->GetFirstNote()));
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(FreeActivityTest, FreePlayHoverDrawsAndNamesEachNoteWithoutSound)
{
    Start(freePlay, ActivityFreePlay, kKeyC, true);
    for (const QString& name : {QStringLiteral("E-0"), QStringLiteral("B-1"), QStringLiteral("F-3")}) {
        sheetNoteLevel* level = LevelWithFirstNote(name);
        ASSERT_NE(level, nullptr) << name.toStdString();
        Hover(LeftOf(*level));
        EXPECT_EQ(Sheet().ShownNoteName(), name);
        EXPECT_EQ(NotePanel(), name);
    }
    EXPECT_TRUE(midi.messages.empty());
    // Hovering beside the staff's levels changes nothing.
    Hover(QPoint(40, 2));
    EXPECT_EQ(Sheet().ShownNoteName(), QStringLiteral("F-3"));
}

TEST_F(FreeActivityTest, FreePlayNamesAnEmptyLineAndReachesBothNotesOfALevel)
{
    // B flat major spelled with sharps: the A level holds A and A#, the B level nothing.
    Start(freePlay, ActivityFreePlay, kKeyBFlat, false);
    sheetNoteLevel* empty = EmptyLevel();
    ASSERT_NE(empty, nullptr);
    ClickLevel(*empty);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.lastMessage(), QStringLiteral("There isn't a note on this line. Please select another one."));
    EXPECT_TRUE(midi.messages.empty());
    EXPECT_EQ(NotePanel(), QString());

    sheetNoteLevel* level = TwoNoteLevel();
    ASSERT_NE(level, nullptr);
    const NotePtr second = level->GetSecondNote();
    ASSERT_NE(second, level->GetFirstNote());
    ClickLevel(*level, Qt::RightButton);
    EXPECT_EQ(Sheet().ShownNoteName(), second->strNoteName);
    EXPECT_EQ(NotePanel(), second->strNoteName);
    EXPECT_TRUE(Sounded(second));
    EXPECT_FALSE(Sounded(level->GetFirstNote()));
    EXPECT_TRUE(Silenced(second));
}

TEST_F(FreeActivityTest, FreePlayFretboardClickSoundsTheCellAndLeavesTheStaff)
{
    Start(freePlay, ActivityFreePlay, kKeyC, true);
    Sheet().DrawSheetNote(1, QString());
    Sheet().RefreshDisplay();
    ClickCell(1, 4); // low E string, fret 3
    EXPECT_EQ(NotePanel(), QStringLiteral("G-0"));
    EXPECT_TRUE(Sounded(Cell(1, 4).objThisNote));
    EXPECT_TRUE(Silenced(Cell(1, 4).objThisNote));
    EXPECT_EQ(Sheet().ShownNoteName(), QString());
    EXPECT_TRUE(Marked().isEmpty());
    ClickCell(2, 9, Qt::RightButton); // the string's open note
    EXPECT_EQ(NotePanel(), QStringLiteral("A-1"));

    // A note that cannot sound is reported; what was drawn stays.
    recordingOutput->openError = 77;
    ClickLevel(*LevelWithFirstNote(QStringLiteral("D-1")));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_TRUE(recorder.lastMessage().contains(QStringLiteral("The device is gone")));
    EXPECT_EQ(Sheet().ShownNoteName(), QStringLiteral("D-1"));
}

TEST_F(FreeActivityTest, ShowMeRightClickOnATwoNoteLevelShowsMarksSoundsAndNamesTheSecond)
{
    Start(showMe, ActivityShowMe, kKeyBFlat, false);
    sheetNoteLevel* level = TwoNoteLevel();
    ASSERT_NE(level, nullptr);
    const NotePtr second = level->GetSecondNote();
    ASSERT_NE(second, level->GetFirstNote());
    ClickLevel(*level, Qt::RightButton);
    EXPECT_EQ(Sheet().ShownNoteName(), second->strNoteName);
    EXPECT_EQ(Sheet().ShownAccidental(), 1);
    const QStringList marked = Marked();
    EXPECT_GT(marked.size(), 1) << "every position is marked";
    EXPECT_EQ(marked.count(second->strNoteName), marked.size());
    EXPECT_TRUE(Sounded(second));
    EXPECT_TRUE(Silenced(second));
    EXPECT_EQ(NotePanel(), second->strNoteName);

    // The left button takes the level's first note; a fretboard click shows its cell's.
    ClickLevel(*level);
    EXPECT_EQ(Sheet().ShownNoteName(), level->GetFirstNote()->strNoteName);
    ClickCell(3, 4); // D string, fret 3: F
    const NotePtr cellNote = Cell(3, 4).objThisNote;
    EXPECT_EQ(Sheet().ShownNoteName(), cellNote->strNoteName);
    EXPECT_EQ(Marked().count(cellNote->strNoteName), Marked().size());
    EXPECT_TRUE(Sounded(cellNote));
    EXPECT_EQ(NotePanel(), cellNote->strNoteName);
}

TEST_F(FreeActivityTest, ShowMeNamesTheMissingNoteOfAnEmptyLevel)
{
    // D major spelled with flats: the F level holds nothing, its F# is written Gb.
    Start(showMe, ActivityShowMe, kKeyD, true);
    sheetNoteLevel* filled = LevelWithFirstNote(QStringLiteral("A-1"));
    ASSERT_NE(filled, nullptr);
    ClickLevel(*filled);
    sheetNoteLevel* empty = EmptyLevel();
    ASSERT_NE(empty, nullptr);
    ClickLevel(*empty);
    EXPECT_EQ(NotePanel(), QStringLiteral("No 'sharp' note"));
    EXPECT_EQ(Sheet().ShownNoteName(), QStringLiteral("A-1")) << "nothing new is drawn";
    EXPECT_TRUE(recorder.shown.empty());

    trainer.objFretboard->ClearFretboard();
    Start(showMe, ActivityShowMe, kKeyBFlat, false);
    ClickLevel(*EmptyLevel());
    EXPECT_EQ(NotePanel(), QStringLiteral("No 'flat' note"));
    EXPECT_TRUE(midi.messages.empty());
}

TEST_F(FreeActivityTest, TheNotesBeyondTheFretboardAreNeverDrawnOrSoundedFromTheStaff)
{
    struct Case {
        qint32 key;
        bool flats;
        const char* name;
    };
    for (const Case c : {Case{kKeyEFlat, true, "Eb-0"}, Case{kKeyG, false, "F#-3"}}) {
        for (const bool showMeActivity : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (showMeActivity ? " show me" : " free play"));
            LessonFreePlay freshFreePlay;
            LessonShowMe freshShowMe;
            LessonInterface& activity = showMeActivity ? static_cast<LessonInterface&>(freshShowMe) : freshFreePlay;
            Start(activity, showMeActivity ? ActivityShowMe : ActivityFreePlay, c.key, c.flats);
            sheetNoteLevel* level = LevelWithFirstNote(QString::fromLatin1(c.name));
            ASSERT_NE(level, nullptr);
            Sheet().DrawSheetNote(1, QString());
            Sheet().RefreshDisplay();
            ClickLevel(*level);
            if (!showMeActivity)
                Hover(LeftOf(*level));
            EXPECT_EQ(Sheet().ShownNoteName(), QString());
            EXPECT_TRUE(Marked().isEmpty());
            for (const quint32 message : midi.messages)
                EXPECT_EQ(message & 0xF0, 0x80u) << "at most the release's note-off";
            EXPECT_FALSE(Sounded(level->GetFirstNote()));
            host.receiver = nullptr;
        }
    }
}
