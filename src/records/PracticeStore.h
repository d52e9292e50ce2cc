#pragma once
// "Practice.sqlite" in the per-user data folder, beside "Learners.dat" and "Score.dat":
// every answer the learner gives, for the weak-note choice, the progress figures and
// the export.
//
// Recording never waits for the disk: Record() only queues the answer; a writer thread
// with its own connection writes whatever has queued up in one transaction. The reads
// (figures, recent answers, export) run on the store's thread through a second
// connection; the file is in WAL mode, so they never wait for the writer.
//
// Faults never stop the program and never touch any other file: every fault is a
// message naming the file, after which the store either keeps answers in memory and
// writes them later (a full disk, a write error, a lock held by another program) or
// stops recording for the run (a damaged file, a read-only folder, a file from a newer
// version, which is only read).

#include "records/PracticeAnswer.h"
#include "records/PracticeProgress.h"
#include "records/PracticeWeakNotes.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class PracticeWriter;
class QSqlError;
class QSqlQuery;
class SqlConnection;
enum class SqlAccess : int;

class PracticeStore : public QObject {
    Q_OBJECT

public:
    enum class Mode {
        Closed,    // not opened yet
        Recording, // answers are written; reads work
        ReadOnly,  // reads work, answers are not recorded
        Off,       // nothing is read or written: the program goes on without it
    };

    // An empty filePath means "Practice.sqlite" in the per-user data folder.
    explicit PracticeStore(QString filePath = QString(), QObject* parent = nullptr);
    // Makes one last attempt to write what is held, then stops the writer.
    ~PracticeStore() override;
    PracticeStore(const PracticeStore&) = delete;
    PracticeStore& operator=(const PracticeStore&) = delete;

    static QString FileName() { return QStringLiteral("Practice.sqlite"); }
    QString FilePath() const;
    Mode GetMode() const { return mode_.load(); }

    // Opens the file, making it or bringing an older one up to the current layout.
    // True when answers will be recorded; otherwise the message names the file and
    // says why, and GetMode() tells whether it can still be read.
    bool Open(QString& message);

    // --- Recording, on the store's thread (the one that made it). None of these waits
    // for the disk.

    // Queues the answer; ignored unless the mode is Recording. While the file cannot be
    // written, up to PracticeWriter::kMaxHeldAnswers answers wait in memory.
    void Record(const PracticeAnswer& answer);
    // Queues the removal of every answer of the learner (after the answers queued
    // before it, which are dropped at once). False with a message when the file is not
    // being written, so the answers stay.
    bool DeleteAnswersOfLearner(int learnerKey, QString& message);
    // Answers queued or held and not yet in the file.
    int HeldCount() const;
    // How long the writer waits before it tries a failed write again (default 5 s).
    void SetRetryInterval(int milliseconds);
    // Blocks until everything queued is in the file (true), or the store stopped
    // recording, or the time is up (false). For tests and tools, not for the UI.
    bool WaitUntilWritten(int timeoutMs);

    // --- Reading, on the store's thread. False with a message on failure.

    bool Progress(const ProgressFilter& filter, ProgressFigures& figures, QString& message) const;
    // The newest `limit` answers of the learner on the instrument, newest first, as the
    // weak-note choice reads them; answers still held in memory come first. Answers
    // whose position is unknown are left out.
    bool RecentAnswers(int learnerKey, int instrument, const QString& tuning, int limit,
                       std::vector<PositionAnswer>& answers, QString& message) const;
    // The stored answers of one learner (kNoLearner: those given without one), or of
    // everyone, oldest first.
    bool Answers(std::optional<int> learnerKey, std::vector<PracticeAnswer>& answers,
                 QString& message) const;
    // Writes those answers to a CSV file (RFC 4180: a header row, CR LF line ends,
    // fields with commas, quotes or line breaks in double quotes), UTF-8. The column
    // "learner" takes its name from learnerNames, empty when missing.
    bool ExportCsv(const QString& path, std::optional<int> learnerKey,
                   const QHash<int, QString>& learnerNames, QString& message) const;

signals:
    // A fault met while writing, once each time the fault starts; delivered on the
    // store's thread.
    void Problem(const QString& message);
    // The answers held after a fault are in the file now.
    void Resumed();

private:
    bool Fail(Mode mode, QString& message, const QString& text);
    bool OpenReader(const QString& path, SqlAccess access, QSqlError& error);
    // False with the message when the query fails.
    bool Exec(QSqlQuery& query, QString& message) const;
    // True with the message when the query has failed.
    bool ReadFailed(const QSqlQuery& query, QString& message) const;
    bool NotOpen(QString& message) const;
    bool ForEachAnswer(std::optional<int> learnerKey, const std::function<void(const PracticeAnswer&)>& take,
                       QString& message) const;
    void StartWriter(const QString& path);
    void PushSetAsideSoon();
    void Close();

    QString filePath_;
    std::atomic<Mode> mode_{Mode::Closed};
    int retryIntervalMs_ = 5000;
    bool pushPending_ = false;
    std::unique_ptr<SqlConnection> reader_;
    std::unique_ptr<PracticeWriter> writer_;
};
