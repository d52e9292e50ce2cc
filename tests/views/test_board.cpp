// The fretboard: cell geometry against the worked examples, one geometry for painting
// and pressing, the markers and their colours, presses resolved into cells.
#include "doubles/MessageRecorder.h"

#include "views/FretboardControl.h"

#include <QAccessible>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "doubles/PatternHelpers.h"

#include <gtest/gtest.h>

namespace {

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
    QPoint Centre(FretPosition cell) const { return board.CellCentre(cell).toPoint(); }

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

TEST(BoardGeometry, SharedBordersGoToTheLowerStringAndColumn)
{
    const BoardGeometry geometry(QSizeF(600, 100), 6, FretboardStyle::Simple);
    const Rect& left = geometry.CellRect({2, 3});
    EXPECT_EQ(geometry.CellAt(left.Right(), qRound(left.Center().y()))->fret, 3) << "the lower column";
    EXPECT_EQ(geometry.CellAt(qRound(left.Center().x()), left.Top())->string, 2) << "the lower string";
    EXPECT_FALSE(geometry.CellAt(100, 2).has_value()) << "above the strings";
    const BoardGeometry doubled(QSizeF(1160, 200), 6, FretboardStyle::Simple);
    EXPECT_EQ(doubled.CellRect({6, 1}).Top(), 2 * geometry.CellRect({6, 1}).Top()) << "the tapers grow with the board";
}

// For every instrument, style, turn of the neck and size; the nut and lowest string on their sides.
TEST_F(BoardTest, EveryPaintedCellIsFoundByAPressAtItsCentre)
{
    QSignalSpy pressed(&board, &FretboardControl::cellPressed);
    for (int type : {0, 1, 2})
        for (FretboardStyle style : {FretboardStyle::Realistic, FretboardStyle::Simple})
            for (bool leftHanded : {false, true})
                for (bool lowestOnTop : {false, true})
                    for (double zoom : {1.0, 1.5, 2.2}) {
                        const std::string where = "type " + std::to_string(type) + " style "
                            + std::to_string(int(style)) + (leftHanded ? " left" : " right")
                            + (lowestOnTop ? " top" : " bottom") + " zoom " + std::to_string(zoom);
                        Build(type, style, Showing(4, 1, 4));
                        board.SetZoom(zoom);
                        board.SetOrientation(leftHanded, lowestOnTop);
                        ASSERT_EQ(board.size(), QSize(qRound(580 * zoom), qRound(100 * zoom))) << where;
                        board.MarkNote(QStringLiteral("-")); // every name holds "-"
                        const QImage image = Paint();
                        const int n = board.StringCount();
                        EXPECT_EQ(board.CellCentre({1, 1}).x() > board.width() / 2, leftHanded) << where;
                        EXPECT_EQ(board.CellCentre({1, 1}).y() < board.CellCentre({n, 1}).y(), lowestOnTop) << where;
                        for (int s = 1; s <= n; ++s)
                            for (int f = 1; f <= kFretPositions; ++f) {
                                const QPoint centre = board.CellCentre({s, f}).toPoint();
                                const QRgb pixel = image.pixel(centre);
                                EXPECT_TRUE(IsRed(pixel) || IsBlue(pixel)) << where << " cell " << s << "/" << f;
                                pressed.clear();
                                QTest::mouseClick(&board, Qt::LeftButton, {}, centre);
                                ASSERT_EQ(pressed.count(), 1);
                                EXPECT_FALSE(pressed.at(0).at(1).toBool()) << "the primary button";
                                EXPECT_EQ(pressed.at(0).at(0).value<std::optional<FretPosition>>(),
                                          (FretPosition{s, f}))
                                    << where << " cell " << s << "/" << f;
                            }
                    }
}

TEST_F(BoardTest, PicturesAreDrawnForThePixelRatio)
{
    Build(0, FretboardStyle::Realistic, Showing(4, 1, 4));
    board.SetZoom(1.5);
    for (qreal ratio : {1.0, 1.5, 2.0}) {
        QPixmap target(board.size() * ratio);
        target.setDevicePixelRatio(ratio);
        board.render(&target);
        EXPECT_EQ(board.Background().size(), board.size() * ratio) << ratio;
        EXPECT_EQ(board.Background().deviceIndependentSize().toSize(), board.size()) << ratio;
    }
}

// The arrows move the cursor as the screen shows the board; Enter and Space press as a
// left click, Shift+Enter as a right click.
TEST_F(BoardTest, KeysAndClicksPressCellsAndMoveTheCursorAsTheScreenShowsIt)
{
    Build(0, FretboardStyle::Simple, Showing(4, 1, 4));
    QSignalSpy pressed(&board, &FretboardControl::cellPressed);
    QSignalSpy released(&board, &FretboardControl::released);
    struct Case {
        bool leftHanded, lowestOnTop;
        int right, up; // what Right does to the fret and Up to the string
    };
    for (const Case& c : {Case{false, false, 1, 1}, Case{true, false, -1, 1}, Case{false, true, 1, -1},
                          Case{true, true, -1, -1}}) {
        board.SetOrientation(c.leftHanded, c.lowestOnTop);
        board.SetCursor({3, 5});
        QTest::keyClick(&board, Qt::Key_Right);
        QTest::keyClick(&board, Qt::Key_Up);
        EXPECT_EQ(board.Cursor(), (FretPosition{3 + c.up, 5 + c.right})) << c.leftHanded << c.lowestOnTop;
        QTest::keyClick(&board, Qt::Key_Left);
        QTest::keyClick(&board, Qt::Key_Down);
        EXPECT_EQ(board.Cursor(), (FretPosition{3, 5}));
    }
    board.SetOrientation(false, false);
    QTest::keyClick(&board, Qt::Key_End);
    EXPECT_EQ(board.Cursor().fret, kFretPositions) << "fret 13";
    QTest::keyClick(&board, Qt::Key_Right);
    EXPECT_EQ(board.Cursor().fret, kFretPositions) << "the cursor stays on the board";
    QTest::keyClick(&board, Qt::Key_Home);
    EXPECT_EQ(board.Cursor().fret, 1) << "the nut";
    QTest::keyClick(&board, Qt::Key_1);
    EXPECT_EQ(board.Cursor().string, 6) << "string 1 as players count: the highest";
    QTest::keyClick(&board, Qt::Key_6);
    EXPECT_EQ(board.Cursor().string, 1);
    QTest::keyClick(&board, Qt::Key_7);
    EXPECT_EQ(board.Cursor().string, 1) << "no seventh string";

    board.SetCursor({2, 8});
    QTest::keyClick(&board, Qt::Key_Return);
    QTest::keyClick(&board, Qt::Key_Space);
    QTest::keyClick(&board, Qt::Key_Return, Qt::ShiftModifier);
    ASSERT_EQ(pressed.count(), 3);
    EXPECT_EQ(released.count(), 3) << "each key's release ends its press";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pressed.at(i).at(0).value<std::optional<FretPosition>>(), (FretPosition{2, 8}));
        EXPECT_EQ(pressed.at(i).at(1).toBool(), i == 2) << "Shift+Enter is the secondary button";
    }
    QTest::mouseClick(&board, Qt::LeftButton, {}, Centre({4, 2}));
    EXPECT_EQ(board.Cursor(), (FretPosition{4, 2})) << "a click takes the cursor along";

    // Mouse presses: the secondary button, and a press beside the strings.
    pressed.clear();
    QTest::mouseClick(&board, Qt::RightButton, {}, Centre({2, 7}));
    QTest::mouseClick(&board, Qt::LeftButton, {}, QPoint(100, 2));
    ASSERT_EQ(pressed.count(), 2);
    EXPECT_EQ(pressed.at(0).at(0).value<std::optional<FretPosition>>(), (FretPosition{2, 7}));
    EXPECT_TRUE(pressed.at(0).at(1).toBool()) << "secondary";
    EXPECT_FALSE(pressed.at(1).at(0).value<std::optional<FretPosition>>().has_value());
    EXPECT_EQ(released.count(), 6);
    QTest::mouseDClick(&board, Qt::LeftButton, {}, Centre({3, 5}));
    EXPECT_TRUE(recorder.lastMessage().startsWith(QStringLiteral("Double-click detected.")));
}

TEST_F(BoardTest, ScreenReadersSeeATableOfNamedCells)
{
    Build(0, FretboardStyle::Simple, Showing(4, 1, 4));
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&board);
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->tableInterface()->rowCount(), 6);
    EXPECT_EQ(table->tableInterface()->columnCount(), kFretPositions);

    QAccessibleInterface* lowG = table->tableInterface()->cellAt(5, 3); // string 6, fret 3
    ASSERT_NE(lowG, nullptr);
    EXPECT_EQ(lowG->text(QAccessible::Name), QStringLiteral("string 6, fret 3, G-0"));
    EXPECT_EQ(table->tableInterface()->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("string 1, open, E-2"));
    board.MarkNote(QStringLiteral("G-0"));
    EXPECT_TRUE(lowG->state().selected);
    EXPECT_TRUE(lowG->tableCellInterface()->isSelected());
    EXPECT_TRUE(lowG->text(QAccessible::Description).startsWith(QStringLiteral("marked")));
    const QList<QAccessibleInterface*> selected = table->tableInterface()->selectedCells();
    EXPECT_TRUE(selected.contains(lowG));
    int patternCells = 0;
    for (int s = 1; s <= 6; ++s)
        for (int f = 1; f <= kFretPositions; ++f)
            patternCells += board.MarkerAt({s, f}).drawn ? 1 : 0;
    EXPECT_EQ(selected.size(), patternCells) << "every drawn marker and nothing else";

    const QPoint onLowG = board.mapToGlobal(Centre({1, 4}));
    EXPECT_EQ(table->childAt(onLowG.x(), onLowG.y()), lowG);

    QSignalSpy pressed(&board, &FretboardControl::cellPressed);
    QSignalSpy released(&board, &FretboardControl::released);
    table->tableInterface()->cellAt(2, 5)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(pressed.count(), 1);
    EXPECT_EQ(pressed.at(0).at(0).value<std::optional<FretPosition>>(), (FretPosition{4, 6}));
    EXPECT_EQ(released.count(), 1);

    Build(1, FretboardStyle::Simple, Showing(4, 1, 4));
    EXPECT_EQ(table->tableInterface()->rowCount(), 4) << "the bass";
    EXPECT_EQ(table->tableInterface()->cellAt(3, 0)->text(QAccessible::Name), QStringLiteral("string 4, open, E-0"));
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
    EXPECT_TRUE(IsBlue(Paint().pixel(Centre(patternCell)))) << "a pattern note is blue";
    board.MarkNote(board.NoteNameAt(outside));
    EXPECT_TRUE(IsRed(Paint().pixel(Centre(outside)))) << "a marked note outside the pattern is red";
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
    EXPECT_FALSE(IsBlue(Paint().pixel(c)));
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
            if (board.NoteNameAt({s, f}).startsWith(QLatin1String("Db"))) {
                EXPECT_TRUE(board.IsMarked({s, f})) << "a name that merely contains the text is marked";
            }
}
