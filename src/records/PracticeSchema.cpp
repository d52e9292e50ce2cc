#include "records/PracticeSchema.h"

#include "records/PracticeAnswer.h"
#include "records/PracticeSql.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <array>

namespace {

bool Exec(QSqlDatabase& db, const QString& statement, QSqlError& error)
{
    QSqlQuery query(db);
    if (query.exec(statement))
        return true;
    error = query.lastError();
    return false;
}

bool ExecAll(QSqlDatabase& db, std::initializer_list<const char*> statements, QSqlError& error)
{
    for (const char* statement : statements)
        if (!Exec(db, QString::fromLatin1(statement), error))
            return false;
    return true;
}

bool MakeVersion1(QSqlDatabase& db, QSqlError& error)
{
    return ExecAll(db,
                   {
                       "CREATE TABLE answers ("
                       " id INTEGER PRIMARY KEY,"
                       " answered_at INTEGER NOT NULL,"
                       " learner_key INTEGER NOT NULL,"
                       " activity TEXT NOT NULL,"
                       " lesson_key INTEGER NOT NULL,"
                       " instrument INTEGER NOT NULL,"
                       " tuning TEXT NOT NULL,"
                       " music_key INTEGER NOT NULL,"
                       " scale INTEGER NOT NULL,"
                       " pattern INTEGER NOT NULL,"
                       " prompt_note TEXT NOT NULL,"
                       " answer_string INTEGER NOT NULL,"
                       " answer_fret INTEGER NOT NULL,"
                       " answer_note TEXT NOT NULL,"
                       " correct INTEGER NOT NULL,"
                       " response_ms INTEGER NOT NULL,"
                       " assisted INTEGER NOT NULL,"
                       " input_method TEXT NOT NULL)",
                       "CREATE INDEX answers_by_learner ON answers (learner_key, instrument, tuning, answered_at)",
                   },
                   error);
}

// The tally of every row, worked out from its other columns.
bool FillTallies(QSqlDatabase& db, QSqlError& error)
{
    QSqlQuery rows(db);
    rows.setForwardOnly(true);
    if (!rows.exec(QStringLiteral("SELECT id, prompt_note, prompt_string, prompt_fret, answer_string, answer_fret,"
                                  " correct, response_ms FROM answers"))) {
        error = rows.lastError();
        return false;
    }
    QSqlQuery update(db);
    if (!update.prepare(QStringLiteral("UPDATE answers SET tally = ? WHERE id = ?"))) {
        error = update.lastError();
        return false;
    }
    while (rows.next()) {
        PracticeAnswer answer;
        answer.promptNote = rows.value(1).toString();
        if (!rows.value(2).isNull() && !rows.value(3).isNull())
            answer.promptPosition = FretPosition{rows.value(2).toInt(), rows.value(3).toInt()};
        answer.answerPosition = {rows.value(4).toInt(), rows.value(5).toInt()};
        answer.correct = rows.value(6).toInt() != 0;
        answer.responseMs = rows.value(7).toInt();
        update.bindValue(0, PackTally(answer));
        update.bindValue(1, rows.value(0));
        if (!update.exec()) {
            error = update.lastError();
            return false;
        }
    }
    if (rows.lastError().isValid()) {
        error = rows.lastError();
        return false;
    }
    return true;
}

bool MakeVersion2(QSqlDatabase& db, QSqlError& error)
{
    return ExecAll(db,
                   {
                       "ALTER TABLE answers ADD COLUMN prompt_string INTEGER",
                       "ALTER TABLE answers ADD COLUMN prompt_fret INTEGER",
                       "ALTER TABLE answers ADD COLUMN tally INTEGER NOT NULL DEFAULT 0",
                       "UPDATE answers SET prompt_string = answer_string, prompt_fret = answer_fret WHERE correct = 1",
                   },
                   error)
        && FillTallies(db, error)
        && ExecAll(db,
                   {
                       "DROP INDEX answers_by_learner",
                       // Holds all the figures and the weak-note choice read: they never
                       // touch the table.
                       "CREATE INDEX answers_by_learner ON answers (learner_key, instrument, tuning,"
                       " answered_at, tally)",
                   },
                   error);
}

// Step n turns version n - 1 into version n.
constexpr std::array<bool (*)(QSqlDatabase&, QSqlError&), 2> kSteps = {MakeVersion1, MakeVersion2};

bool RunStep(QSqlDatabase& db, int version, QSqlError& error)
{
    if (!db.transaction()) {
        error = db.lastError();
        return false;
    }
    if (!kSteps[std::size_t(version - 1)](db, error)
        || !Exec(db, QStringLiteral("PRAGMA user_version = %1").arg(version), error)) {
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        error = db.lastError();
        db.rollback();
        return false;
    }
    return true;
}

} // namespace

static_assert(kSteps.size() == kPracticeSchemaVersion, "one step per version");

int PracticeSchemaVersionOf(const QSqlDatabase& db, QSqlError& error)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        error = query.lastError();
        return -1;
    }
    return query.value(0).toInt();
}

bool MigratePracticeSchema(QSqlDatabase db, int targetVersion, QSqlError& error)
{
    const int version = PracticeSchemaVersionOf(db, error);
    if (version < 0)
        return false;
    for (int next = version + 1; next <= std::min(targetVersion, kPracticeSchemaVersion); ++next)
        if (!RunStep(db, next, error))
            return false;
    return true;
}
