#include "records/PracticeSql.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlQuery>
#include <QUrl>

#include <algorithm>
#include <atomic>

namespace {

// SQLite's primary result codes that decide what a fault means.
enum SqliteCode { kBusy = 5, kLocked = 6, kCorrupt = 11, kNotADb = 26 };

int PrimaryCode(const QSqlError& error)
{
    return error.nativeErrorCode().toInt() & 0xFF; // extended codes keep it in the low byte
}

QVariant NullableInt(bool present, int value)
{
    return present ? QVariant(value) : QVariant(QMetaType::fromType<int>());
}

} // namespace

SqlConnection::SqlConnection()
{
    static std::atomic<int> counter{0};
    name_ = QStringLiteral("fretlore-practice-%1").arg(++counter);
}

SqlConnection::~SqlConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

bool SqlConnection::Open(const QString& path, SqlAccess access, int busyTimeoutMs, QSqlError& error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
    if (access != SqlAccess::ReadWrite)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    if (access == SqlAccess::Immutable) {
        options += QStringLiteral(";QSQLITE_OPEN_URI");
        db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?immutable=1"));
    } else {
        db.setDatabaseName(path);
    }
    db.setConnectOptions(options);
    if (db.open())
        return true;
    error = db.lastError();
    return false;
}

QSqlDatabase SqlConnection::Database() const
{
    return QSqlDatabase::database(name_, false);
}

bool SqlConnection::Exec(const QString& statement, QSqlError& error, QVariant* firstValue) const
{
    QSqlQuery query(Database());
    if (!query.exec(statement)) {
        error = query.lastError();
        return false;
    }
    if (firstValue && query.next())
        *firstValue = query.value(0);
    return true;
}

bool IsDamage(const QSqlError& error)
{
    const int code = PrimaryCode(error);
    return code == kCorrupt || code == kNotADb;
}

bool IsLock(const QSqlError& error)
{
    const int code = PrimaryCode(error);
    return code == kBusy || code == kLocked;
}

QString SqlErrorText(const QSqlError& error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.isEmpty() ? PracticeTr("unknown error") : text;
}

QSqlError DamageError(const QString& text)
{
    return QSqlError(text, text, QSqlError::StatementError, QString::number(kCorrupt));
}

QString PracticeTr(const char* text)
{
    return QCoreApplication::translate("Practice", text);
}

QString ShownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString DamagedText(const QString& path, const QString& detail)
{
    return PracticeTr("The practice file '%1' is damaged (%2). It is left as it is, and answers are not recorded.")
        .arg(ShownPath(path), detail);
}

qint64 PackTally(const PracticeAnswer& answer)
{
    const std::optional<FretPosition> position = AttributedPosition(answer);
    const int noteIndex = NoteIndex(answer.promptNote);
    qint64 tally = std::clamp(answer.responseMs, 0, 0xFFFFF);
    tally |= qint64(answer.correct) << 20;
    if (position && position->string > 0 && position->string < 64 && position->fret > 0 && position->fret < 64)
        tally |= (qint64(position->fret) << 21) | (qint64(position->string) << 27);
    tally |= qint64(noteIndex >= 0 && noteIndex < 127 ? noteIndex : 127) << 33;
    return tally;
}

Tally UnpackTally(qint64 tally)
{
    Tally t;
    t.responseMs = int(tally & 0xFFFFF);
    t.correct = ((tally >> 20) & 1) != 0;
    const int fret = int((tally >> 21) & 63);
    const int string = int((tally >> 27) & 63);
    if (string > 0 && fret > 0)
        t.position = FretPosition{string, fret};
    const int note = int((tally >> 33) & 127);
    t.noteIndex = note == 127 ? -1 : note;
    return t;
}

bool PrepareInsert(QSqlQuery& query)
{
    return query.prepare(QStringLiteral(
        "INSERT INTO answers (answered_at, learner_key, activity, lesson_key, instrument, tuning, music_key,"
        " scale, pattern, prompt_note, prompt_string, prompt_fret, answer_string, answer_fret,"
        " answer_note, correct, response_ms, assisted, input_method, tally)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
}

void BindAnswer(QSqlQuery& query, const PracticeAnswer& a)
{
    const bool prompted = a.promptPosition.has_value();
    const QVariant values[] = {
        a.answeredAtMs, a.learnerKey, ActivityText(a.activity), a.lessonKey, a.instrument, a.tuning, a.key,
        a.scale, a.pattern, a.promptNote,
        NullableInt(prompted, prompted ? a.promptPosition->string : 0),
        NullableInt(prompted, prompted ? a.promptPosition->fret : 0), a.answerPosition.string,
        a.answerPosition.fret, a.answerNote, int(a.correct), std::max(a.responseMs, 0), int(a.assisted),
        InputText(a.input), PackTally(a),
    };
    for (int i = 0; i < int(std::size(values)); ++i)
        query.bindValue(i, values[i]);
}
