// The learner and score stores on their record files: what they write, what they read
// back, their keys, and every kind of damaged file, which must fail the load, leave the
// store empty and stay on disk as it was.
#include "FileSizeLimit.h"

#include "records/DbaseItems.h"
#include "records/LearnerItems.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <tuple>
#include <type_traits>
#include <vector>

namespace {

const QByteArray kLearners = "<RECORD key = '1' name = 'Ann'></RECORD>\r\n"
                             "<RECORD key = '2' name = 'Evening group'></RECORD>\r\n"
                             "<RECORD key = '7' name = 'Zo\xC3\xAB'></RECORD>\r\n";
const QByteArray kScores = "<RECORD key = '1' learnerKey = '1' lessonKey = '1' value = '0.875'></RECORD>\r\n"
                           "<RECORD key = '2' learnerKey = '2' lessonKey = '3' value = '0.5'></RECORD>\r\n";

class RecordStores : public ::testing::Test {
protected:
    QString PathOf(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QString LearnersPath() const { return PathOf("Learners.dat"); }
    QString ScoresPath() const { return PathOf("Score.dat"); }

    static void WriteBytes(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    static QByteArray ReadBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // A fresh store loaded from its file; fails the test when the load fails.
    template <typename Store>
    Store Loaded(const QString& path)
    {
        Store store(path);
        QString why;
        EXPECT_TRUE(store.GetDataFromFile(why)) << why.toStdString();
        return store;
    }

    QTemporaryDir dir;
    QString message;
    qint16 key = 0;
};

struct Damage {
    const char* what;
    QByteArray bytes;
    const char* detail = nullptr; // the end of the message, where it matters
};

QByteArray RandomBytes(quint32 seed, int size)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random.bounded(256));
    return bytes;
}

// Damage any record file can suffer; record is one well-formed line ("%1" its key).
std::vector<Damage> CommonDamage(const QByteArray& valid, const QString& record)
{
    const auto line = [&record](const QString& key) { return record.arg(key).toUtf8(); };
    QByteArray manyRecords;
    for (int i = 0; i < 40000; ++i) // more records than there are keys
        manyRecords += line(QString::number(i % 32767 + 1)) + "\r\n";
    return {
        {"binary garbage", RandomBytes(1, 4096)},
        {"garbage behind good records", valid + RandomBytes(2, 300)},
        {"NUL bytes inside a record", valid.left(20) + QByteArray(16, '\0') + valid.mid(20)},
        {"an ELF header", QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0", 16) + RandomBytes(3, 200)},
        {"the same key twice", line(QStringLiteral("3")) + "\r\n" + line(QStringLiteral("3")) + "\r\n"},
        {"the same key spelled twice", line(QStringLiteral("3")) + "\r\n" + line(QStringLiteral("003")) + "\r\n"},
        {"key 0", line(QStringLiteral("0"))},
        {"a negative key", line(QStringLiteral("-4"))},
        {"key past 16 bits", line(QStringLiteral("32768"))},
        {"a huge key", line(QStringLiteral("99999999999999999999999"))},
        {"a key that is no number", line(QStringLiteral("seven"))},
        {"a fractional key", line(QStringLiteral("2.5"))},
        {"an empty key", line(QString())},
        {"more records than keys", manyRecords},
        // Just under the size the reader takes at all.
        {"nothing but end tags", QByteArray("</RECORD>").repeated(7000000)},
        {"one record of a million attributes", "<RECORD " + QByteArray("a = 'x' ").repeated(1000000) + "></RECORD>"},
    };
}

} // namespace

// Missing files are empty stores whose keys start at 1; scores are saved as they are added
// and removed, and an emptied store leaves no file.
TEST_F(RecordStores, MissingFilesStartEmptyAndScoresAreSavedAsTheyChange)
{
    LearnerItems learners = Loaded<LearnerItems>(LearnersPath());
    EXPECT_EQ(learners.Count(), 0);
    ASSERT_TRUE(learners.AddNew(QStringLiteral("Ann"), key, message));
    EXPECT_EQ(key, 1);
    learners.Remove(1);
    ASSERT_TRUE(learners.SetDataToFile(message));
    EXPECT_FALSE(QFile::exists(LearnersPath()));

    DbaseItems scores = Loaded<DbaseItems>(ScoresPath());
    EXPECT_EQ(scores.intHighestKeyValue, 0);
    for (const auto& [learner, lesson, value] : {std::tuple{1, 1, 0.25F}, {2, 1, 0.5F}, {1, 3, 0.75F}, {1, 1, 1.0F}}) {
        ASSERT_TRUE(scores.AddScore(qint16(learner), qint16(lesson), value, key, message)) << message.toStdString();
        EXPECT_EQ(key, scores.Count());
    }
    EXPECT_EQ(Loaded<DbaseItems>(ScoresPath()).Count(), 4);
    EXPECT_EQ(scores.LessonResults(1, 1), (std::vector<float>{0.25F, 1.0F}));
    ASSERT_TRUE(scores.RemoveScoresOfLearner(1, message));
    const DbaseItems reloaded = Loaded<DbaseItems>(ScoresPath());
    ASSERT_EQ(reloaded.Count(), 1);
    EXPECT_EQ(reloaded.Item(1).intLearnerKey, 2);
    EXPECT_EQ(reloaded.Item(QStringLiteral("2")).fltValue, 0.5F);
    EXPECT_THROW(reloaded.Item(QStringLiteral("1")), CollectionError);
    ASSERT_TRUE(scores.RemoveScoresOfLearner(2, message));
    EXPECT_FALSE(QFile::exists(ScoresPath()));
}

// Names lose their quotes and anything that would end the record, nothing else; a
// Learners.dat edited by hand, with quotes inside names, is written back as it was read.
TEST_F(RecordStores, NamesRoundTripWithoutTheirQuotes)
{
    const std::pair<QString, QString> names[] = {
        {QStringLiteral("Evening group"), QStringLiteral("Evening group")},
        {QStringLiteral("  two  spaces  "), QStringLiteral("  two  spaces  ")},
        {QStringLiteral("rock'n'roll"), QStringLiteral("rocknroll")},
        {QStringLiteral("Say \"hi\""), QStringLiteral("Say hi")},
        {QStringLiteral("Zo\u00EB \u00C5ngstr\u00F6m"), QStringLiteral("Zo\u00EB \u00C5ngstr\u00F6m")},
        {QStringLiteral("a</RECORD>b"), QStringLiteral("ab")},
        {QStringLiteral("</REC</RECORD>ORD>x"), QStringLiteral("x")},
        {QStringLiteral("&amp; <3"), QStringLiteral("&amp; <3")},
    };
    LearnerItems learners = Loaded<LearnerItems>(LearnersPath());
    for (const auto& [name, kept] : names)
        ASSERT_TRUE(learners.AddNew(name, key, message));
    ASSERT_TRUE(learners.SetDataToFile(message)) << message.toStdString();
    const LearnerItems reloaded = Loaded<LearnerItems>(LearnersPath());
    ASSERT_EQ(reloaded.Count(), int(std::size(names)));
    for (int i = 0; i < reloaded.Count(); ++i) {
        EXPECT_EQ(reloaded.Item(i + 1).strName, names[i].second);
        EXPECT_EQ(reloaded.Item(i + 1).intKey, i + 1);
    }

    WriteBytes(LearnersPath(), "<RECORD name = 'Mary O'Neil' key = '3'></RECORD>\r\n"
                               "<RECORD key = '6' name = '&#2'0;</REC'ORD>x'></RECORD>\r\n");
    for (int save = 0; save < 2; ++save) {
        ASSERT_TRUE(Loaded<LearnerItems>(LearnersPath()).SetDataToFile(message)) << message.toStdString();
        EXPECT_EQ(ReadBytes(LearnersPath()), "<RECORD key = '3' name = 'Mary ONeil'></RECORD>\r\n"
                                             "<RECORD key = '6' name = ' x'></RECORD>\r\n");
    }
}

TEST_F(RecordStores, ScoresReadBackAsTheSameFloat)
{
    const float values[] = {0.875F, 1.0F, 0.0F, 1.0F / 6.0F, 2.0F / 3.0F, 1e-5F, 0.1F, 37.0F / 41.0F};
    DbaseItems scores = Loaded<DbaseItems>(ScoresPath());
    for (const float value : values)
        ASSERT_TRUE(scores.AddScore(1, 1, value, key, message)) << message.toStdString();
    const QByteArray bytes = ReadBytes(ScoresPath());
    EXPECT_TRUE(bytes.contains("value = '0.16666667'"));
    EXPECT_TRUE(bytes.contains("value = '0.00001'"));
    EXPECT_FALSE(bytes.contains("e-"));
    const std::vector<float> read = Loaded<DbaseItems>(ScoresPath()).LessonResults(1, 1);
    ASSERT_EQ(read.size(), std::size(values));
    for (size_t i = 0; i < read.size(); ++i)
        EXPECT_EQ(std::memcmp(&read[i], &values[i], sizeof(float)), 0) << values[i];

    // Hand-written values with a comma or an exponent are read too.
    WriteBytes(ScoresPath(), "<RECORD key = '1' learnerKey = '1' lessonKey = '1' value = '0,875'></RECORD>\r\n"
                             "<RECORD key = '2' learnerKey = '1' lessonKey = '1' value = '1E-03'></RECORD>\r\n");
    EXPECT_EQ(Loaded<DbaseItems>(ScoresPath()).LessonResults(1, 1), (std::vector<float>{0.875F, 0.001F}));
}

TEST_F(RecordStores, TheHighestKeyReadMakesTheNextKeyUpTo32767)
{
    WriteBytes(LearnersPath(), "<RECORD key = '3' name = 'A'></RECORD>\r\n"
                               "<RECORD key = '7' name = 'B'></RECORD>\r\n"
                               "<RECORD key = '5' name = 'C'></RECORD>\r\n");
    LearnerItems learners = Loaded<LearnerItems>(LearnersPath());
    EXPECT_EQ(learners.intHighestKeyValue, 7);
    ASSERT_NE(learners.Item(QStringLiteral("7")), nullptr);
    EXPECT_EQ(learners.Item(QStringLiteral("7"))->strName, QStringLiteral("B"));
    EXPECT_EQ(learners.Item(QStringLiteral("4")), nullptr); // no learner is no error
    EXPECT_EQ(learners.Item(2).intKey, 7);                  // positions keep file order

    // Deleting the highest and reloading hands that key out again.
    learners.Remove(QStringLiteral("7"));
    ASSERT_TRUE(learners.SetDataToFile(message));
    learners = Loaded<LearnerItems>(LearnersPath());
    ASSERT_TRUE(learners.AddNew(QStringLiteral("D"), key, message));
    EXPECT_EQ(key, 6);
    // A learner added by hand above the highest key is skipped over.
    learners.Add(7, QStringLiteral("E"));
    ASSERT_TRUE(learners.AddNew(QStringLiteral("F"), key, message));
    EXPECT_EQ(key, 8);

    // Keys stop at 32767.
    const QByteArray full = "<RECORD key = '32767' learnerKey = '1' lessonKey = '1' value = '1'></RECORD>\r\n";
    WriteBytes(ScoresPath(), full);
    DbaseItems scores = Loaded<DbaseItems>(ScoresPath());
    EXPECT_FALSE(scores.AddScore(1, 1, 0.5F, key, message));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(key, 8) << "no key handed out";
    EXPECT_EQ(scores.Count(), 1);
    EXPECT_EQ(scores.intHighestKeyValue, 32767);
    EXPECT_EQ(ReadBytes(ScoresPath()), full);

    learners.intHighestKeyValue = 32767;
    EXPECT_FALSE(learners.AddNew(QStringLiteral("X"), key, message));
    EXPECT_EQ(learners.Count(), 5);
}

// Every damaged file fails the load with a message naming it, leaves the store empty,
// and keeps the file as it was when a new item and a save are tried afterwards.
TEST_F(RecordStores, DamagedFilesFailAndSurvive)
{
    const auto refused = [this](const QString& path, const Damage& damage, auto store) {
        SCOPED_TRACE(damage.what);
        if (!damage.bytes.isNull())
            WriteBytes(path, damage.bytes);
        EXPECT_FALSE(store.GetDataFromFile(message));
        EXPECT_TRUE(message.contains(path)) << message.toStdString();
        if (damage.detail) {
            EXPECT_TRUE(message.endsWith(QLatin1String(damage.detail))) << message.toStdString();
        }
        EXPECT_EQ(store.Count(), 0);
        if constexpr (std::is_same_v<decltype(store), LearnerItems>)
            store.Add(5, QStringLiteral("X"));
        else
            EXPECT_FALSE(store.AddScore(1, 1, 0.5F, key, message));
        message.clear();
        EXPECT_FALSE(store.SetDataToFile(message));
        EXPECT_TRUE(message.contains(path)) << message.toStdString();
        if (!damage.bytes.isNull()) {
            EXPECT_TRUE(ReadBytes(path) == damage.bytes) << "the damaged file was changed";
        }
    };

    auto learners = CommonDamage(kLearners, QStringLiteral("<RECORD key = '%1' name = 'A'></RECORD>"));
    learners.push_back({"a learner without a name", "<RECORD key = '1'></RECORD>\r\n"});
    learners.push_back({"a hand-edited name whose closing quote is missing",
                        "<RECORD key = '1' name = 'Ann'></RECORD>\r\n<RECORD key = '2' name = 'Bob O'Neil></RECORD>\r\n",
                        "The ending ' missing from a value field in data file."});
    for (const Damage& damage : learners)
        refused(LearnersPath(), damage, LearnerItems(LearnersPath()));

    auto scores = CommonDamage(
        kScores, QStringLiteral("<RECORD key = '%1' learnerKey = '1' lessonKey = '1' value = '0.5'></RECORD>"));
    const auto score = [](const char* learner, const char* lesson, const char* value) {
        return QStringLiteral("<RECORD key = '1' learnerKey = '%1' lessonKey = '%2' value = '%3'></RECORD>")
            .arg(QLatin1String(learner), QLatin1String(lesson), QLatin1String(value))
            .toUtf8();
    };
    scores.push_back({"a learner key past 16 bits", score("40000", "1", "0.5")});
    scores.push_back({"a lesson key that is no number", score("1", "x", "0.5")});
    scores.push_back({"a lesson key past any number", score("1", "99999999999", "0.5")});
    scores.push_back({"a value past a float", score("1", "1", "1e39")});
    scores.push_back({"a value past a double", score("1", "1", "1e999")});
    scores.push_back({"a value that is no number", score("1", "1", "nan")});
    scores.push_back({"an empty value", score("1", "1", "")});
    scores.push_back({"no value", "<RECORD key = '1' learnerKey = '1' lessonKey = '1'></RECORD>"});
    scores.push_back({"no learner key", "<RECORD key = '1' lessonKey = '1' value = '1'></RECORD>"});
    for (const Damage& damage : scores)
        refused(ScoresPath(), damage, DbaseItems(ScoresPath()));

    // Too large to read at all (sparse: it costs no disk), and a folder in the file's place.
    for (const QString& path : {LearnersPath(), ScoresPath()}) {
        QFile huge(path);
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly | QIODevice::Truncate) && huge.resize(qint64(3) << 30));
        huge.close();
        Damage tooLarge{"a 3 GB file", QByteArray(), "The file is too large to hold records."};
        if (path == LearnersPath())
            refused(path, tooLarge, LearnerItems(path));
        else
            refused(path, tooLarge, DbaseItems(path));
        EXPECT_EQ(QFileInfo(path).size(), qint64(3) << 30);
        QFile::remove(path);
    }
    ASSERT_TRUE(QDir().mkpath(ScoresPath()));
    EXPECT_FALSE(DbaseItems(ScoresPath()).GetDataFromFile(message));
    EXPECT_TRUE(message.contains(ScoresPath())) << message.toStdString();
}

// A file cut between records loads exactly the whole ones; cut anywhere else it is
// refused: a record cut short is never read as a shorter one.
TEST_F(RecordStores, AFileCutAtAnyByteLoadsOnlyWholeRecords)
{
    const auto check = [this](const QString& path, const QByteArray& bytes, auto store) {
        WriteBytes(path, bytes);
        const bool whole = bytes.trimmed().isEmpty() || bytes.trimmed().endsWith("</RECORD>");
        EXPECT_EQ(store.GetDataFromFile(message), whole) << bytes.constData();
        EXPECT_EQ(store.Count(), whole ? bytes.count("</RECORD>") : 0) << bytes.constData();
    };
    for (qsizetype cut = 0; cut < kLearners.size(); ++cut)
        check(LearnersPath(), kLearners.left(cut), LearnerItems(LearnersPath()));
    for (qsizetype cut = 0; cut < kScores.size(); ++cut)
        check(ScoresPath(), kScores.left(cut), DbaseItems(ScoresPath()));
}

// A store never loaded, a write cut off by a full disk, a folder that cannot be made:
// each save fails naming the file, and the old file stays whole.
TEST_F(RecordStores, FailedSavesKeepTheOldFile)
{
    const QByteArray ann = "<RECORD key = '1' name = 'Ann'></RECORD>\r\n";
    WriteBytes(LearnersPath(), ann);
    LearnerItems learners(LearnersPath());
    EXPECT_FALSE(learners.SetDataToFile(message));
    EXPECT_TRUE(message.contains(LearnersPath()));
    EXPECT_EQ(ReadBytes(LearnersPath()), ann);

    ASSERT_TRUE(learners.GetDataFromFile(message));
    for (qint16 next = 2; next < 200; ++next)
        learners.Add(next, QStringLiteral("A learner with a long name"));
    {
        const FileSizeLimit full(100);
        EXPECT_FALSE(learners.SetDataToFile(message));
    }
    EXPECT_TRUE(message.contains(LearnersPath())) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("could not be written"))) << message.toStdString();
    // The system's reason, not "Unknown error".
    EXPECT_TRUE(message.endsWith(QString::fromLocal8Bit(std::strerror(EFBIG)) + QLatin1Char('.')))
        << message.toStdString();
    EXPECT_EQ(ReadBytes(LearnersPath()), ann);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Learners.dat")});

    WriteBytes(PathOf("file"), "not a folder");
    LearnerItems nowhere = Loaded<LearnerItems>(PathOf("file/Learners.dat")); // nothing there: empty
    nowhere.Add(1, QStringLiteral("Ann"));
    EXPECT_FALSE(nowhere.SetDataToFile(message));
    EXPECT_TRUE(message.contains(QStringLiteral("file/Learners.dat"))) << message.toStdString();
}
