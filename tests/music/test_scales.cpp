#include "TestSupport.h"

#include "music/Notes.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

class ScalesTest : public ::testing::Test {
protected:
    void SetUp() override { LoadDefaultSettings(); }

    notes& Build(int guitarType, bool flats)
    {
        GuitarType = guitarType;
        FlatSymbolPref = flats;
        notes& table = GetNotes();
        table.Initialize();
        return table;
    }

    // SetScale with key text; returns the scale and leaves the respelled key in key.
    QString Scale(qint16 scale, QString& key)
    {
        GetNotes().SetScale(scale, key);
        const Collection<QString>& names = GetNotes().GetScaleNotesNameCollection();
        return QStringList(names.begin(), names.end()).join(QLatin1Char(' '));
    }
    QString Scale(qint16 scale, const char* keyText)
    {
        QString key = QString::fromLatin1(keyText);
        return Scale(scale, key);
    }

    // Semitones of a name without octave above A, from the first octave of NoteNames.
    static int PitchClass(const QString& name)
    {
        for (int position = 1; position <= 12; ++position)
            if (NoteNames.Item(position) == name + QStringLiteral("-0"))
                return position - 1;
        return -1;
    }

    static QStringList Names(const Collection<NotePtr>& notesOnLevel)
    {
        QStringList names;
        for (const NotePtr& note : notesOnLevel)
            names << note->strNoteName;
        return names;
    }

    static SheetNoteLevelData Level(int number, const char* letter)
    {
        return {static_cast<qint16>(number), QString::fromLatin1(letter)};
    }
};

} // namespace

TEST_F(ScalesTest, KeyAndScaleListsInIdentifierOrder)
{
    Build(0, true);
    const QStringList keys = {"A", "B flat", "B", "C", "D flat", "D", "E flat", "E", "F", "G flat", "G", "A flat"};
    ASSERT_EQ(KeyNames.Count(), 12);
    for (int id = 1; id <= 12; ++id) {
        EXPECT_EQ(KeyNames.Item(id), keys[id - 1]);
        EXPECT_EQ(KeyNames.Item(QString::number(id)), keys[id - 1]);
    }
    ASSERT_EQ(ScaleNames.Count(), 2);
    EXPECT_EQ(ScaleNames.Item(QStringLiteral("1")), QStringLiteral("Major"));
    EXPECT_EQ(ScaleNames.Item(QStringLiteral("2")), QStringLiteral("Minor"));

    Build(2, false); // a second load refills rather than appends
    EXPECT_EQ(KeyNames.Count(), 12);
    EXPECT_EQ(ScaleNames.Count(), 2);
}

TEST_F(ScalesTest, PrintedScalesInBothSpellings)
{
    struct Row {
        const char* key;
        const char* majorSharp;
        const char* majorFlat;
        const char* minorSharp;
        const char* minorFlat;
    };
    const Row rows[] = {
        {"A", "A B C# D E F# G#", "A B Db D E Gb Ab", "A B C D E F G", "A B C D E F G"},
        {"B flat", "A# C D D# F G A", "Bb C D Eb F G A", "A# C C# D# F F# G#", "Bb C Db Eb F Gb Ab"},
        {"C", "C D E F G A B", "C D E F G A B", "C D D# F G G# A#", "C D Eb F G Ab Bb"},
        {"D", "D E F# G A B C#", "D E Gb G A B Db", "D E F G A A# C", "D E F G A Bb C"},
        {"F", "F G A A# C D E", "F G A Bb C D E", "F G G# A# C C# D#", "F G Ab Bb C Db Eb"},
        {"A flat", "G# A# C C# D# F G", "Ab Bb C Db Eb F G", "G# A# B C# D# E F#", "Ab Bb B Db Eb E Gb"},
    };
    for (const Row& row : rows) {
        Build(0, false);
        EXPECT_EQ(Scale(1, row.key), QLatin1String(row.majorSharp)) << row.key;
        EXPECT_EQ(Scale(2, row.key), QLatin1String(row.minorSharp)) << row.key;
        Build(0, true);
        EXPECT_EQ(Scale(1, row.key), QLatin1String(row.majorFlat)) << row.key;
        EXPECT_EQ(Scale(2, row.key), QLatin1String(row.minorFlat)) << row.key;
    }
}

TEST_F(ScalesTest, EveryKeyWalksTheScaleStepsInTheSpellingOfThePreference)
{
    const std::vector<int> majorSteps = {2, 2, 1, 2, 2, 2};
    const std::vector<int> minorSteps = {2, 1, 2, 2, 1, 2};
    for (bool flats : {false, true}) {
        Build(0, flats);
        for (int id = 1; id <= 12; ++id) {
            for (qint16 scale : {qint16(1), qint16(2)}) {
                QString key = KeyNames.Item(id);
                const QStringList names = Scale(scale, key).split(QLatin1Char(' '));
                ASSERT_EQ(names.size(), 7) << id;
                EXPECT_EQ(names[0], key) << "the root is the respelled key";
                EXPECT_EQ(PitchClass(names[0]), id - 1) << "key identifier is the root's position";
                const auto& steps = scale == 1 ? majorSteps : minorSteps;
                for (int i = 0; i < 6; ++i)
                    EXPECT_EQ((PitchClass(names[i + 1]) - PitchClass(names[i]) + 12) % 12, steps[i])
                        << key.toStdString() << " scale " << scale << " step " << i + 1;
                for (const QString& name : names)
                    EXPECT_FALSE(name.contains(QLatin1Char(flats ? '#' : 'b'))) << name.toStdString();
            }
        }
    }
}

TEST_F(ScalesTest, SetScaleRespellsTheCallersKey)
{
    Build(0, false);
    QString key = QStringLiteral("B flat");
    EXPECT_EQ(Scale(1, key), QStringLiteral("A# C D D# F G A"));
    EXPECT_EQ(key, QStringLiteral("A#"));

    Build(0, true);
    key = QStringLiteral("B flat");
    Scale(1, key);
    EXPECT_EQ(key, QStringLiteral("Bb"));

    for (bool flats : {false, true}) {
        Build(0, flats);
        key = QStringLiteral("A");
        Scale(1, key);
        EXPECT_EQ(key, QStringLiteral("A")) << "a natural is never taken for a flat or sharp";
        key = QStringLiteral("B");
        EXPECT_EQ(Scale(1, key), flats ? QStringLiteral("B Db Eb E Gb Ab Bb") : QStringLiteral("B C# D# E F# G# A#"));
        EXPECT_EQ(key, QStringLiteral("B"));
    }
}

TEST_F(ScalesTest, AnEarlierSpellingConvertsAgainWhenThePreferenceChanges)
{
    const std::pair<const char*, const char*> pairs[] = {
        {"A#", "Bb"}, {"C#", "Db"}, {"D#", "Eb"}, {"F#", "Gb"}, {"G#", "Ab"}};
    for (const auto& [sharp, flat] : pairs) {
        Build(0, true);
        QString key = QString::fromLatin1(sharp);
        Scale(1, key);
        EXPECT_EQ(key, QLatin1String(flat));
        Build(0, false);
        Scale(1, key);
        EXPECT_EQ(key, QLatin1String(sharp));
    }
}

TEST_F(ScalesTest, AKeyWithoutARootGivesNoScale)
{
    Build(0, true);
    EXPECT_EQ(Scale(1, "H"), QString());
    EXPECT_EQ(Scale(3, "C"), QString()) << "only scales 1 and 2 exist";
    EXPECT_EQ(Scale(1, "C"), QStringLiteral("C D E F G A B")) << "and the next key works again";
}

TEST_F(ScalesTest, TheScaleCollectionIsRefilledInPlace)
{
    notes& table = Build(0, true);
    const Collection<QString>& held = table.GetScaleNotesNameCollection();
    qint16 scale = 2;
    QString key = QStringLiteral("A");
    const Collection<QString>& returned = table.CalcNewScaleValues(scale, key);
    EXPECT_EQ(&returned, &held);
    EXPECT_EQ(held.Item(3), QStringLiteral("C"));
    Scale(1, "A");
    EXPECT_EQ(held.Item(3), QStringLiteral("Db"));
}

TEST_F(ScalesTest, StaffLevelsGetTheScaleNotesWrittenOnTheirLetter)
{
    notes& table = Build(0, false);
    Scale(1, "F");
    table.GetNoteObjsFromSheetNote(Level(1, "E"));
    EXPECT_EQ(Names(table.GetNoteObjsFromSheetNote(Level(2, "F"))), QStringList({"F-0"}));
    EXPECT_EQ(Names(table.GetNoteObjsFromSheetNote(Level(3, "G"))), QStringList({"G-0"}));
    EXPECT_EQ(Names(table.GetNoteObjsFromSheetNote(Level(4, "A"))), QStringList({"A-1", "A#-1"}))
        << "natural then sharp, same octave";
    EXPECT_TRUE(table.GetNoteObjsFromSheetNote(Level(5, "B")).IsEmpty()) << "F major has no B";

    Build(0, true);
    Scale(1, "D");
    table.GetNoteObjsFromSheetNote(Level(1, "E"));
    table.GetNoteObjsFromSheetNote(Level(2, "F"));
    EXPECT_EQ(Names(table.GetNoteObjsFromSheetNote(Level(3, "G"))), QStringList({"Gb-0", "G-0"}))
        << "flat before natural";
}

TEST_F(ScalesTest, LevelOneRestartsTheSearchAndOtherLevelsContinueUpward)
{
    notes& table = Build(0, true);
    Scale(1, "C");
    EXPECT_EQ(Names(table.GetNoteObjsFromSheetNote(Level(1, "E"))), QStringList({"E-0"}));
    EXPECT_EQ(Names(table.GetNoteObjsFromSheetNote(Level(2, "F"))), QStringList({"F-0"}));
    table.GetNoteObjsFromSheetNote(Level(3, "G"));
    EXPECT_EQ(Names(table.GetNoteObjsFromSheetNote(Level(4, "A"))), QStringList({"A-1"}));
    EXPECT_EQ(Names(table.GetNoteObjsFromSheetNote(Level(4, "A"))), QStringList({"A-2"}))
        << "asked again, the same letter is found an octave up";
    EXPECT_EQ(Names(table.GetNoteObjsFromSheetNote(Level(1, "E"))), QStringList({"E-0"}));

    for (const char* expected : {"A-1", "A-2", "A-3", "A-4"})
        EXPECT_EQ(Names(table.GetNoteObjsFromSheetNote(Level(2, "A"))), QStringList({expected}));
    EXPECT_TRUE(table.GetNoteObjsFromSheetNote(Level(2, "A")).IsEmpty())
        << "past the top of the table a level is empty, not full of empty entries";
}

TEST_F(ScalesTest, AWholeStaffHoldsEachScaleNoteOnItsLetterInAscendingOrder)
{
    for (int guitarType : {0, 1, 2}) {
        for (bool flats : {false, true}) {
            notes& table = Build(guitarType, flats);
            for (int id = 1; id <= 12; ++id) {
                for (qint16 scale : {qint16(1), qint16(2)}) {
                    QString key = KeyNames.Item(id);
                    const QStringList scaleNames = Scale(scale, key).split(QLatin1Char(' '));
                    QStringList seen;
                    int previous = 0;
                    for (int level = 1; level <= table.GetSheetNoteLevelAmount(); ++level) {
                        const QString letter = BaseNoteNames.Item(level);
                        for (const QString& name :
                             Names(table.GetNoteObjsFromSheetNote({qint16(level), letter}))) {
                            EXPECT_TRUE(name.startsWith(letter)) << name.toStdString();
                            const int position = notes::GetNameIndex(name);
                            EXPECT_GT(position, previous) << name.toStdString();
                            previous = position;
                            seen << name.left(name.size() - 2);
                        }
                    }
                    seen.removeDuplicates();
                    seen.sort();
                    QStringList expected = scaleNames;
                    expected.sort();
                    EXPECT_EQ(seen, expected) << "instrument " << guitarType << " key " << id
                                              << " scale " << scale;
                }
            }
        }
    }
}
