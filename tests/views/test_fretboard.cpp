#include "views/ViewTestSupport.h"

#include "music/Notes.h"
#include "music/ScalePatterns.h"
#include "views/FretboardControl.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FretboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadDefaultSettings();
        ResetSelection();
        BluesNotesOnly = false;
    }

    // Builds the board for an instrument, style, key, scale and pattern.
    void Build(int guitarType, int style, qint32 key, qint16 scale, qint16 pattern)
    {
        GuitarType = guitarType;
        FretboardStyle = style;
        GetNotes().Initialize();
        CurrKey = key;
        CurrScale = scale;
        CurrKeyName = KeyNames.Item(key);
        CurrPattern = pattern;
        VisiblePatterns.Clear();
        VisiblePatterns.Add(QString::number(pattern));
        GetNotes().SetScale(CurrScale, CurrKeyName);
        board.SetHost(&host);
        board.Initialise();
    }

    QPoint CentreOf(int string, int fret)
    {
        const Rect& r = board.String(string).Item(fret).Bounds();
        return {qRound(r.floatCenterX), qRound(r.floatCenterY)};
    }
    QColor PixelAt(const QImage& image, QPoint p) { return image.pixelColor(p); }

    TestHost host;
    FretboardControl board;
};

bool IsRed(QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }
bool IsBlue(QColor c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; }

} // namespace

TEST(FretGeometry, TheWorkedCellsOfASixHundredPixelBoard)
{
    LoadDefaultSettings();
    GuitarType = 0;
    GetNotes().Initialize();
    Rect bounds;
    bounds.Create1(0, 0, 600, 100);
    const Rect cell = CalcFretBounds(bounds, 1, 3, 6, 50, 55);
    EXPECT_EQ(cell.intTopLeftX, 82);
    EXPECT_EQ(cell.intTopRightX, 142);
    EXPECT_EQ(cell.intTopLeftY, 70);
    EXPECT_EQ(cell.intBotLeftY, 80);
    EXPECT_NEAR(cell.floatX + cell.floatWidth / 2, 112, 0.01);
    EXPECT_NEAR(cell.floatY + cell.floatHeight / 2, 75, 0.01);

    const Rect high = CalcFretBounds(bounds, 6, 3, 6, 50, 55);
    EXPECT_EQ(high.intTopLeftY, 20);
    EXPECT_EQ(high.intBotLeftY, 30);
    const Rect open = CalcFretBounds(bounds, 1, 1, 6, 50, 55);
    EXPECT_EQ(open.intTopLeftX, 0);
    EXPECT_EQ(open.intTopRightX, 18);
    const Rect last = CalcFretBounds(bounds, 6, 14, 6, 50, 55);
    EXPECT_EQ(last.intTopLeftX, 575);
    EXPECT_EQ(last.intTopRightX, 601);

    // The simple board's strings run parallel: a cell far up the neck keeps its height.
    const Rect simpleNear = CalcFretBounds(bounds, 1, 2, 6, 60, 60);
    const Rect simpleFar = CalcFretBounds(bounds, 1, 13, 6, 60, 60);
    EXPECT_EQ(simpleNear.intTopLeftY, simpleFar.intTopLeftY);
    const Rect realisticFar = CalcFretBounds(bounds, 1, 13, 6, 50, 55);
    EXPECT_GT(realisticFar.intTopLeftY, open.intTopLeftY) << "realistic strings fan out";
}

TEST(FretGeometry, RectRoundsHalvesToEvenAndIncludesItsBorders)
{
    Rect r;
    r.Create1(10.5f, 20.5f, 5, 5);
    EXPECT_EQ(r.intTopLeftX, 10);
    EXPECT_EQ(r.intTopLeftY, 20);
    EXPECT_EQ(r.floatX, 10);
    EXPECT_EQ(r.floatWidth, 5);
    EXPECT_TRUE(r.Contains(10, 20));
    EXPECT_TRUE(r.Contains(16, 26)); // 15.5 rounds to 16, 25.5 to 26
    EXPECT_FALSE(r.Contains(17, 20));
    EXPECT_FALSE(r.Contains(10, 19));
}

TEST_F(FretboardTest, ClicksReachTheActivityAtTheirPixelAndFindTheirCell)
{
    Build(0, 1, 4, 1, 4);
    RecordingLesson lesson;
    host.receiver = &lesson;
    CurrActivity = ActivityDrill;
    const QPoint centre = CentreOf(3, 5);
    QTest::mouseClick(&board, Qt::LeftButton, {}, centre);
    ASSERT_EQ(lesson.events.size(), 1u);
    EXPECT_EQ(lesson.events[0].code, EventFretboardClick);
    EXPECT_EQ(lesson.events[0].fretboardX, centre.x());
    FretNote* cell = nullptr;
    ASSERT_TRUE(board.IsWithinBounds(false, centre.x(), centre.y(), cell));
    EXPECT_EQ(cell->intStringNum, 3);
    EXPECT_EQ(cell->intFretNum, 5);

    // A right click anywhere on a string answers with its open string.
    ASSERT_TRUE(board.IsWithinBounds(true, centre.x(), centre.y(), cell));
    EXPECT_EQ(cell->intStringNum, 3);
    EXPECT_EQ(cell->intFretNum, 1);
}

TEST_F(FretboardTest, SharedBordersGoToTheLowerColumnAndString)
{
    Build(0, 1, 4, 1, 4);
    const Rect& left = board.String(2).Item(4).Bounds();
    FretNote* cell = nullptr;
    ASSERT_TRUE(board.IsWithinBounds(false, left.intTopRightX, qRound(left.floatCenterY), cell));
    EXPECT_EQ(cell->intFretNum, 4);
    // Simple guitar: gap 12, so string 2's top border is string 3's bottom border.
    ASSERT_EQ(board.String(2).Item(6).Bounds().intTopLeftY, board.String(3).Item(6).Bounds().intBotLeftY);
    ASSERT_TRUE(board.IsWithinBounds(false, qRound(left.floatCenterX) + 100, board.String(2).Item(6).Bounds().intTopLeftY, cell));
    EXPECT_EQ(cell->intStringNum, 2);
    // Above the highest string's cells nothing is hit.
    EXPECT_FALSE(board.IsWithinBounds(false, 100, 2, cell));
}

TEST_F(FretboardTest, PatternPlayIgnoresClicksAndADoubleClickOnlyWarns)
{
    Build(0, 1, 4, 1, 4);
    RecordingLesson lesson;
    host.receiver = &lesson;
    CurrActivity = ActivityPatternPlay;
    board.intCurrentX = 7;
    board.intCurrentY = 8;
    QTest::mouseClick(&board, Qt::LeftButton, {}, CentreOf(2, 2));
    EXPECT_TRUE(lesson.events.empty());
    EXPECT_EQ(board.intCurrentX, 7);
    EXPECT_EQ(board.intCurrentY, 8);

    MessageRecorder recorder;
    QTest::mouseDClick(&board, Qt::LeftButton, {}, CentreOf(2, 2));
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_TRUE(recorder.lastMessage().startsWith(QStringLiteral("Double-click detected.")));
    EXPECT_EQ(recorder.shown.back().style, 0);
}

TEST_F(FretboardTest, AnArmedTestStartsItsClockOnTheFirstDrillClick)
{
    Build(0, 1, 4, 1, 4);
    RecordingLesson lesson;
    host.receiver = &lesson;
    CurrActivity = ActivityDrill;
    TestState = TestArmed;
    QTest::mouseClick(&board, Qt::LeftButton, {}, CentreOf(1, 2));
    EXPECT_EQ(host.testClockStarts, 1);
    CurrActivity = ActivityFreePlay;
    QTest::mouseClick(&board, Qt::LeftButton, {}, CentreOf(1, 2));
    EXPECT_EQ(host.testClockStarts, 1);
    EXPECT_EQ(host.form.panels[QStringLiteral("Note")], QStringLiteral("C-2")) << "free play names the note";
}

TEST_F(FretboardTest, ThePatternWrapsAtTheHighEndWhenItsMiddleIsLow)
{
    // Key A, pattern 5: frets 7 and 9 above the anchor land on columns 13 and 15 -> 3,
    // and on column 1; nothing in columns 9..12, so the high copy is cleared.
    Build(0, 1, 1, 1, 5);
    FretString& low = board.String(1);
    EXPECT_TRUE(low.IsFretInPattern(13, 5));
    EXPECT_FALSE(low.Item(13).boolIsNoteHilitedPatternNote);
    EXPECT_TRUE(low.Item(3).boolIsNoteHilitedPatternNote);
    EXPECT_TRUE(low.Item(1).boolIsNoteHilitedPatternNote);
    for (int s = 1; s <= 6; ++s)
        for (int column = 12; column <= 14; ++column)
            EXPECT_FALSE(board.String(s).Item(column).boolIsNoteHilitedPatternNote) << s << "/" << column;
}

TEST_F(FretboardTest, ThePatternWrapsAtTheLowEndWhenItsMiddleIsHigh)
{
    // Key E, pattern 1: the low string's notes sit at columns 10, 12 and 13; the copy
    // at column 1 is cleared.
    Build(0, 1, 8, 1, 1);
    FretString& low = board.String(1);
    EXPECT_TRUE(low.IsFretInPattern(1, 1));
    EXPECT_TRUE(low.Item(13).boolIsNoteHilitedPatternNote);
    for (int s = 1; s <= 6; ++s)
        for (int column = 1; column <= 3; ++column)
            EXPECT_FALSE(board.String(s).Item(column).boolIsNoteHilitedPatternNote) << s << "/" << column;
}

TEST_F(FretboardTest, AllPatternsIsNeverTrimmed)
{
    Build(0, 1, 1, 1, 6);
    int ends = 0;
    for (int s = 1; s <= 6; ++s)
        for (int column : {1, 2, 3, 12, 13, 14})
            if (board.String(s).Item(column).PatternContains(6)) {
                EXPECT_TRUE(board.String(s).Item(column).boolIsNoteHilitedPatternNote);
                ++ends;
            }
    EXPECT_GT(ends, 0);
}

TEST_F(FretboardTest, PatternZeroDrawsItsPoolFromAllPatternsWithDuplicates)
{
    Build(0, 1, 4, 1, 0);
    int cells = 0;
    for (int s = 1; s <= 6; ++s)
        for (int column = 1; column <= 14; ++column)
            cells += board.String(s).Item(column).PatternContains(6) ? 1 : 0;
    ASSERT_GT(cells, 0);
    EXPECT_EQ(VisiblePatNotes.Count(), cells);
    QSet<QString> distinct;
    for (const VisiblePatNote& entry : VisiblePatNotes)
        distinct.insert(entry.strName);
    EXPECT_LT(distinct.size(), cells) << "a note at two positions is in the pool twice";
    EXPECT_EQ(VisiblePatNotes.Item(1).Key, QStringLiteral("0"));
    EXPECT_EQ(VisiblePatNotes.Item(2).Key, QStringLiteral("1"));
}

TEST_F(FretboardTest, ThePoolHoldsOnlyTheHighlightedCellsOfThePattern)
{
    Build(0, 1, 4, 1, 4);
    for (const VisiblePatNote& entry : VisiblePatNotes)
        EXPECT_TRUE(board.PatternContainsAndIsVisible(entry.strName, 4)) << entry.strName.toStdString();
    const int withPentatonicExtras = VisiblePatNotes.Count();
    BluesNotesOnly = true;
    board.SetScale();
    EXPECT_LT(VisiblePatNotes.Count(), withPentatonicExtras);
}

TEST_F(FretboardTest, MarkersArePaintedOnTheCellsThatClicksFind)
{
    Build(0, 1, 4, 1, 1);
    board.DrawFretNote(QStringLiteral("E-0"), false);
    QImage image = board.grab().toImage();
    // The low E string's open cell: red, not in pattern 1 of C major.
    FretNote& openE = board.String(1).Item(1);
    ASSERT_FALSE(openE.boolIsNoteHilitedPatternNote);
    EXPECT_TRUE(IsRed(PixelAt(image, CentreOf(1, 1))));

    // A pattern cell is blue; a prompted pattern cell is blue inside a red ring.
    FretNote* patternCell = nullptr;
    for (int column = 2; column <= 14 && !patternCell; ++column)
        if (board.String(2).Item(column).boolIsNoteHilitedPatternNote)
            patternCell = &board.String(2).Item(column);
    ASSERT_NE(patternCell, nullptr);
    EXPECT_TRUE(IsBlue(PixelAt(image, CentreOf(2, patternCell->intFretNum))));
    board.DrawFretNote(patternCell->GetNoteName(), false);
    image = board.grab().toImage();
    const QPoint c = CentreOf(2, patternCell->intFretNum);
    EXPECT_TRUE(IsBlue(PixelAt(image, c)));
    const float radius = patternCell->Bounds().floatHeight / 2.5f;
    EXPECT_TRUE(IsRed(PixelAt(image, QPoint(c.x(), c.y() - qRound(radius))))) << "the ring";

    // Hiding the pattern leaves only the prompted notes.
    HidePattern = true;
    board.DrawFretNote(QString(), false);
    image = board.grab().toImage();
    EXPECT_FALSE(IsBlue(PixelAt(image, c)));
}
