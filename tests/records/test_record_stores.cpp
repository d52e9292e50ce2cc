#include "doubles/MessageRecorder.h"

#include "records/DbaseItems.h"
#include "records/LearnerItems.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>
#include <vector>

namespace {

class RecordStores : public ::testing::Test {
protected:
    QString PathOf(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QString LearnersPath() const { return PathOf("Learners.dat"); }
    QString ScoresPath() const { return PathOf("Score.dat"); }

    static void WriteBytes(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    static QByteArray ReadBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Loads a fresh store from the file; fails the test when the load fails.
    template <typename Store>
    Store Loaded(const QString& path)
    {
        Store store(path);
        QString message;
        EXPECT_TRUE(store.GetDataFromFile(message)) << message.toStdString();
        return store;
    }

    QTemporaryDir dir;
    QString message;
};

} // namespace

TEST_F(RecordStores, MissingFilesAreEmptyStoresAndTheFirstKeyIsOne)
{
    LearnerItems learners(LearnersPath());
    DbaseItems scores(ScoresPath());
    ASSERT_TRUE(learners.GetDataFromFile(message));
    ASSERT_TRUE(scores.GetDataFromFile(message));
    EXPECT_EQ(learners.Count(), 0);
    EXPECT_EQ(scores.intHighestKeyValue, 0);

    qint16 key = 0;
    ASSERT_TRUE(learners.AddNew(QStringLiteral("Ann"), key, message));
    EXPECT_EQ(key, 1);
    ASSERT_TRUE(scores.AddScore(key, 2, 0.5F, key, message)) << message.toStdString();
    EXPECT_EQ(key, 1);

    // An empty store leaves no file at all.
    learners.Remove(1);
    ASSERT_TRUE(learners.SetDataToFile(message));
    EXPECT_FALSE(QFile::exists(LearnersPath()));
    ASSERT_TRUE(scores.RemoveScoresOfLearner(1, message));
    EXPECT_FALSE(QFile::exists(ScoresPath()));
}

TEST_F(RecordStores, FilesHoldExactlyTheWrittenLines)
{
    LearnerItems learners = Loaded<LearnerItems>(LearnersPath());
    learners.Add(3, QStringLiteral("Evening group"));
    learners.Add(1, QStringLiteral("Ann"));
    ASSERT_TRUE(learners.SetDataToFile(message)) << message.toStdString();
    EXPECT_EQ(ReadBytes(LearnersPath()), QByteArray("<RECORD key = '3' name = 'Evening group'></RECORD>\r\n"
                                                    "<RECORD key = '1' name = 'Ann'></RECORD>\r\n"));

    DbaseItems scores = Loaded<DbaseItems>(ScoresPath());
    scores.Add(12, 3, 2, 0.875F);
    scores.Add(13, 3, 6, 1.0F);
    ASSERT_TRUE(scores.SetDataToFile(message)) << message.toStdString();
    EXPECT_EQ(ReadBytes(ScoresPath()),
              QByteArray("<RECORD key = '12' learnerKey = '3' lessonKey = '2' value = '0.875'></RECORD>\r\n"
                         "<RECORD key = '13' learnerKey = '3' lessonKey = '6' value = '1'></RECORD>\r\n"));
}

TEST_F(RecordStores, NamesRoundTripWithoutTheirQuotes)
{
    const QString names[] = {QStringLiteral("Evening group"), QStringLiteral("  two  spaces  "),
                             QStringLiteral("rock'n'roll"), QStringLiteral("Say \"hi\""),
                             QStringLiteral("Zo\u00EB \u00C5ngstr\u00F6m"), QStringLiteral("a</RECORD>b"),
                             QStringLiteral("&amp; <3")};
    const QString expected[] = {QStringLiteral("Evening group"), QStringLiteral("  two  spaces  "),
                                QStringLiteral("rocknroll"), QStringLiteral("Say hi"),
                                QStringLiteral("Zo\u00EB \u00C5ngstr\u00F6m"), QStringLiteral("ab"),
                                QStringLiteral("&amp; <3")};
    LearnerItems learners = Loaded<LearnerItems>(LearnersPath());
    qint16 key = 0;
    for (const QString& name : names)
        ASSERT_TRUE(learners.AddNew(name, key, message));
    ASSERT_TRUE(learners.SetDataToFile(message)) << message.toStdString();

    const LearnerItems reloaded = Loaded<LearnerItems>(LearnersPath());
    ASSERT_EQ(reloaded.Count(), int(std::size(names)));
    for (int i = 0; i < reloaded.Count(); ++i) {
        EXPECT_EQ(reloaded.Item(i + 1).strName, expected[i]);
        EXPECT_EQ(reloaded.Item(i + 1).intKey, i + 1);
    }
}

// A Learners.dat edited by hand, with quotes inside names: each name loads without its
// quotes, keeps its neighbours apart, and is written back as it was read.
TEST_F(RecordStores, HandEditedQuotesInNamesLoadAndSaveAsRead)
{
    WriteBytes(LearnersPath(), "<RECORD key = '1' name = 'Ann O'Brien'></RECORD>\r\n"
                               "<RECORD key = '2' name = 'rock'n'roll'></RECORD>\r\n"
                               "<RECORD name = 'Mary O'Neil' key = '3'></RECORD>\r\n"
                               "<RECORD key = '4' name = 'The Smiths' new band'></RECORD>\r\n"
                               "<RECORD key = '5' name = 'Bo'></RECORD>\r\n"
                               "<RECORD key = '6' name = '&#2'0;</REC'ORD>x'></RECORD>\r\n");
    const std::vector<std::pair<qint16, QString>> expected = {
        {1, QStringLiteral("Ann OBrien")}, {2, QStringLiteral("rocknroll")},
        {3, QStringLiteral("Mary ONeil")}, {4, QStringLiteral("The Smiths new band")},
        {5, QStringLiteral("Bo")},         {6, QStringLiteral(" x")},
    };
    const auto contentOf = [](const LearnerItems& store) {
        std::vector<std::pair<qint16, QString>> content;
        for (const LearnerItem& learner : store)
            content.emplace_back(learner.intKey, learner.strName);
        return content;
    };
    const LearnerItems learners = Loaded<LearnerItems>(LearnersPath());
    EXPECT_EQ(contentOf(learners), expected);

    ASSERT_TRUE(learners.SetDataToFile(message)) << message.toStdString();
    EXPECT_EQ(ReadBytes(LearnersPath()), QByteArray("<RECORD key = '1' name = 'Ann OBrien'></RECORD>\r\n"
                                                    "<RECORD key = '2' name = 'rocknroll'></RECORD>\r\n"
                                                    "<RECORD key = '3' name = 'Mary ONeil'></RECORD>\r\n"
                                                    "<RECORD key = '4' name = 'The Smiths new band'></RECORD>\r\n"
                                                    "<RECORD key = '5' name = 'Bo'></RECORD>\r\n"
                                                    "<RECORD key = '6' name = ' x'></RECORD>\r\n"));
    EXPECT_EQ(contentOf(Loaded<LearnerItems>(LearnersPath())), expected);
}

// A name whose closing quote is really missing, or a key without its quotes, fails the
// load with the parser's detail and leaves the file as it was.
TEST_F(RecordStores, HandEditedQuoteFaultsAreNamed)
{
    const std::pair<const char*, const char*> damaged[] = {
        {"<RECORD key = '1' name = 'Ann'></RECORD>\r\n<RECORD key = '2' name = 'Bob O'Neil></RECORD>\r\n",
         "The ending ' missing from a value field in data file."},
        {"<RECORD key = 1 name = 'Ann O'Brien'></RECORD>\r\n",
         "The starting ' missing from a value field in data file."},
    };
    for (const auto& [text, detail] : damaged) {
        WriteBytes(LearnersPath(), text);
        LearnerItems learners(LearnersPath());
        message.clear();
        EXPECT_FALSE(learners.GetDataFromFile(message)) << text;
        EXPECT_TRUE(message.endsWith(QString::fromUtf8(detail))) << message.toStdString();
        EXPECT_EQ(learners.Count(), 0);
        EXPECT_FALSE(learners.SetDataToFile(message));
        EXPECT_EQ(ReadBytes(LearnersPath()), QByteArray(text));
    }
}

TEST_F(RecordStores, ScoresReadBackAsTheSameFloat)
{
    const float values[] = {0.875F, 1.0F, 0.0F, 1.0F / 6.0F, 2.0F / 3.0F, 1e-5F, 0.1F, 37.0F / 41.0F};
    DbaseItems scores = Loaded<DbaseItems>(ScoresPath());
    qint16 key = 0;
    for (const float value : values)
        ASSERT_TRUE(scores.AddScore(1, 1, value, key, message)) << message.toStdString();

    const QByteArray bytes = ReadBytes(ScoresPath());
    EXPECT_TRUE(bytes.contains("value = '0.16666667'"));
    EXPECT_TRUE(bytes.contains("value = '0.00001'"));
    EXPECT_FALSE(bytes.contains("e-"));

    const DbaseItems reloaded = Loaded<DbaseItems>(ScoresPath());
    const std::vector<float> read = reloaded.LessonResults(1, 1);
    ASSERT_EQ(read.size(), std::size(values));
    for (size_t i = 0; i < read.size(); ++i)
        EXPECT_EQ(std::memcmp(&read[i], &values[i], sizeof(float)), 0) << values[i];
}

TEST_F(RecordStores, ValuesWithACommaOrAnExponentAreRead)
{
    WriteBytes(ScoresPath(), "<RECORD key = '1' learnerKey = '1' lessonKey = '1' value = '0,875'></RECORD>\r\n"
                             "<RECORD key = '2' learnerKey = '1' lessonKey = '1' value = '1E-03'></RECORD>\r\n");
    const DbaseItems scores = Loaded<DbaseItems>(ScoresPath());
    ASSERT_EQ(scores.Count(), 2);
    EXPECT_EQ(scores.Item(QStringLiteral("1")).fltValue, 0.875F);
    EXPECT_EQ(scores.Item(QStringLiteral("2")).fltValue, 0.001F);
}

TEST_F(RecordStores, TheHighestKeyReadMakesTheNextKey)
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
    qint16 key = 0;
    ASSERT_TRUE(learners.AddNew(QStringLiteral("D"), key, message));
    EXPECT_EQ(key, 6);

    // A learner added by hand above the highest key is skipped over.
    learners.Add(7, QStringLiteral("E"));
    ASSERT_TRUE(learners.AddNew(QStringLiteral("F"), key, message));
    EXPECT_EQ(key, 8);
}

TEST_F(RecordStores, KeysStopAt32767)
{
    WriteBytes(ScoresPath(), "<RECORD key = '32767' learnerKey = '1' lessonKey = '1' value = '1'></RECORD>\r\n");
    DbaseItems scores = Loaded<DbaseItems>(ScoresPath());
    const QByteArray before = ReadBytes(ScoresPath());
    qint16 key = 0;
    EXPECT_FALSE(scores.AddScore(1, 1, 0.5F, key, message));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(key, 0);
    EXPECT_EQ(scores.Count(), 1);
    EXPECT_EQ(scores.intHighestKeyValue, 32767);
    EXPECT_EQ(ReadBytes(ScoresPath()), before);

    LearnerItems learners = Loaded<LearnerItems>(LearnersPath());
    learners.intHighestKeyValue = 32767;
    EXPECT_FALSE(learners.AddNew(QStringLiteral("X"), key, message));
    EXPECT_EQ(learners.Count(), 0);
}

TEST_F(RecordStores, ScoresAreSavedAsTheyAreAddedAndRemoved)
{
    DbaseItems scores = Loaded<DbaseItems>(ScoresPath());
    qint16 key = 0;
    ASSERT_TRUE(scores.AddScore(1, 1, 0.25F, key, message));
    ASSERT_TRUE(scores.AddScore(2, 1, 0.5F, key, message));
    ASSERT_TRUE(scores.AddScore(1, 3, 0.75F, key, message));
    ASSERT_TRUE(scores.AddScore(1, 1, 1.0F, key, message));
    EXPECT_EQ(Loaded<DbaseItems>(ScoresPath()).Count(), 4);
    EXPECT_EQ(scores.LessonResults(1, 1), (std::vector<float>{0.25F, 1.0F}));

    ASSERT_TRUE(scores.RemoveScoresOfLearner(1, message));
    const DbaseItems reloaded = Loaded<DbaseItems>(ScoresPath());
    ASSERT_EQ(reloaded.Count(), 1);
    EXPECT_EQ(reloaded.Item(1).intLearnerKey, 2);
    EXPECT_EQ(reloaded.Item(QStringLiteral("2")).fltValue, 0.5F);
    EXPECT_THROW(reloaded.Item(QStringLiteral("1")), CollectionError);
}

// Each of these must fail to load, leave the store empty, and keep the file as it was
// even when a save is tried afterwards.
TEST_F(RecordStores, DamagedScoreFilesFailAndSurvive)
{
    const char* const damaged[] = {
        "<RECORD key = '1' lessonKey = '1' value = '1'></RECORD>",                          // no learnerKey
        "<RECORD key = '1' learnerKey = '1' lessonKey = '1' value = '1'></RECORD>\r\n"
        "<RECORD key = '1' learnerKey = '2' lessonKey = '1' value = '1'></RECORD>",         // key twice
        "<RECORD key = 'x' learnerKey = '1' lessonKey = '1' value = '1'></RECORD>",         // not a number
        "<RECORD key = '40000' learnerKey = '1' lessonKey = '1' value = '1'></RECORD>",     // past 16 bits
        "<RECORD key = '0' learnerKey = '1' lessonKey = '1' value = '1'></RECORD>",         // keys start at 1
        "<RECORD key = '1' learnerKey = '1' lessonKey = '99999999999' value = '1'></RECORD>",
        "<RECORD key = '1' learnerKey = '1' lessonKey = '1' value = '1e999'></RECORD>",     // no float
        "<RECORD key = '1' learnerKey = '1' lessonKey = '1' value = 'nan'></RECORD>",
        "<RECORD key = '1' learnerKey = '1' lessonKey = '1' value = ''></RECORD>",
        "<RECORD key = '1' learnerKey = '1' learnerkey = '1' lessonKey = '1' value = '1'></RECORD>",
        "<RECORD key = '1' learnerKey = '1' lessonKey = '1' value = '1'></RECORD>\r\n"
        "<RECORD key = '2' learnerKey = '1' less",                                           // cut short
        "<record key = '1' learnerKey = '1' lessonKey = '1' value = '1'></record>",          // lower case
        "<RECORD key  = '1' learnerKey = '1' lessonKey = '1' value = '1'></RECORD>",
        "\x7F" "ELF\x02\x01\x01\x00\xFF\xFE garbage \x00\x00",                               // binary
    };
    for (const char* text : damaged) {
        const QByteArray bytes(text, qsizetype(std::strlen(text)) + (text[0] == '\x7F' ? 4 : 0));
        WriteBytes(ScoresPath(), bytes);
        DbaseItems scores(ScoresPath());
        message.clear();
        EXPECT_FALSE(scores.GetDataFromFile(message)) << text;
        EXPECT_TRUE(message.contains(ScoresPath())) << message.toStdString();
        EXPECT_EQ(scores.Count(), 0) << text;

        QString saveMessage;
        scores.Add(5, 1, 1, 0.5F);
        EXPECT_FALSE(scores.SetDataToFile(saveMessage)) << text;
        EXPECT_FALSE(saveMessage.isEmpty());
        qint16 key = 0;
        EXPECT_FALSE(scores.AddScore(1, 1, 0.5F, key, saveMessage)) << text;
        EXPECT_EQ(ReadBytes(ScoresPath()), bytes) << text;
    }
}

TEST_F(RecordStores, DamagedLearnerFilesFailAndSurvive)
{
    const char* const damaged[] = {
        "<RECORD key = '1'></RECORD>",                                                   // no name
        "<RECORD key = '7' name = 'A'></RECORD><RECORD key = '07' name = 'B'></RECORD>", // same key
        "<RECORD key = '1' name = 'A' Name = 'B'></RECORD>",
        "<RECORD key = '1' name = 'Bob></RECORD>",                                       // quote missing
        "<RECORD></RECORD>",
    };
    for (const char* text : damaged) {
        WriteBytes(LearnersPath(), text);
        LearnerItems learners(LearnersPath());
        EXPECT_FALSE(learners.GetDataFromFile(message)) << text;
        EXPECT_EQ(learners.Count(), 0);
        EXPECT_FALSE(learners.SetDataToFile(message));
        EXPECT_EQ(ReadBytes(LearnersPath()), QByteArray(text));
    }
    // A folder where the file should be.
    QDir().mkpath(PathOf("folder/Learners.dat"));
    LearnerItems learners(PathOf("folder/Learners.dat"));
    EXPECT_FALSE(learners.GetDataFromFile(message));
}

TEST_F(RecordStores, AStoreNeverLoadedDoesNotSave)
{
    WriteBytes(LearnersPath(), "<RECORD key = '1' name = 'Ann'></RECORD>\r\n");
    LearnerItems learners(LearnersPath());
    EXPECT_FALSE(learners.SetDataToFile(message));
    EXPECT_TRUE(message.contains(LearnersPath()));
    EXPECT_EQ(ReadBytes(LearnersPath()), QByteArray("<RECORD key = '1' name = 'Ann'></RECORD>\r\n"));
}

TEST_F(RecordStores, AFailedWriteLeavesTheOldFileWhole)
{
    LearnerItems learners = Loaded<LearnerItems>(LearnersPath());
    learners.Add(1, QStringLiteral("Ann"));
    ASSERT_TRUE(learners.SetDataToFile(message));
    const QByteArray before = ReadBytes(LearnersPath());
    for (qint16 key = 2; key < 200; ++key)
        learners.Add(key, QStringLiteral("A learner with a long name"));

    // Files may not grow past 100 bytes (this holds for root too): the new file is cut
    // off part way through.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = learners.SetDataToFile(message);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_TRUE(message.contains(LearnersPath())) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("could not be written"))) << message.toStdString();
    // The system's reason, not "Unknown error".
    EXPECT_TRUE(message.endsWith(QString::fromLocal8Bit(std::strerror(EFBIG)) + QLatin1Char('.')))
        << message.toStdString();
    EXPECT_EQ(ReadBytes(LearnersPath()), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Learners.dat")});
}

TEST_F(RecordStores, AFolderThatCannotBeMadeFailsTheSave)
{
    WriteBytes(PathOf("file"), "not a folder");
    LearnerItems learners(PathOf("file/Learners.dat"));
    ASSERT_TRUE(learners.GetDataFromFile(message)); // nothing there: empty
    learners.Add(1, QStringLiteral("Ann"));
    EXPECT_FALSE(learners.SetDataToFile(message));
    EXPECT_TRUE(message.contains(QStringLiteral("file/Learners.dat"))) << message.toStdString();
}

TEST_F(RecordStores, TheProgramsStoresLiveInTheUserDataFolder)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    EXPECT_EQ(LearnerItems().FilePath(), folder + QStringLiteral("/Learners.dat"));
    EXPECT_EQ(DbaseItems().FilePath(), folder + QStringLiteral("/Score.dat"));
    EXPECT_TRUE(folder.startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
}
