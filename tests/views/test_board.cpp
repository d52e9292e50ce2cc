// The fretboard: cell geometry against the worked examples, one geometry for painting
// and pressing, the markers and their colours, presses resolved into cells.
#include "doubles/MessageRecorder.h"

#include "views/FretboardControl.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

Selection Showing(int key, int scale, int pattern)
{
    Selection selection;
    selection.key = key;
    selection.scale = scale;
    selection.ShowOnly(pattern);
    return selection;
}

class BoardTest : public ::testing::Test {
protected:
    void Build(int guitarType, FretboardStyle style, const Selection& selection)
    {
        notes = Notes(Instrument::FromGuitarType(guitarType), true);
        board.Initialise(notes, style);
        board.SetSelection(selection);
    }
    QImage Paint()
    {
        QImage image(board.size(), QImage::Format_RGB32);
        board.render(&image);
        return image;
    }
    QPoint Centre(FretPosition cell) const { return board.Geometry().CellRect(cell).Center().toPoint(); }

    Notes notes;
    FretboardControl board;
    MessageRecorder recorder;
};

bool IsRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

bool IsBlue(QRgb pixel)
{
    return qBlue(pixel) > 200 && qRed(pixel) < 80 && qGreen(pixel) < 80;
}

} // namespace

TEST(BoardGeometry, TheWorkedCellsOfASixHundredPixelBoard)
{
    const BoardGeometry realistic(QSizeF(600, 100), 6, FretboardStyle::Realistic);
    const Rect& cell = realistic.CellRect({1, 3});
    EXPECT_EQ(cell.Left(), 82);
    EXPECT_EQ(cell.Right(), 142);
    EXPECT_EQ(cell.Top(), 70);
    EXPECT_EQ(cell.Bottom(), 80);
    EXPECT_NEAR(cell.Center().x(), 112, 0.01);
    EXPECT_NEAR(cell.Center().y(), 75, 0.01);
    EXPECT_EQ(realistic.CellRect({6, 3}).Top(), 20);
    EXPECT_EQ(realistic.CellRect({6, 3}).Bottom(), 30);
    EXPECT_EQ(realistic.CellRect({1, 1}).Left(), 0);
    EXPECT_EQ(realistic.CellRect({1, 1}).Right(), 18);
    EXPECT_EQ(realistic.CellRect({6, 14}).Left(), 575);
    EXPECT_EQ(realistic.CellRect({6, 14}).Right(), 601);
    EXPECT_GT(realistic.CellRect({6, 14}).Top(), realistic.CellRect({6, 1}).Top() - 6) << "realistic strings fan out";
    const BoardGeometry simple(QSizeF(600, 100), 6, FretboardStyle::Simple);
    EXPECT_EQ(simple.CellRect({6, 1}).Top(), simple.CellRect({6, 14}).Top()) << "simple strings run parallel";

    const Rect r = Rect::FromFloat(10.5f, 20.5f, 5, 5);
    EXPECT_EQ(r.Left(), 10) << "halves to even";
    EXPECT_EQ(r.Top(), 20);
    EXPECT_EQ(r.Width(), 5);
}

TEST(BoardGeometry, EveryCellsCentreFindsItsCellAndSharedBordersGoLow)
{
    for (int strings : {4, 5, 6})
        for (FretboardStyle style : {FretboardStyle::Realistic, FretboardStyle::Simple})
            for (QSizeF size : {QSizeF(580, 100), QSizeF(600, 100), QSizeF(1160, 200)}) {
                const BoardGeometry geometry(size, strings, style);
                for (int s = 1; s <= strings; ++s)
                    for (int f = 1; f <= kFretPositions; ++f) {
                        const QPointF c = geometry.CellRect({s, f}).Center();
                        EXPECT_EQ(geometry.CellAt(qRound(c.x()), qRound(c.y())), (FretPosition{s, f}))
                            << strings << " strings, cell " << s << "/" << f;
                    }
            }
    const BoardGeometry geometry(QSizeF(600, 100), 6, FretboardStyle::Simple);
    const Rect& left = geometry.CellRect({2, 3});
    EXPECT_EQ(geometry.CellAt(left.Right(), qRound(left.Center().y()))->fret, 3) << "the lower column";
    EXPECT_EQ(geometry.CellAt(qRound(left.Center().x()), left.Top())->string, 2) << "the lower string";
    EXPECT_FALSE(geometry.CellAt(100, 2).has_value()) << "above the strings";
}

TEST_F(BoardTest, PressesAreResolvedIntoCellsWithTheirButton)
{
    Build(0, FretboardStyle::Simple, Showing(4, 1, 4));
    QSignalSpy pressed(&board, &FretboardControl::cellPressed);
    QSignalSpy released(&board, &FretboardControl::released);
    QTest::mouseClick(&board, Qt::LeftButton, {}, Centre({3, 5}));
    QTest::mouseClick(&board, Qt::RightButton, {}, Centre({2, 7}));
    QTest::mouseClick(&board, Qt::LeftButton, {}, QPoint(100, 2));
    ASSERT_EQ(pressed.count(), 3);
    EXPECT_EQ(pressed.at(0).at(0).value<std::optional<FretPosition>>(), (FretPosition{3, 5}));
    EXPECT_FALSE(pressed.at(0).at(1).toBool());
    EXPECT_EQ(pressed.at(1).at(0).value<std::optional<FretPosition>>(), (FretPosition{2, 7}));
    EXPECT_TRUE(pressed.at(1).at(1).toBool()) << "secondary";
    EXPECT_FALSE(pressed.at(2).at(0).value<std::optional<FretPosition>>().has_value());
    EXPECT_EQ(released.count(), 3);

    QTest::mouseDClick(&board, Qt::LeftButton, {}, Centre({3, 5}));
    EXPECT_TRUE(recorder.lastMessage().startsWith(QStringLiteral("Double-click detected.")));
}

TEST_F(BoardTest, MarkersArePaintedOnTheCellsPressesFind)
{
    for (int type : {0, 1, 2}) {
        Build(type, FretboardStyle::Simple, Showing(4, 1, 4));
        board.MarkNote(QStringLiteral("E-0"));
        const FretPosition open{type == 2 ? 2 : 1, 1};
        ASSERT_TRUE(board.IsMarked(open));
        const QImage image = Paint();
        // A marked cell outside the pattern is red; a pattern cell is blue.
        EXPECT_TRUE(IsRed(image.pixel(Centre(open))) || board.MarkerAt(open).patternNote) << type;
        for (int s = 1; s <= board.StringCount(); ++s)
            for (int f = 1; f <= kFretPositions; ++f) {
                const auto marker = board.MarkerAt({s, f});
                if (marker.drawn && marker.patternNote)
                    EXPECT_TRUE(IsBlue(image.pixel(Centre({s, f})))) << type << " " << s << "/" << f;
                if (!marker.drawn)
                    EXPECT_FALSE(IsBlue(image.pixel(Centre({s, f})))) << type << " " << s << "/" << f;
            }
    }
}

TEST_F(BoardTest, WhatAMarkerShowsFollowsTheSwitches)
{
    Selection selection = Showing(4, 1, 4);
    Build(0, FretboardStyle::Realistic, selection);
    FretPosition patternCell{0, 0}, outside{0, 0};
    for (int f = 1; f <= kFretPositions; ++f) {
        if (board.Layout().IsHighlighted({2, f}) && patternCell.string == 0)
            patternCell = {2, f};
        if (!board.Layout().PatternContains({2, f}, 4) && outside.string == 0)
            outside = {2, f};
    }
    ASSERT_NE(patternCell.string, 0);
    board.MarkNote(board.NoteNameAt(patternCell));
    auto marker = board.MarkerAt(patternCell);
    EXPECT_TRUE(marker.drawn && marker.marked && marker.patternNote) << "blue with a red ring";
    const QImage image = Paint();
    const QPoint c = Centre(patternCell);
    EXPECT_TRUE(IsBlue(image.pixel(c)));
    bool ring = false;
    QString seen;
    for (int dy = -2; dy <= 2; ++dy) {
        const QRgb p = image.pixel(c.x(), c.y() - qRound(marker.radius) + dy);
        seen += QStringLiteral("(%1,%2,%3) ").arg(qRed(p)).arg(qGreen(p)).arg(qBlue(p));
        ring = ring || (qRed(p) > 150 && qRed(p) > qBlue(p)); // antialiased: mostly red
    }
    EXPECT_TRUE(ring) << "the red ring: " << seen.toStdString();

    board.MarkNote(QString());
    selection.hidePattern = true;
    board.SetSelection(selection);
    EXPECT_FALSE(board.MarkerAt(patternCell).drawn) << "hidden pattern notes";
    board.MarkNote(board.NoteNameAt(patternCell));
    EXPECT_TRUE(board.MarkerAt(patternCell).drawn) << "a shown note stays";

    selection.hidePattern = false;
    selection.hideInvalidNotes = true;
    board.SetSelection(selection);
    board.MarkNote(board.NoteNameAt(outside));
    EXPECT_FALSE(board.MarkerAt(outside).drawn) << "no marker outside the visible pattern";

    board.MarkNote(QStringLiteral("C"));
    int marked = 0;
    for (int s = 1; s <= 6; ++s)
        for (int f = 1; f <= kFretPositions; ++f)
            marked += board.IsMarked({s, f}) && board.NoteNameAt({s, f}).startsWith(QLatin1String("Db")) ? 1 : 0;
    EXPECT_EQ(marked, 0) << "with flats no name contains C but the Cs";
    board.MarkNote(QStringLiteral("D"));
    for (int s = 1; s <= 6; ++s)
        for (int f = 1; f <= kFretPositions; ++f)
            if (board.NoteNameAt({s, f}).startsWith(QLatin1String("Db")))
                EXPECT_TRUE(board.IsMarked({s, f})) << "a name that merely contains the text is marked";
}
