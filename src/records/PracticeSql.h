#pragma once
// What the practice store and its writer thread share: one Qt SQL connection per
// thread, how SQLite's errors are told apart, the store's messages and the statement
// that writes an answer.

#include "records/PracticeAnswer.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>

class QSqlQuery;

enum class SqlAccess : int {
    ReadWrite,
    ReadOnly,
    // Read-only, and no other program is expected to change it: needs no "-shm" file,
    // so a file in WAL mode can be read in a read-only folder.
    Immutable,
};

// One named QSQLITE connection, used only on the thread that made it; removed with it.
class SqlConnection {
public:
    SqlConnection();
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    // Waits up to busyTimeoutMs for a lock held by another connection.
    bool Open(const QString& path, SqlAccess access, int busyTimeoutMs, QSqlError& error);
    QSqlDatabase Database() const;
    // Runs a statement without bound values; firstValue gets the first value of its
    // first row.
    bool Exec(const QString& statement, QSqlError& error, QVariant* firstValue = nullptr) const;

private:
    QString name_;
};

// The file is not an SQLite database or its content is broken: no retry will help.
bool IsDamage(const QSqlError& error);
// Another connection holds a lock on the file.
bool IsLock(const QSqlError& error);
// SQLite's own words for the error.
QString SqlErrorText(const QSqlError& error);
// An error of our own making with SQLite's code for damage, e.g. for a failed check.
QSqlError DamageError(const QString& text);

QString PracticeTr(const char* text);
QString ShownPath(const QString& path);
QString DamagedText(const QString& path, const QString& detail);

// What the figures and the weak-note choice read of an answer, packed in the column
// "tally" so that they read one value per answer: SQLite pays for every column it
// reads, and Qt SQL for every value it hands out, more than for the rest together.
// Bits 0-19 response ms (longer ones count as 1048575), 20 right, 21-26 fret and
// 27-32 string of the attributed position (0 when unknown), 33-39 note index (127
// when unknown). Bits 40 and up stay free: the figures put the day there.
struct Tally {
    std::optional<FretPosition> position;
    int noteIndex = -1;
    bool correct = false;
    int responseMs = 0;
};
qint64 PackTally(const PracticeAnswer& answer);
Tally UnpackTally(qint64 tally);

// Prepares query to insert one answer; BindAnswer then fills it for each.
bool PrepareInsert(QSqlQuery& query);
void BindAnswer(QSqlQuery& query, const PracticeAnswer& answer);
