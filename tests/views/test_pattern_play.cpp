// The "Patterns" page driven through its selectors as a learner would.
#include "views/ViewTestSupport.h"

#include "lessons/NumberedLessons.h"
#include "music/Notes.h"
#include "views/PatternPlayControl.h"
#include "views/TrainerControl.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QTest>
#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

using Cells = std::set<std::pair<int, int>>; // (string, fret position)

class PatternPlayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadDefaultSettings();
        ResetSelection();
        GuitarType = 0;
        BluesNotesOnly = false;
        GetNotes().Initialize();
        host.lesson = &lesson; // "Lesson 1 - Start": C major, pattern 4
    }

    // The drill's state as the main window leaves it on entering the page.
    void EnterPage(qint32 key = 4, qint16 scale = 1, const QString& visiblePattern = QStringLiteral("4"))
    {
        CurrKey = key;
        CurrScale = scale;
        CurrKeyName = KeyNames.Item(key);
        CurrPattern = static_cast<qint16>(visiblePattern.toInt());
        VisiblePatterns.Clear();
        VisiblePatterns.Add(visiblePattern);
        GetNotes().SetScale(CurrScale, CurrKeyName);
        CurrActivity = ActivityPatternPlay;
        control.SetHost(&host);
        control.SetLocation(900, 400);
        control.Initialise();
        control.RequestRepaint();
        if (!control.isVisible()) {
            control.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&control));
        }
    }

    // Opens the list and clicks the entry, as a learner chooses.
    void Choose(QComboBox* box, const QString& text)
    {
        const int index = box->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        box->showPopup();
        QAbstractItemView* list = box->view();
        ASSERT_TRUE(QTest::qWaitFor([&] { return list->isVisible(); }, 2000));
        const QRect item = list->visualRect(list->model()->index(index, 0));
        const QPoint point(list->viewport()->width() / 2, item.center().y());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !list->isVisible(); }, 2000));
    }

    Cells Highlighted()
    {
        Cells cells;
        FretboardControl& board = *control.objFretboard;
        for (int s = 1; s <= board.StringCount(); ++s)
            for (int f = 1; f <= 14; ++f)
                if (board.String(s).Item(f).boolIsNoteHilitedPatternNote)
                    cells.insert({s, f});
        return cells;
    }
    // The highlighted cells between two fret positions, moved by shift frets.
    static Cells Window(const Cells& cells, int from, int to, int shift = 0)
    {
        Cells window;
        for (const auto& [s, f] : cells)
            if (f >= from && f <= to)
                window.insert({s, f + shift});
        return window;
    }

    TestHost host;
    LessonOne lesson;
    PatternPlayControl control;
};

} // namespace

TEST_F(PatternPlayTest, EnteringThePageShowsTheLessonsKeyScaleAndVisiblePattern)
{
    EnterPage();
    EXPECT_EQ(control.cboKey->count(), 12);
    EXPECT_EQ(control.cboKey->currentText(), QStringLiteral("C"));
    EXPECT_EQ(control.cboKey->itemText(1), QStringLiteral("B flat"));
    EXPECT_EQ(control.cboScale->currentText(), QStringLiteral("Major"));
    EXPECT_EQ(control.cboPatterns->count(), 6);
    EXPECT_EQ(control.cboPatterns->currentText(), QStringLiteral("Pattern 4"));
    EXPECT_EQ(control.cboPatterns->itemText(5), QStringLiteral("All Patterns"));
    EXPECT_FALSE(control.chkBluesNotesOnly->isChecked());
    EXPECT_FALSE(Highlighted().empty());
    EXPECT_FALSE(ScaleRebuildPending);

    // The frame stands in the middle of the page.
    const QRect frame = control.fmFrame->geometry();
    EXPECT_NEAR(frame.center().x(), 450, 1);
    EXPECT_NEAR(frame.center().y(), 200, 1);
    EXPECT_TRUE(frame.contains(control.objFretboard->geometry().translated(frame.topLeft())));
}

TEST_F(PatternPlayTest, AnotherKeyMovesThePatternAlongTheNeck)
{
    EnterPage();
    const Cells inC = Highlighted();
    Choose(control.cboKey, QStringLiteral("D"));
    EXPECT_EQ(CurrKey, 6);
    EXPECT_EQ(CurrKeyName, QStringLiteral("C")) << "only the pattern's place follows the key";
    EXPECT_FALSE(ScaleRebuildPending);
    // Two frets higher, away from the ends of the board where a pattern wraps.
    EXPECT_EQ(Window(Highlighted(), 5, 12), Window(inC, 3, 10, 2));
    EXPECT_NE(Highlighted(), inC);
}

TEST_F(PatternPlayTest, AnotherScaleListsItsPatternsAndKeepsThePatternNumber)
{
    EnterPage();
    const Cells major = Highlighted();
    Choose(control.cboScale, QStringLiteral("Minor"));
    EXPECT_EQ(CurrScale, 2);
    EXPECT_EQ(CurrPattern, 4);
    EXPECT_EQ(control.cboPatterns->count(), 6);
    EXPECT_EQ(control.cboPatterns->currentText(), QStringLiteral("Pattern 4"));
    EXPECT_EQ(control.cboPatterns->currentData().toInt(), 4);
    // A minor pattern is its major namesake three frets up.
    EXPECT_EQ(Window(Highlighted(), 6, 11), Window(major, 3, 8, 3));
}

TEST_F(PatternPlayTest, ChoosingTheScaleAlreadySelectedChangesNothing)
{
    EnterPage();
    const NotePtr before = control.objFretboard->String(1).Item(1).objThisNote;
    const Cells cells = Highlighted();
    Choose(control.cboScale, QStringLiteral("Major"));
    EXPECT_EQ(CurrScale, 1);
    EXPECT_EQ(control.cboPatterns->currentText(), QStringLiteral("Pattern 4"));
    EXPECT_EQ(Highlighted(), cells);
    EXPECT_EQ(control.objFretboard->String(1).Item(1).objThisNote, before) << "nothing was rebuilt";
}

TEST_F(PatternPlayTest, PentatonicChangesTheSettingForTheWholeProgram)
{
    TrainerControl trainer;
    trainer.SetHost(&host);
    EnterPage();
    const size_t allNotes = Highlighted().size();
    QTest::mouseClick(control.chkBluesNotesOnly, Qt::LeftButton);
    EXPECT_TRUE(BluesNotesOnly);
    EXPECT_LT(Highlighted().size(), allNotes) << "the fourth and seventh degrees go";
    EXPECT_FALSE(ScaleRebuildPending);
    // The drill page shows the same switch when it repaints.
    CurrActivity = ActivityDrill;
    host.receiver = &lesson;
    trainer.Initialise();
    EXPECT_TRUE(trainer.chkBluesNotesOnly->isChecked());

    CurrActivity = ActivityPatternPlay;
    QTest::mouseClick(control.chkBluesNotesOnly, Qt::LeftButton);
    EXPECT_FALSE(BluesNotesOnly);
    EXPECT_EQ(Highlighted().size(), allNotes);
}

TEST_F(PatternPlayTest, LeavingThePageGivesTheDrillItsKeyAndPatternsBack)
{
    // A custom key (D) for the drill, while the lesson itself is in C.
    EnterPage(6, 1, QStringLiteral("3"));
    EXPECT_EQ(CurrKey, 4) << "the page starts from the lesson's key";
    EXPECT_EQ(control.strSavedCurrKey, QStringLiteral("D"));
    Choose(control.cboKey, QStringLiteral("A flat"));
    Choose(control.cboPatterns, QStringLiteral("Pattern 5"));
    control.RestoreSystemVariables();
    EXPECT_EQ(CurrKey, 6);
    EXPECT_EQ(CurrKeyName, QStringLiteral("D"));
    ASSERT_EQ(VisiblePatterns.Count(), 1);
    EXPECT_EQ(VisiblePatterns.Item(1), QStringLiteral("3"));
}

TEST_F(PatternPlayTest, ALessonWithoutAPatternLeavesTheListUnchosenUntilTheLearnerPicksOne)
{
    EnterPage(4, 1, QStringLiteral("0"));
    EXPECT_EQ(control.cboPatterns->currentIndex(), -1);
    EXPECT_EQ(CurrPattern, 0);
    EXPECT_TRUE(Highlighted().empty());
    Choose(control.cboPatterns, QStringLiteral("Pattern 1"));
    EXPECT_EQ(CurrPattern, 1);
    ASSERT_EQ(VisiblePatterns.Count(), 1);
    EXPECT_EQ(VisiblePatterns.Item(1), QStringLiteral("1"));
    const Cells one = Highlighted();
    EXPECT_FALSE(one.empty());
    Choose(control.cboPatterns, QStringLiteral("All Patterns"));
    EXPECT_GT(Highlighted().size(), one.size());
}

TEST_F(PatternPlayTest, TheBoardTakesNoClicks)
{
    MessageRecorder recorder;
    RecordingLesson receiver;
    host.receiver = &receiver;
    EnterPage();
    const Rect& cell = control.objFretboard->String(2).Item(3).Bounds();
    const QPoint centre = control.objFretboard->mapTo(&control, QPoint(qRound(cell.floatCenterX), qRound(cell.floatCenterY)));
    QTest::mouseDClick(control.windowHandle(), Qt::LeftButton, {}, centre);
    EXPECT_TRUE(recorder.shown.empty()) << "no double-click warning on a board that ignores clicks";
    EXPECT_TRUE(receiver.events.empty());
}
