// Faults of the practice file: each is a message naming the file, the program goes on
// (answers are not recorded, or kept until they can be), and the learner and score
// files and the settings stay as they were.
#include "FileSizeLimit.h"
#include "PracticeTestSupport.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace {

const qint64 kNow = QDateTime::currentMSecsSinceEpoch();

PracticeAnswer Sample(int i)
{
    return Answer(kNow - 1000 * i, {1 + i % 6, 1 + i % 14}, QStringLiteral("E-0"), 700 + i);
}

// A practice file at path holding count answers of learner 1, closed again.
void MakeFile(const QString& path, int count)
{
    std::vector<PracticeAnswer> answers;
    for (int i = 0; i < count; ++i)
        answers.push_back(Sample(i));
    OpenStore(path, answers);
}

::testing::AssertionResult Says(const QString& message, const QString& path, const char* what)
{
    if (message.contains(QDir::toNativeSeparators(path)) && message.contains(QLatin1String(what)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no '" << what << "' naming the file: " << message.toStdString();
}

void SetReadOnly(const QString& folder, bool readOnly)
{
    const QFile::Permissions read = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(folder, readOnly ? read : read | QFile::WriteOwner));
}

using Holder = std::shared_ptr<void>;

} // namespace

// Files the store cannot record into: a message naming the file, recording off for the
// run (answers taken and dropped, nothing waits), whatever can be read still read, and
// the file left exactly as it was.
TEST(PracticeFaults, FilesThatCannotBeRecordedIntoAreLeftAsTheyWere)
{
    struct Case {
        const char* what;
        std::function<Holder(const QString& path)> prepare; // keeps the fault while the holder lives
        const char* says;
        PracticeStore::Mode mode;
        int answers = 0; // read in read-only mode
        bool readOnlyFolder = false;
        bool foundByTheWriter = false; // the file opens; the writer's first check finds the fault
    };
    const Case cases[] = {
        {"not a database",
         [](const QString& path) {
             QFile file(path);
             EXPECT_TRUE(file.open(QIODevice::WriteOnly));
             file.write(QByteArray("These are not the answers you are looking for.\n").repeated(100));
             return Holder();
         },
         "damaged", PracticeStore::Mode::Off},
        {"damaged pages", // the header is fine, the writer's check finds the rest
         [](const QString& path) {
             MakeFile(path, 3000);
             QFile file(path);
             EXPECT_TRUE(file.open(QIODevice::ReadWrite) && file.size() > 8 * 4096);
             file.seek(2 * 4096);
             file.write(QByteArray(4 * 4096, char(0xA5)));
             return Holder();
         },
         "damaged", PracticeStore::Mode::Off, 0, false, true},
        {"locked by another program",
         [](const QString& path) {
             MakeFile(path, 5);
             auto other = std::make_shared<RawDatabase>(path);
             other->Exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
             other->Exec(QStringLiteral("BEGIN EXCLUSIVE"));
             other->Exec(QStringLiteral("SELECT count(*) FROM answers"));
             return Holder(other);
         },
         "locked", PracticeStore::Mode::Off},
        {"from a newer version",
         [](const QString& path) {
             MakeFile(path, 4);
             RawDatabase(path).Exec(QStringLiteral("PRAGMA user_version = 99"));
             return Holder();
         },
         "newer version", PracticeStore::Mode::ReadOnly, 4},
        {"in a read-only folder", [](const QString& path) { MakeFile(path, 6); return Holder(); }, "read-only",
         PracticeStore::Mode::ReadOnly, 6, true},
        {"missing from a read-only folder", [](const QString&) { return Holder(); }, "read-only",
         PracticeStore::Mode::Off, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const NeighbourFiles neighbours(dir.path());
        const QString path = dir.filePath(PracticeStore::FileName());
        Holder fault = c.prepare(path);
        const QByteArray before = FileBytes(path);
        if (c.readOnlyFolder)
            SetReadOnly(dir.path(), true);
        {
            std::optional<ObeyFilePermissions> obey;
            if (c.readOnlyFolder)
                obey.emplace();
            PracticeStore store(path);
            QSignalSpy problems(&store, &PracticeStore::Problem);
            QString message;
            if (store.Open(message)) {
                EXPECT_TRUE(c.foundByTheWriter);
                ASSERT_TRUE(problems.wait(20000));
                message = problems.first().first().toString();
            }
            EXPECT_TRUE(Says(message, path, c.says));
            EXPECT_EQ(store.GetMode(), c.mode);
            ProgressFigures figures;
            ProgressFilter filter;
            filter.learnerKey = 1;
            EXPECT_EQ(store.Progress(filter, figures, message), c.mode == PracticeStore::Mode::ReadOnly);
            EXPECT_EQ(figures.overall.count, c.answers);
            for (int i = 0; i < 3; ++i)
                store.Record(Sample(i));
            EXPECT_EQ(store.HeldCount(), 0);
            EXPECT_FALSE(store.WaitUntilWritten(0));
            EXPECT_FALSE(store.DeleteAnswersOfLearner(1, message));
            EXPECT_TRUE(message.contains(QDir::toNativeSeparators(path))) << message.toStdString();
        }
        if (c.readOnlyFolder)
            SetReadOnly(dir.path(), false);
        fault.reset();
        EXPECT_EQ(FileBytes(path), before);
        EXPECT_TRUE(neighbours.Untouched());
    }
}

// Faults that pass: a lock another program holds for a while, a full disk. One message
// for the whole fault, the answers wait in memory (and count for the weak-note choice,
// newest first), and are written once the fault is gone.
TEST(PracticeFaults, AnswersWaitInMemoryUntilTheFaultPasses)
{
    struct Case {
        const char* what;
        std::function<Holder(const QString& path)> start; // the fault lasts while the holder lives
        const char* says;
    };
    const Case cases[] = {
        {"a lock",
         [](const QString& path) {
             auto other = std::make_shared<RawDatabase>(path);
             other->Exec(QStringLiteral("BEGIN IMMEDIATE"));
             return Holder(other);
         },
         "locked"},
        {"a full disk", [](const QString&) { return Holder(std::make_shared<FileSizeLimit>(1)); },
         "could not be written"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const NeighbourFiles neighbours(dir.path());
        const QString path = dir.filePath(PracticeStore::FileName());
        PracticeStore store(path);
        QString message;
        ASSERT_TRUE(store.Open(message)) << message.toStdString();
        store.SetRetryInterval(50);
        store.Record(Sample(100));
        ASSERT_TRUE(store.WaitUntilWritten(10000));
        QSignalSpy problems(&store, &PracticeStore::Problem);
        QSignalSpy resumed(&store, &PracticeStore::Resumed);
        Holder fault = c.start(path);
        for (int i = 0; i < 20; ++i)
            store.Record(Sample(i));
        ASSERT_TRUE(problems.wait(20000));
        EXPECT_TRUE(Says(problems.first().first().toString(), path, c.says));
        EXPECT_EQ(store.GetMode(), PracticeStore::Mode::Recording);
        store.Record(Sample(20));
        EXPECT_EQ(store.HeldCount(), 21);
        EXPECT_EQ(Stored(store).size(), 1U);
        std::vector<PositionAnswer> recent;
        ASSERT_TRUE(store.RecentAnswers(1, 0, QStringLiteral("standard"), 100, recent, message)) << message.toStdString();
        ASSERT_EQ(recent.size(), 22U);
        EXPECT_EQ(recent.front().responseMs, Sample(20).responseMs);
        EXPECT_EQ(recent.back().responseMs, Sample(100).responseMs);

        fault.reset();
        EXPECT_TRUE(store.WaitUntilWritten(20000));
        EXPECT_EQ(store.HeldCount(), 0);
        EXPECT_EQ(Stored(store).size(), 22U);
        EXPECT_TRUE(resumed.wait(5000));
        EXPECT_EQ(problems.count(), 1) << "one message for the whole fault";
        EXPECT_TRUE(neighbours.Untouched());
    }
}
