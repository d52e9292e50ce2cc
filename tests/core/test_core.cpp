#include "core/Collection.h"
#include "core/Messages.h"
#include "core/NoteNames.h"
#include "core/Paths.h"
#include "core/Rounding.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <cmath>

TEST(Collection, PositionsKeysInsertionOrderAndWhatIsMissing)
{
    Collection<int> items;
    items.Add(10, QStringLiteral("a"));
    items.Add(20);
    items.Add(30, QStringLiteral("c"));
    EXPECT_EQ(items.Count(), 3);
    EXPECT_EQ(items.Item(1), 10);
    EXPECT_EQ(items.Item(3), 30);
    items.Remove(QStringLiteral("a"));
    EXPECT_EQ(items.Item(1), 20);
    // Keys still find their items after the positions shifted.
    EXPECT_EQ(items.Item(QStringLiteral("c")), 30);
    EXPECT_EQ(items.KeyAt(2), QStringLiteral("c"));
    EXPECT_EQ(std::vector<int>(items.begin(), items.end()), (std::vector<int>{20, 30}));

    // Missing items and keys given twice are errors; a removed key can be used again.
    EXPECT_THROW(items.Item(0), CollectionError);
    EXPECT_THROW(items.Item(3), CollectionError);
    EXPECT_THROW(items.Item(QStringLiteral("a")), CollectionError);
    EXPECT_THROW(items.Remove(QStringLiteral("a")), CollectionError);
    EXPECT_THROW(items.Add(40, QStringLiteral("c")), CollectionError);
    EXPECT_EQ(items.Count(), 2);
    EXPECT_EQ(items.Find(QStringLiteral("a")), nullptr);
    ASSERT_NE(items.Find(QStringLiteral("c")), nullptr);
    items.Remove(2);
    items.Add(50, QStringLiteral("c"));
    EXPECT_EQ(items.Item(QStringLiteral("c")), 50);
}

// Sixty notes from A-0, one spelling each with sharps or flats, the octave digit rising
// at A; both spellings of a sound are one note.
TEST(NoteNames, SpellingsPositionsAndIndices)
{
    const std::tuple<int, const char*, const char*> names[] = {
        {1, "A-0", "A-0"},   {2, "A#-0", "Bb-0"}, {8, "E-0", "E-0"},   {12, "G#-0", "Ab-0"}, {13, "A-1", "A-1"},
        {16, "C-1", "C-1"}, {22, "F#-1", "Gb-1"}, {56, "E-4", "E-4"}, {60, "G#-4", "Ab-4"}};
    for (const auto& [position, sharp, flat] : names) {
        EXPECT_EQ(NoteNameAt(position, false), QLatin1String(sharp));
        EXPECT_EQ(NoteNameAt(position, true), QLatin1String(flat));
        EXPECT_EQ(NoteIndex(QLatin1String(flat)), position - 1) << flat;
    }
    for (int position = 1; position <= kNoteTableSize; ++position) {
        const QString sharp = NoteNameAt(position, false);
        const QString flat = NoteNameAt(position, true);
        EXPECT_EQ(sharp.contains(QLatin1Char('#')), flat.contains(QLatin1Char('b'))) << position;
        if (!sharp.contains(QLatin1Char('#'))) {
            EXPECT_EQ(sharp, flat) << "naturals are spelled alike";
        }
        for (const char* never : {"Cb", "Fb", "E#", "B#"})
            EXPECT_FALSE(sharp.startsWith(QLatin1String(never)) || flat.startsWith(QLatin1String(never)));
        for (const QString& name : {sharp, flat}) {
            EXPECT_EQ(NotePosition(name), position);
            EXPECT_EQ(NoteIndex(name), position - 1);
            EXPECT_EQ(NoteNameOfIndex(position - 1, name == flat), name);
        }
    }
    EXPECT_EQ(NoteNameAt(0, false), QString());
    EXPECT_EQ(NoteNameAt(61, true), QString());
    EXPECT_EQ(NoteNameOfIndex(-1, false), QString());
    EXPECT_EQ(NotePosition(QStringLiteral("H-2")), 0);
    for (const char* notANote : {"", "H-1", "F#", "F#1", "Fx-1", "F#-", "F#-a", "f#-1"})
        EXPECT_EQ(NoteIndex(QString::fromLatin1(notANote)), -1) << notANote;
    EXPECT_EQ(SplitDualName(QStringLiteral("A#Bb-0"), false), QStringLiteral("A#-0"));
    EXPECT_EQ(SplitDualName(QStringLiteral("A#Bb-0"), true), QStringLiteral("Bb-0"));
    EXPECT_EQ(WithoutOctave(QStringLiteral("C#-2")), QStringLiteral("C#"));
}

// Halves go to the even neighbour; narrowing says when the rounded value does not fit.
TEST(Rounding, HalvesGoToTheEvenNeighbourAndNarrowingReportsOverflow)
{
    const std::pair<double, double> halves[] = {{64.5, 64}, {65.5, 66}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {70.34, 70}};
    for (const auto& [value, rounded] : halves)
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
    EXPECT_EQ(RoundToInt16(10.5), 10);
    EXPECT_EQ(RoundToInt16(20.5), 20);
    EXPECT_EQ(RoundToInt16(1e9), 32767);
    EXPECT_EQ(RoundToInt<qint16>(32767.4), std::optional<qint16>(32767));
    EXPECT_FALSE(RoundToInt<qint16>(32767.5).has_value()); // rounds to 32768
    EXPECT_EQ(RoundToInt<qint16>(-32768.5), std::optional<qint16>(-32768));
    EXPECT_FALSE(RoundToInt<qint32>(3e9).has_value());
    EXPECT_FALSE(RoundToInt<qint32>(std::nan("")).has_value());
}

TEST(Messages, PlainStyleIsAnOkBoxTitledWithTheProgram)
{
    QString title;
    int style = -99;
    const MessageHook previous = SetMessageHook([&](const QString& t, const QString&, int s) {
        title = t;
        style = s;
        return MsgOk;
    });
    EXPECT_EQ(ShowMessage(QStringLiteral("hello"), MsgPlain), MsgOk);
    EXPECT_EQ(title, QStringLiteral("Fretlore"));
    EXPECT_EQ(style, 0);
    ShowMessage(QStringLiteral("question"), MsgYesNoCancel);
    EXPECT_EQ(style, 3);
    SetMessageHook(previous);
}

// The folder keeps its separator; a path without one is a file name alone.
TEST(Paths, SplitPathAndTheDataFolders)
{
    QString file = QStringLiteral("untouched"), dir = QStringLiteral("untouched");
    EXPECT_FALSE(SplitPath(QString(), file, dir));
    EXPECT_EQ(file, QStringLiteral("untouched"));
    EXPECT_EQ(dir, QStringLiteral("untouched"));
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"C:\\a\\b.exe", "C:\\a\\", "b.exe"}, {"/usr/bin/firefox", "/usr/bin/", "firefox"}, {"browser", "", "browser"}};
    for (const auto& [path, folder, name] : cases) {
        ASSERT_TRUE(SplitPath(QLatin1String(path), file, dir));
        EXPECT_EQ(dir, QLatin1String(folder));
        EXPECT_EQ(file, QLatin1String(name));
    }

    EXPECT_TRUE(QFileInfo(ProgramDataPath(QStringLiteral("Images"))).isDir());
    const QString userDir = UserDataDir();
    EXPECT_TRUE(userDir.startsWith(qEnvironmentVariable("XDG_DATA_HOME"))) << userDir.toStdString();
    EXPECT_TRUE(userDir.endsWith(QStringLiteral("/Fretlore")));
}
