#include "records/PracticeStore.h"

#include "core/Paths.h"
#include "records/PracticeSchema.h"
#include "records/PracticeSql.h"
#include "records/PracticeWriter.h"

#include <QAbstractEventDispatcher>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlQuery>
#include <QTimeZone>
#include <QTimer>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr const char* kSelectAnswers =
    "SELECT answered_at, learner_key, activity, lesson_key, instrument, tuning, music_key, scale,"
    " pattern, prompt_note, prompt_string, prompt_fret, answer_string, answer_fret, answer_note,"
    " correct, response_ms, assisted, input_method FROM answers";

PracticeAnswer ReadAnswer(const QSqlQuery& q)
{
    PracticeAnswer a;
    a.answeredAtMs = q.value(0).toLongLong();
    a.learnerKey = q.value(1).toInt();
    a.activity = ActivityFromText(q.value(2).toString()).value_or(PracticeActivity::Drill);
    a.lessonKey = q.value(3).toInt();
    a.instrument = q.value(4).toInt();
    a.tuning = q.value(5).toString();
    a.key = q.value(6).toInt();
    a.scale = q.value(7).toInt();
    a.pattern = q.value(8).toInt();
    a.promptNote = q.value(9).toString();
    if (!q.value(10).isNull() && !q.value(11).isNull())
        a.promptPosition = FretPosition{q.value(10).toInt(), q.value(11).toInt()};
    a.answerPosition = {q.value(12).toInt(), q.value(13).toInt()};
    a.answerNote = q.value(14).toString();
    a.correct = q.value(15).toInt() != 0;
    a.responseMs = q.value(16).toInt();
    a.assisted = q.value(17).toInt() != 0;
    a.input = InputFromText(q.value(18).toString()).value_or(AnswerInput::Mouse);
    return a;
}

QString CsvField(const QString& text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    bool quote = false;
    for (const QChar c : text)
        quote = quote || special.contains(c);
    if (!quote)
        return text;
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QString CsvLine(const QStringList& fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& field : fields)
        quoted << CsvField(field);
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QString OptionalText(const std::optional<FretPosition>& position, int FretPosition::*member)
{
    return position ? QString::number((*position).*member) : QString();
}

// Why no file can be made in folder (an errno value), or 0 when one can. Tried for
// real: the permission bits say nothing for root or on a read-only mount.
int FolderRefusal(const QString& folder)
{
    const QByteArray probe = QFile::encodeName(folder + QStringLiteral("/.practice-probe-%1").arg(getpid()));
    const int fd = ::open(probe.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? 0 : errno;
    ::close(fd);
    ::unlink(probe.constData());
    return 0;
}

// One value per answer (see Tally): the local day above the tally's bits. The tuning
// is joined with '' so that SQLite compares it in the file's own encoding once
// instead of converting Qt's UTF-16 for every row.
constexpr const char* kSelectFigures =
    "SELECT (((answered_at + ?) / 86400000) << 40) | tally FROM answers"
    " WHERE learner_key = ? AND instrument = ? AND tuning = (? || '') AND answered_at >= ?";

} // namespace

PracticeStore::PracticeStore(QString filePath, QObject* parent) : QObject(parent), filePath_(std::move(filePath))
{
}

PracticeStore::~PracticeStore()
{
    Close();
}

QString PracticeStore::FilePath() const
{
    if (!filePath_.isEmpty())
        return filePath_;
    const QString dir = UserDataDir();
    return dir.isEmpty() ? QString() : dir + QLatin1Char('/') + FileName();
}

void PracticeStore::Close()
{
    writer_.reset();
    reader_.reset();
    mode_ = Mode::Closed;
}

bool PracticeStore::Fail(Mode mode, QString& message, const QString& text)
{
    if (mode == Mode::Off)
        reader_.reset();
    mode_ = mode;
    message = text;
    return false;
}

bool PracticeStore::OpenReader(const QString& path, SqlAccess access, QSqlError& error)
{
    reader_ = std::make_unique<SqlConnection>();
    // Short: the reads run on the user's thread. The figures read the whole index each
    // time: mapped into memory it is read without a copy per page.
    return reader_->Open(path, access, 200, error)
        && reader_->Exec(QStringLiteral("PRAGMA mmap_size = 268435456"), error);
}

bool PracticeStore::Open(QString& message)
{
    Close();
    const QString path = FilePath();
    if (path.isEmpty())
        return Fail(Mode::Off, message,
                    PracticeTr("The folder for this user's data cannot be created, so answers are not recorded."));
    const QString shown = ShownPath(path);
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    QSqlError error;

    const int refusal = FolderRefusal(folder);
    if (refusal == ENOENT || refusal == ENOTDIR)
        return Fail(Mode::Off, message,
                    PracticeTr("The folder '%1' does not exist, so answers are not recorded in '%2'.")
                        .arg(ShownPath(folder), shown));
    // Any other refusal (a full disk) shows itself when the file is written.
    if (refusal == EACCES || refusal == EPERM || refusal == EROFS) {
        const QString text = PracticeTr("The folder '%1' is read-only, so answers are not recorded in '%2'.")
                                 .arg(ShownPath(folder), shown);
        // A file that is there can still be read for the figures; without its "-shm"
        // file, which cannot be made here, only as immutable.
        const auto readable = [&](SqlAccess access) {
            return OpenReader(path, access, error) && PracticeSchemaVersionOf(reader_->Database(), error) > 0;
        };
        if (info.exists() && (readable(SqlAccess::ReadOnly) || readable(SqlAccess::Immutable)))
            return Fail(Mode::ReadOnly, message, text);
        return Fail(Mode::Off, message, text);
    }

    const auto failed = [&](const QString& otherwise) {
        if (IsDamage(error))
            return Fail(Mode::Off, message, DamagedText(path, SqlErrorText(error)));
        if (IsLock(error))
            return Fail(Mode::Off, message,
                        PracticeTr("The practice file '%1' is locked by another program, so answers are not recorded.")
                            .arg(shown));
        return Fail(Mode::Off, message, otherwise.arg(shown, SqlErrorText(error)));
    };

    if (!OpenReader(path, SqlAccess::ReadWrite, error))
        return failed(PracticeTr("The practice file '%1' cannot be opened (%2), so answers are not recorded."));
    const int version = PracticeSchemaVersionOf(reader_->Database(), error);
    if (version < 0)
        return failed(PracticeTr("The practice file '%1' cannot be read (%2), so answers are not recorded."));
    if (version > kPracticeSchemaVersion) {
        // Opened again read-only, so that nothing can change a file this program does not know.
        const QString text = PracticeTr("The practice file '%1' comes from a newer version of Fretlore. It is only "
                                        "read, and answers are not recorded.")
                                 .arg(shown);
        return Fail(OpenReader(path, SqlAccess::ReadOnly, error) ? Mode::ReadOnly : Mode::Off, message,
                    text);
    }
    QVariant journal;
    if (!reader_->Exec(QStringLiteral("PRAGMA journal_mode = WAL"), error, &journal))
        return failed(PracticeTr("The practice file '%1' cannot be prepared (%2), so answers are not recorded."));
    if (journal.toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
        error = QSqlError(journal.toString(), journal.toString(), QSqlError::StatementError);
        return failed(PracticeTr("The practice file '%1' cannot be prepared (%2), so answers are not recorded."));
    }
    if (!MigratePracticeSchema(reader_->Database(), kPracticeSchemaVersion, error))
        return failed(PracticeTr("The practice file '%1' cannot be brought up to date (%2), so answers are not "
                                 "recorded."));
    mode_ = Mode::Recording;
    StartWriter(path);
    return true;
}

void PracticeStore::StartWriter(const QString& path)
{
    // The writer's events arrive on its thread; they are handed on to this object's.
    PracticeWriter::Events events;
    events.problem = [this](const QString& message) {
        QMetaObject::invokeMethod(this, [this, message] { emit Problem(message); }, Qt::QueuedConnection);
    };
    events.resumed = [this] { QMetaObject::invokeMethod(this, [this] { emit Resumed(); }, Qt::QueuedConnection); };
    events.stopped = [this] { mode_ = Mode::Off; };
    writer_ = std::make_unique<PracticeWriter>(path, std::chrono::milliseconds(retryIntervalMs_), std::move(events));
}

void PracticeStore::Record(const PracticeAnswer& answer)
{
    if (mode_ == Mode::Recording && writer_ && !writer_->Record(answer))
        PushSetAsideSoon();
}

void PracticeStore::PushSetAsideSoon()
{
    // Rare: the writer held the queue at the very moment. Without an event loop the
    // next call that touches the queue pushes it.
    if (pushPending_ || !QAbstractEventDispatcher::instance(thread()))
        return;
    pushPending_ = true;
    QTimer::singleShot(1, this, [this] {
        pushPending_ = false;
        if (writer_ && !writer_->PushSetAside(false))
            PushSetAsideSoon();
    });
}

bool PracticeStore::DeleteAnswersOfLearner(int learnerKey, QString& message)
{
    if (mode_ != Mode::Recording || !writer_) {
        message = PracticeTr("The practice file '%1' is not being written, so the learner's answers stay in it.")
                      .arg(ShownPath(FilePath()));
        return false;
    }
    writer_->DeleteLearner(learnerKey);
    return true;
}

int PracticeStore::HeldCount() const
{
    return writer_ ? writer_->Held() : 0;
}

void PracticeStore::SetRetryInterval(int milliseconds)
{
    retryIntervalMs_ = milliseconds;
    if (writer_)
        writer_->SetRetryInterval(std::chrono::milliseconds(milliseconds));
}

bool PracticeStore::WaitUntilWritten(int timeoutMs)
{
    return writer_ && writer_->WaitUntilWritten(std::chrono::milliseconds(timeoutMs));
}

bool PracticeStore::NotOpen(QString& message) const
{
    if (reader_)
        return false;
    message = PracticeTr("The practice file '%1' is not open.").arg(ShownPath(FilePath()));
    return true;
}

bool PracticeStore::Exec(QSqlQuery& query, QString& message) const
{
    return query.exec() || !ReadFailed(query, message);
}

bool PracticeStore::ReadFailed(const QSqlQuery& query, QString& message) const
{
    if (!query.lastError().isValid())
        return false;
    message = PracticeTr("The practice file '%1' could not be read: %2.")
                  .arg(ShownPath(FilePath()), SqlErrorText(query.lastError()));
    return true;
}

bool PracticeStore::Progress(const ProgressFilter& filter, ProgressFigures& figures, QString& message) const
{
    if (NotOpen(message))
        return false;
    const qint64 now = filter.nowMs != 0 ? filter.nowMs : QDateTime::currentMSecsSinceEpoch();
    QSqlQuery query(reader_->Database());
    query.setForwardOnly(true);
    query.prepare(QString::fromLatin1(kSelectFigures));
    query.bindValue(0, qint64(filter.utcOffsetSeconds) * 1000);
    query.bindValue(1, filter.learnerKey);
    query.bindValue(2, filter.instrument);
    query.bindValue(3, filter.tuning);
    query.bindValue(4, PeriodStartMs(filter.period, now));
    if (!Exec(query, message))
        return false;
    ProgressAccumulator accumulator;
    while (query.next()) {
        const qint64 value = query.value(0).toLongLong();
        const Tally tally = UnpackTally(value);
        accumulator.Add(value >> 40, tally.position, tally.noteIndex, tally.correct, tally.responseMs);
    }
    if (ReadFailed(query, message))
        return false;
    figures = accumulator.Figures();
    return true;
}

bool PracticeStore::RecentAnswers(int learnerKey, int instrument, const QString& tuning, int limit,
                                  std::vector<PositionAnswer>& answers, QString& message) const
{
    answers.clear();
    if (writer_)
        for (const PracticeAnswer& held : writer_->HeldAnswers(learnerKey, instrument, tuning))
            if (const auto position = AttributedPosition(held); position && int(answers.size()) < limit)
                answers.push_back({*position, held.correct, held.responseMs});
    if (NotOpen(message))
        return false;
    QSqlQuery query(reader_->Database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT tally FROM answers WHERE learner_key = ? AND instrument = ?"
                                 " AND tuning = (? || '') AND ((tally >> 21) & 4095) != 0"
                                 " ORDER BY answered_at DESC LIMIT ?"));
    query.bindValue(0, learnerKey);
    query.bindValue(1, instrument);
    query.bindValue(2, tuning);
    query.bindValue(3, std::max(0, limit - int(answers.size())));
    if (!Exec(query, message))
        return false;
    while (query.next()) {
        const Tally tally = UnpackTally(query.value(0).toLongLong());
        if (tally.position)
            answers.push_back({*tally.position, tally.correct, tally.responseMs});
    }
    return !ReadFailed(query, message);
}

bool PracticeStore::ForEachAnswer(std::optional<int> learnerKey,
                                  const std::function<void(const PracticeAnswer&)>& take, QString& message) const
{
    if (NotOpen(message))
        return false;
    QSqlQuery query(reader_->Database());
    query.setForwardOnly(true);
    query.prepare(QString::fromLatin1(kSelectAnswers)
                  + (learnerKey ? QStringLiteral(" WHERE learner_key = ?") : QString())
                  + QStringLiteral(" ORDER BY answered_at, id"));
    if (learnerKey)
        query.bindValue(0, *learnerKey);
    if (!Exec(query, message))
        return false;
    while (query.next())
        take(ReadAnswer(query));
    return !ReadFailed(query, message);
}

bool PracticeStore::Answers(std::optional<int> learnerKey, std::vector<PracticeAnswer>& answers,
                            QString& message) const
{
    answers.clear();
    return ForEachAnswer(learnerKey, [&](const PracticeAnswer& a) { answers.push_back(a); }, message);
}

bool PracticeStore::ExportCsv(const QString& path, std::optional<int> learnerKey,
                              const QHash<int, QString>& learnerNames, QString& message) const
{
    QString text = CsvLine(QStringLiteral("answered_at,learner_key,learner,activity,lesson_key,instrument,tuning,key,"
                                          "scale,pattern,prompt_note,prompt_string,prompt_fret,answer_string,"
                                          "answer_fret,answer_note,correct,response_ms,assisted,input_method")
                               .split(QLatin1Char(',')));
    const bool read = ForEachAnswer(
        learnerKey,
        [&](const PracticeAnswer& a) {
            text += CsvLine({
                QDateTime::fromMSecsSinceEpoch(a.answeredAtMs, QTimeZone::utc())
                    .toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz'Z'")),
                QString::number(a.learnerKey), learnerNames.value(a.learnerKey), ActivityText(a.activity),
                QString::number(a.lessonKey), QString::number(a.instrument), a.tuning, QString::number(a.key),
                QString::number(a.scale), QString::number(a.pattern), a.promptNote,
                OptionalText(a.promptPosition, &FretPosition::string),
                OptionalText(a.promptPosition, &FretPosition::fret), QString::number(a.answerPosition.string),
                QString::number(a.answerPosition.fret), a.answerNote, QString::number(int(a.correct)),
                QString::number(a.responseMs), QString::number(int(a.assisted)), InputText(a.input),
            });
        },
        message);
    if (!read)
        return false;
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        message = PracticeTr("The file '%1' could not be written: %2.").arg(ShownPath(path), file.errorString());
        return false;
    }
    return true;
}
