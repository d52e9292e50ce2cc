#pragma once
// Helpers for the practice store's tests: answers to record, a raw look into the file,
// the files the store must leave alone, and root without its power over permissions.

#include "records/PracticeStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

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
    a.promptNote = a.answerNote = note;
    a.promptPosition = a.answerPosition = position;
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

// A store on path, opened for recording, holding answers once they are written.
inline std::unique_ptr<PracticeStore> OpenStore(const QString& path, const std::vector<PracticeAnswer>& answers = {})
{
    auto store = std::make_unique<PracticeStore>(path);
    QString message;
    EXPECT_TRUE(store->Open(message)) << message.toStdString();
    for (const PracticeAnswer& answer : answers)
        store->Record(answer);
    EXPECT_TRUE(store->WaitUntilWritten(20000));
    return store;
}

// What a store holds, oldest first.
inline std::vector<PracticeAnswer> Stored(const PracticeStore& store, std::optional<int> learnerKey = std::nullopt)
{
    std::vector<PracticeAnswer> answers;
    QString message;
    EXPECT_TRUE(store.Answers(learnerKey, answers, message)) << message.toStdString();
    return answers;
}

inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A connection of the test's own to a practice file, as another program would have.
class RawDatabase {
public:
    explicit RawDatabase(const QString& path) : name_(QStringLiteral("test-raw-%1").arg(++counter_))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        db.open();
    }
    ~RawDatabase()
    {
        Database().close();
        QSqlDatabase::removeDatabase(name_);
    }
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;

    QSqlDatabase Database() const { return QSqlDatabase::database(name_, false); }
    // Runs the statement; the first value of its first row, or an invalid QVariant.
    QVariant Exec(const QString& statement) const
    {
        QSqlQuery query(Database());
        EXPECT_TRUE(query.exec(statement)) << statement.toStdString() << ": " << query.lastError().text().toStdString();
        return query.next() ? query.value(0) : QVariant();
    }

private:
    static inline int counter_ = 0;
    QString name_;
};

// "Learners.dat", "Score.dat" and a stored setting beside the practice file, to prove
// that nothing the store meets ever changes them.
class NeighbourFiles {
public:
    explicit NeighbourFiles(const QString& folder) : folder_(folder)
    {
        for (const auto& [name, bytes] : {std::pair{"Learners.dat", "<RECORD key = '1' name = 'Ann'></RECORD>\r\n"},
                                          std::pair{"Score.dat", "<RECORD key = '1' learnerKey = '1' lessonKey = '1' "
                                                                 "value = '0.875'></RECORD>\r\n"}}) {
            QFile file(folder + QLatin1Char('/') + QLatin1String(name));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(bytes);
        }
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Fretlore"),
                           QStringLiteral("Fretlore"));
        settings.setValue(QStringLiteral("General/TestDuration"), QStringLiteral("45"));
        settings.sync();
        settingsPath_ = settings.fileName();
        before_ = Snapshot();
    }
    bool Untouched() const { return Snapshot() == before_; }

private:
    QByteArray Snapshot() const
    {
        return FileBytes(folder_ + QStringLiteral("/Learners.dat")) + '|' + FileBytes(folder_ + QStringLiteral("/Score.dat"))
            + '|' + FileBytes(settingsPath_);
    }

    QString folder_;
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
