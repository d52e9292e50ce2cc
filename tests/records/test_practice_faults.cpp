// Faults of the practice file: each is a message naming the file, the program goes on
// (answers are not recorded, or kept until they can be), and the learner and score
// files and the settings stay as they were.
#include "FileSizeLimit.h"
#include "PracticeTestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <optional>

namespace {

const qint64 kNow = QDateTime::currentMSecsSinceEpoch();

class PracticeFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        neighbours.emplace(dir.path());
    }
    void TearDown() override
    {
        if (neighbours) {
            EXPECT_TRUE(neighbours->Untouched());
        }
    }

    QString PathIn(const QString& folder) const { return folder + QLatin1Char('/') + PracticeStore::FileName(); }
    QString Path() const { return PathIn(dir.path()); }

    static PracticeAnswer Sample(int i)
    {
        return Answer(kNow - 1000 * i, {1 + i % 6, 1 + i % 14}, QStringLiteral("E-0"), 700 + i);
    }

    // A practice file at path holding count answers of learner 1, closed again.
    static void MakeFile(const QString& path, int count)
    {
        PracticeStore store(path);
        QString message;
        ASSERT_TRUE(store.Open(message)) << message.toStdString();
        for (int i = 0; i < count; ++i)
            store.Record(Sample(i));
        ASSERT_TRUE(store.WaitUntilWritten(20000));
    }

    static int AnswersIn(const PracticeStore& store)
    {
        std::vector<PracticeAnswer> answers;
        QString message;
        EXPECT_TRUE(store.Answers(std::nullopt, answers, message)) << message.toStdString();
        return int(answers.size());
    }

    static int FigureCount(const PracticeStore& store)
    {
        ProgressFilter filter;
        filter.learnerKey = 1;
        ProgressFigures figures;
        QString message;
        EXPECT_TRUE(store.Progress(filter, figures, message)) << message.toStdString();
        return figures.overall.count;
    }

    // The drill goes on: answers are taken and dropped, nothing waits.
    static void RecordingIsOff(PracticeStore& store)
    {
        for (int i = 0; i < 3; ++i)
            store.Record(Sample(i));
        EXPECT_EQ(store.HeldCount(), 0);
        EXPECT_FALSE(store.WaitUntilWritten(0));
    }

    static ::testing::AssertionResult Says(const QString& message, const QString& path, const char* what)
    {
        if (message.contains(QDir::toNativeSeparators(path)) && message.contains(QLatin1String(what)))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "message without '" << path.toStdString() << "' or '" << what
                                             << "': " << message.toStdString();
    }

    static void SetReadOnly(const QString& folder, bool readOnly)
    {
        const QFile::Permissions all = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
            | QFile::ReadOther | QFile::ExeOther;
        ASSERT_TRUE(QFile::setPermissions(folder, readOnly ? all : all | QFile::WriteOwner));
    }

    QTemporaryDir dir;
    std::optional<NeighbourFiles> neighbours;
};

} // namespace

TEST_F(PracticeFaults, AFileThatIsNoDatabaseIsLeftAloneAndNothingIsRecorded)
{
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("These are not the answers you are looking for.\n").repeated(100));
    file.close();
    const QByteArray before = FileBytes(Path());
    {
        PracticeStore store(Path());
        QString message;
        EXPECT_FALSE(store.Open(message));
        EXPECT_TRUE(Says(message, Path(), "damaged"));
        EXPECT_EQ(store.GetMode(), PracticeStore::Mode::Off);
        RecordingIsOff(store);
        ProgressFigures figures;
        EXPECT_FALSE(store.Progress({}, figures, message));
    }
    EXPECT_EQ(FileBytes(Path()), before);
}

TEST_F(PracticeFaults, DamagedPagesStopRecordingWithAMessageAndTheFileStaysAsItWas)
{
    MakeFile(Path(), 3000);
    {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_GT(file.size(), 8 * 4096);
        file.seek(2 * 4096);
        file.write(QByteArray(4 * 4096, char(0xA5)));
    }
    const QByteArray before = FileBytes(Path());
    {
        PracticeStore store(Path());
        QSignalSpy problems(&store, &PracticeStore::Problem);
        QString message;
        store.Open(message); // finds the header fine; the writer's check finds the rest
        if (message.isEmpty()) {
            ASSERT_TRUE(problems.wait(20000));
            message = problems.first().first().toString();
        }
        EXPECT_TRUE(Says(message, Path(), "damaged"));
        EXPECT_EQ(store.GetMode(), PracticeStore::Mode::Off);
        RecordingIsOff(store);
    }
    EXPECT_EQ(FileBytes(Path()), before);
}

TEST_F(PracticeFaults, AFileLockedByAnotherProgramAtTheStartIsNotRecordedInto)
{
    MakeFile(Path(), 5);
    RawDatabase other(Path());
    other.Exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
    other.Exec(QStringLiteral("BEGIN EXCLUSIVE"));
    other.Exec(QStringLiteral("SELECT count(*) FROM answers"));

    PracticeStore store(Path());
    QString message;
    EXPECT_FALSE(store.Open(message));
    EXPECT_TRUE(Says(message, Path(), "locked"));
    EXPECT_EQ(store.GetMode(), PracticeStore::Mode::Off);
    RecordingIsOff(store);
}

TEST_F(PracticeFaults, AnswersWaitForALockToGoAndAreWrittenThen)
{
    PracticeStore store(Path());
    QString message;
    ASSERT_TRUE(store.Open(message)) << message.toStdString();
    store.SetRetryInterval(50);
    QSignalSpy problems(&store, &PracticeStore::Problem);
    QSignalSpy resumed(&store, &PracticeStore::Resumed);
    {
        RawDatabase other(Path());
        other.Exec(QStringLiteral("BEGIN IMMEDIATE"));
        for (int i = 0; i < 3; ++i)
            store.Record(Sample(i));
        ASSERT_TRUE(problems.wait(20000));
        EXPECT_TRUE(Says(problems.first().first().toString(), Path(), "locked"));
        EXPECT_EQ(store.HeldCount(), 3);
        EXPECT_EQ(store.GetMode(), PracticeStore::Mode::Recording);
        store.Record(Sample(3));
        other.Exec(QStringLiteral("ROLLBACK"));
    }
    EXPECT_TRUE(store.WaitUntilWritten(20000));
    EXPECT_EQ(AnswersIn(store), 4);
    EXPECT_TRUE(resumed.wait(5000));
    EXPECT_EQ(problems.count(), 1) << "one message for the whole fault";
}

TEST_F(PracticeFaults, AReadOnlyFolderWithoutAFileRecordsNothing)
{
    const QString folder = dir.filePath(QStringLiteral("locked-away"));
    ASSERT_TRUE(QDir().mkpath(folder));
    NeighbourFiles inFolder(folder);
    SetReadOnly(folder, true);
    {
        const ObeyFilePermissions obey;
        PracticeStore store(PathIn(folder));
        QString message;
        EXPECT_FALSE(store.Open(message));
        EXPECT_TRUE(Says(message, PathIn(folder), "read-only"));
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(folder)));
        EXPECT_EQ(store.GetMode(), PracticeStore::Mode::Off);
        RecordingIsOff(store);
    }
    SetReadOnly(folder, false);
    EXPECT_FALSE(QFileInfo::exists(PathIn(folder)));
    EXPECT_TRUE(inFolder.Untouched());
}

TEST_F(PracticeFaults, AReadOnlyFolderWithAFileIsOnlyRead)
{
    const QString folder = dir.filePath(QStringLiteral("locked-away"));
    ASSERT_TRUE(QDir().mkpath(folder));
    MakeFile(PathIn(folder), 6);
    NeighbourFiles inFolder(folder);
    const QByteArray before = FileBytes(PathIn(folder));
    SetReadOnly(folder, true);
    {
        const ObeyFilePermissions obey;
        PracticeStore store(PathIn(folder));
        QString message;
        EXPECT_FALSE(store.Open(message));
        EXPECT_TRUE(Says(message, PathIn(folder), "read-only"));
        EXPECT_EQ(store.GetMode(), PracticeStore::Mode::ReadOnly);
        EXPECT_EQ(FigureCount(store), 6);
        RecordingIsOff(store);
    }
    SetReadOnly(folder, false);
    EXPECT_EQ(FileBytes(PathIn(folder)), before);
    EXPECT_TRUE(inFolder.Untouched());
}

TEST_F(PracticeFaults, AFullDiskKeepsAnswersInMemoryUntilThereIsRoom)
{
    PracticeStore store(Path());
    QString message;
    ASSERT_TRUE(store.Open(message)) << message.toStdString();
    store.SetRetryInterval(50);
    store.Record(Sample(100));
    ASSERT_TRUE(store.WaitUntilWritten(10000));
    QSignalSpy problems(&store, &PracticeStore::Problem);
    QSignalSpy resumed(&store, &PracticeStore::Resumed);
    {
        const FileSizeLimit full(1);
        for (int i = 0; i < 20; ++i)
            store.Record(Sample(i));
        ASSERT_TRUE(problems.wait(20000));
        EXPECT_TRUE(Says(problems.first().first().toString(), Path(), "could not be written"));
        EXPECT_EQ(store.GetMode(), PracticeStore::Mode::Recording);
        EXPECT_EQ(store.HeldCount(), 20);
        EXPECT_EQ(AnswersIn(store), 1);
        // The weak-note choice sees the held answers, newest first.
        std::vector<PositionAnswer> recent;
        ASSERT_TRUE(store.RecentAnswers(1, 0, QStringLiteral("standard"), 100, recent, message));
        ASSERT_EQ(recent.size(), 21U);
        EXPECT_EQ(recent.front().responseMs, Sample(19).responseMs);
        EXPECT_EQ(recent.back().responseMs, Sample(100).responseMs);
    }
    EXPECT_TRUE(store.WaitUntilWritten(20000));
    EXPECT_EQ(store.HeldCount(), 0);
    EXPECT_EQ(AnswersIn(store), 21);
    EXPECT_TRUE(resumed.wait(5000));
}

TEST_F(PracticeFaults, AFileFromANewerVersionIsOnlyRead)
{
    MakeFile(Path(), 4);
    {
        RawDatabase raw(Path());
        raw.Exec(QStringLiteral("PRAGMA user_version = 99"));
    }
    const QByteArray before = FileBytes(Path());
    {
        PracticeStore store(Path());
        QString message;
        EXPECT_FALSE(store.Open(message));
        EXPECT_TRUE(Says(message, Path(), "newer version"));
        EXPECT_EQ(store.GetMode(), PracticeStore::Mode::ReadOnly);
        EXPECT_EQ(FigureCount(store), 4);
        RecordingIsOff(store);
        EXPECT_FALSE(store.DeleteAnswersOfLearner(1, message));
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(Path())));
    }
    EXPECT_EQ(FileBytes(Path()), before);
    RawDatabase raw(Path());
    EXPECT_EQ(raw.Exec(QStringLiteral("PRAGMA user_version")).toInt(), 99);
}
