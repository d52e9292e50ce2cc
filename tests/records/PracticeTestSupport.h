#pragma once
// Helpers for the practice store's tests: answers to record, a raw look into the file,
// the files the store must leave alone, and root without its power over permissions.

#include "doubles/MessageRecorder.h"

#include "records/PracticeStore.h"

#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>
#include <ostream>

inline void PrintTo(const PracticeAnswer& a, std::ostream* out)
{
    *out << "{at " << a.answeredAtMs << ", learner " << a.learnerKey << ", " << ActivityText(a.activity).toStdString()
         << ", lesson " << a.lessonKey << ", instrument " << a.instrument << " " << a.tuning.toStdString() << ", key "
         << a.key << ", scale " << a.scale << ", pattern " << a.pattern << ", prompt " << a.promptNote.toStdString();
    if (a.promptPosition)
        *out << " at " << a.promptPosition->string << "/" << a.promptPosition->fret;
    *out << ", answer " << a.answerNote.toStdString() << " at " << a.answerPosition.string << "/"
         << a.answerPosition.fret << (a.correct ? ", right, " : ", wrong, ") << a.responseMs << " ms"
         << (a.assisted ? ", assisted, " : ", ") << InputText(a.input).toStdString() << "}";
}

// A right answer at a position of the guitar's standard tuning, by learner 1 in drill.
inline PracticeAnswer Answer(qint64 atMs, FretPosition position, const QString& note, int responseMs,
                             int learnerKey = 1)
{
    PracticeAnswer a;
    a.answeredAtMs = atMs;
    a.learnerKey = learnerKey;
    a.lessonKey = 6;
    a.key = 4;
    a.scale = 1;
    a.pattern = 6;
    a.promptNote = note;
    a.promptPosition = position;
    a.answerPosition = position;
    a.answerNote = note;
    a.correct = true;
    a.responseMs = responseMs;
    return a;
}

// The same prompt answered wrongly at another position.
inline PracticeAnswer Missed(PracticeAnswer a, FretPosition answeredAt, const QString& answeredNote)
{
    a.answerPosition = answeredAt;
    a.answerNote = answeredNote;
    a.correct = false;
    return a;
}

// A connection of the test's own to a practice file, as another program would have.
class RawDatabase {
public:
    explicit RawDatabase(const QString& path)
    {
        static int counter = 0;
        name_ = QStringLiteral("test-raw-%1").arg(++counter);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        open_ = db.open();
    }
    ~RawDatabase()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;

    bool IsOpen() const { return open_; }
    QSqlDatabase Database() const { return QSqlDatabase::database(name_, false); }

    // Runs the statement; the first value of its first row, or an invalid QVariant.
    QVariant Exec(const QString& statement) const
    {
        QSqlQuery query(Database());
        EXPECT_TRUE(query.exec(statement)) << statement.toStdString() << ": "
                                           << query.lastError().text().toStdString();
        return query.next() ? query.value(0) : QVariant();
    }

private:
    QString name_;
    bool open_ = false;
};

// "Learners.dat", "Score.dat" and a stored setting beside the practice file, to prove
// that nothing the store meets ever changes them.
class NeighbourFiles {
public:
    explicit NeighbourFiles(const QString& folder)
        : learners_(folder + QStringLiteral("/Learners.dat")), scores_(folder + QStringLiteral("/Score.dat"))
    {
        Write(learners_, "<RECORD key = '1' name = 'Ann'></RECORD>\r\n");
        Write(scores_, "<RECORD key = '1' learnerKey = '1' lessonKey = '1' value = '0.875'></RECORD>\r\n");
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Fretlore"),
                           QStringLiteral("Fretlore"));
        settings.setValue(QStringLiteral("General/TestDuration"), QStringLiteral("45"));
        settings.sync();
        settingsPath_ = settings.fileName();
        before_ = Snapshot();
    }

    ::testing::AssertionResult Untouched() const
    {
        if (Snapshot() == before_)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "Learners.dat, Score.dat or the settings changed";
    }

private:
    static void Write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QByteArray Snapshot() const { return Read(learners_) + '|' + Read(scores_) + '|' + Read(settingsPath_); }

    QString learners_;
    QString scores_;
    QString settingsPath_;
    QByteArray before_;
};

// While it lives, this thread obeys file permissions even as root (as every other user
// does), so that a read-only folder is read-only. Threads started meanwhile inherit it.
class ObeyFilePermissions {
public:
    ObeyFilePermissions()
    {
        if (geteuid() != 0 || syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct reduced[2];
        std::memcpy(reduced, saved_, sizeof reduced);
        for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            reduced[cap / 32].effective &= ~(1U << (cap % 32));
        active_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~ObeyFilePermissions()
    {
        if (active_)
            syscall(SYS_capset, &header_, saved_);
    }
    ObeyFilePermissions(const ObeyFilePermissions&) = delete;
    ObeyFilePermissions& operator=(const ObeyFilePermissions&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool active_ = false;
};

inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
