// The staff: its levels on the lines and spaces of each instrument, ledger lines, the
// shown note with its sign, the echo, presses resolved into levels.
#include "doubles/MessageRecorder.h"

#include "music/Scales.h"
#include "music/Tunings.h"
#include "lessons/DrillLesson.h"
#include "views/SheetControl.h"
#include "views/TrainerControl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class StaffTest : public ::testing::Test {
protected:
    void Build(int guitarType, int key = 4, int scale = ScaleMajor, bool flats = true)
    {
        notes = Notes(Instrument::FromGuitarType(guitarType), flats);
        sheet.Initialise(notes, TrainerControl::StaffWorkarea());
        sheet.SetScale(key, scale);
    }
    double CentreY(int level) const { return sheet.Geometry().LevelRect(level).Center().y(); }
    int LevelOf(const QString& name) const
    {
        for (int level = 1; level <= sheet.Geometry().LevelCount(); ++level)
            for (const Note& note : sheet.NotesAt(level))
                if (note.name == name)
                    return level;
        return 0;
    }

    Notes notes;
    SheetControl sheet;
};

} // namespace

TEST_F(StaffTest, LevelBoxesSitOnTheLinesAndSpacesOfEachInstrument)
{
    Build(0);
    ASSERT_EQ(sheet.Geometry().LevelCount(), 23);
    const Rect& lowest = sheet.Geometry().LevelRect(1);
    EXPECT_EQ(lowest.Left(), 260);
    EXPECT_EQ(lowest.Top(), 225);
    EXPECT_EQ(lowest.Right(), 280);
    EXPECT_EQ(lowest.Bottom(), 235);
    EXPECT_EQ(CentreY(16), 80) << "F on the top line";
    EXPECT_EQ(CentreY(8), 160) << "E on the bottom line";
    EXPECT_EQ(CentreY(2), 220) << "on the third ledger line";
    EXPECT_EQ(sheet.Geometry().LevelAt(270, 225), 1) << "a shared border belongs to the lower level";

    Build(1);
    EXPECT_EQ(sheet.Geometry().LevelCount(), 18) << "up to the A of \"Ab-2\", as high as the guitar's top level";
    EXPECT_EQ(CentreY(1), 180);
    EXPECT_EQ(CentreY(3), 160) << "G on the bass clef's bottom line";
    Build(2);
    EXPECT_EQ(sheet.Geometry().LevelCount(), 21);
    EXPECT_EQ(CentreY(1), 210);
}

TEST_F(StaffTest, EveryTuningsLowestAndHighestNotesStayInView)
{
    for (const Tuning& tuning : KnownTunings()) {
        notes = Notes(InstrumentOf(tuning), true);
        sheet.Initialise(notes, TrainerControl::StaffWorkarea());
        const StaffGeometry& g = sheet.Geometry();
        EXPECT_GE(g.LevelRect(g.LevelCount()).Top(), 0) << tuning.id.toStdString();
        EXPECT_LE(g.LevelRect(1).Bottom(), sheet.height()) << tuning.id.toStdString();
        EXPECT_LT(g.LevelRect(2).Center().y(), g.LevelRect(1).Center().y()) << "levels go up the staff";
    }
}

TEST_F(StaffTest, LedgerLinesBelowAndAboveTheStaff)
{
    Build(0);
    const auto below = sheet.Geometry().LedgerLines(1, 270);
    ASSERT_EQ(below.size(), 3u);
    EXPECT_EQ(below[0], QLineF(240, 220, 300, 220)) << "60 pixels wide, the lowest first";
    EXPECT_EQ(below[2].y1(), 180);
    const auto above = sheet.Geometry().LedgerLines(23, 270);
    ASSERT_EQ(above.size(), 3u);
    EXPECT_EQ(above[0].y1(), 60);
    EXPECT_EQ(above[2].y1(), 20);
    EXPECT_TRUE(sheet.Geometry().LedgerLines(7, 270).empty());
}

// The bass clef's dots lie in the two spaces around the F line, clear of the lines.
TEST_F(StaffTest, TheBassClefsDotsSitInTheSpacesAroundTheFLine)
{
    Build(1);
    sheet.resize(SheetControl::kBaseSize);
    QImage image(sheet.size(), QImage::Format_RGB32);
    sheet.render(&image);
    const auto ink = [&](int y) { return qGray(image.pixel(120, y)) < 128; };
    // The staff's lines at 80, 100, ... 160; the dots' column is 56..64 from its left end.
    for (int y : {92, 108})
        EXPECT_TRUE(ink(y)) << "a dot at y " << y;
    for (int y : {84, 116, 124})
        EXPECT_FALSE(ink(y)) << "no dot at y " << y;
}

TEST_F(StaffTest, TheShownNoteItsSignAndTheEcho)
{
    Build(0, 2, ScaleMajor, /*flats=*/false); // B flat major with sharps: A# C D D# F G A
    const int a = LevelOf(QStringLiteral("A#-1"));
    ASSERT_GT(a, 0);
    EXPECT_EQ(sheet.NotesAt(a).front().name, QStringLiteral("A-1"));
    sheet.ShowNote(QStringLiteral("A#-1"));
    sheet.Refresh();
    EXPECT_EQ(sheet.ShownNoteName(), QStringLiteral("A#-1"));
    EXPECT_EQ(sheet.ShownNoteAt(a), QStringLiteral("A#-1"));
    EXPECT_EQ(sheet.ShownNoteAt(a + 1), QString());
    EXPECT_EQ(sheet.ShownAccidental(), 1);

    Build(0, 2, ScaleMajor, /*flats=*/true);
    sheet.ShowNote(QStringLiteral("Bb-1"));
    EXPECT_EQ(sheet.ShownAccidental(), 2);
    sheet.ShowNote(QStringLiteral("C-1"));
    EXPECT_EQ(sheet.ShownAccidental(), 0);
    sheet.ShowNote(QStringLiteral("B-1"));
    EXPECT_EQ(sheet.ShownNoteName(), QStringLiteral("C-1")) << "a name no level holds changes nothing";

    sheet.ShowEcho(QStringLiteral("C-1"));
    EXPECT_TRUE(sheet.IsEchoShown());
    QTRY_VERIFY_WITH_TIMEOUT(!sheet.IsEchoShown(), 2000);
    sheet.ClearSheet();
    EXPECT_EQ(sheet.ShownNoteName(), QString());
}

// At twice its size everything lies twice as far out; presses by point or height, Enter on
// the shown note, and what the staff shows is its accessible description.
TEST_F(StaffTest, TheStaffGrowsTakesPressesAndEnterAndDescribesItself)
{
    Build(0);
    sheet.SetZoom(2);
    ASSERT_EQ(sheet.size(), QSize(1160, 500));
    EXPECT_EQ(CentreY(16), 160) << "F on the top line";
    QSignalSpy pressed(&sheet, &SheetControl::levelPressed);
    QSignalSpy released(&sheet, &SheetControl::released);
    QSignalSpy hovered(&sheet, &SheetControl::levelHovered);
    QTest::mouseClick(&sheet, Qt::LeftButton, {}, QPoint(540, 320));
    QTest::mouseClick(&sheet, Qt::RightButton, {}, QPoint(200, 320));
    sheet.SetLevelsByHeight(true);
    QTest::mouseClick(&sheet, Qt::LeftButton, {}, QPoint(200, 320));
    ASSERT_EQ(pressed.count(), 3);
    EXPECT_EQ(pressed.at(0).at(0).value<std::optional<int>>(), 8);
    EXPECT_FALSE(pressed.at(1).at(0).value<std::optional<int>>().has_value()) << "beside the note column";
    EXPECT_TRUE(pressed.at(1).at(1).toBool());
    EXPECT_EQ(pressed.at(2).at(0).value<std::optional<int>>(), 8) << "by height";
    QMouseEvent move(QEvent::MouseMove, QPointF(540, 160), sheet.mapToGlobal(QPointF(540, 160)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&sheet, &move);
    ASSERT_GE(hovered.count(), 1);
    EXPECT_EQ(hovered.last().at(0).value<std::optional<int>>(), 16);
    QPixmap target(sheet.size() * 2);
    target.setDevicePixelRatio(2);
    sheet.render(&target);
    EXPECT_EQ(sheet.Background().size(), sheet.size() * 2);

    pressed.clear();
    released.clear();
    sheet.SetLevelsByHeight(false);
    QTest::keyClick(&sheet, Qt::Key_Return);
    sheet.ShowNote(QStringLiteral("C-1"));
    QTest::keyClick(&sheet, Qt::Key_Enter);
    ASSERT_EQ(pressed.count(), 2);
    EXPECT_FALSE(pressed.at(0).at(0).value<std::optional<int>>().has_value()) << "no note shown";
    EXPECT_EQ(pressed.at(1).at(0).value<std::optional<int>>(), LevelOf(QStringLiteral("C-1")));
    EXPECT_EQ(released.count(), 2);

    QSignalSpy described(&sheet, &SheetControl::descriptionChanged);
    sheet.SetPrompt(DrillLesson::PromptText(), false);
    sheet.SetAnnouncement(QStringLiteral("Correct! Now try the next note."));
    EXPECT_EQ(sheet.accessibleDescription(), QStringLiteral("Shows the note C-1 Please click on the sheet to hear "
                                                            "this note's sound. Correct! Now try the next note."));
    EXPECT_EQ(described.count(), 2);
}
