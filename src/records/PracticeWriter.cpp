#include "records/PracticeWriter.h"

#include "records/PracticeSql.h"

#include <QSqlQuery>

#include <algorithm>
#include <iterator>
#include <utility>

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Another program's transaction is short; this long a wait costs the writer nothing.
constexpr int kBusyTimeoutMs = 2000;

template <typename Job>
bool WriteBatch(const SqlConnection& connection, const std::vector<Job>& batch, QSqlError& error)
{
    QSqlDatabase db = connection.Database();
    if (!db.transaction()) {
        error = db.lastError();
        return false;
    }
    QSqlQuery insert(db);
    QSqlQuery remove(db);
    bool ok = PrepareInsert(insert);
    if (!ok)
        error = insert.lastError();
    else if (!(ok = remove.prepare(QStringLiteral("DELETE FROM answers WHERE learner_key = ?"))))
        error = remove.lastError();
    for (auto job = batch.begin(); ok && job != batch.end(); ++job) {
        QSqlQuery& query = job->deleteLearner ? remove : insert;
        if (job->deleteLearner)
            query.bindValue(0, *job->deleteLearner);
        else
            BindAnswer(query, job->answer);
        if (!(ok = query.exec()))
            error = query.lastError();
    }
    if (ok && db.commit())
        return true;
    if (ok)
        error = db.lastError();
    db.rollback();
    return false;
}

} // namespace

PracticeWriter::PracticeWriter(QString path, std::chrono::milliseconds retryInterval, Events events)
    : path_(std::move(path)), events_(std::move(events)), retryInterval_(retryInterval)
{
    thread_ = std::thread([this] { Run(); });
}

PracticeWriter::~PracticeWriter()
{
    PushSetAside(true);
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

bool PracticeWriter::Record(const PracticeAnswer& answer)
{
    bool wake = false;
    {
        std::unique_lock lock(mutex_, std::try_to_lock);
        if (!lock.owns_lock()) {
            setAside_.push_back(answer);
            return false;
        }
        PushSetAsideLocked(wake);
        QueueLocked(answer, wake);
    }
    // A writer that is not waiting takes the whole queue when it next looks: waking it
    // for every answer would only cost this thread a system call.
    if (wake)
        wake_.notify_all();
    return true;
}

bool PracticeWriter::PushSetAside(bool wait)
{
    bool wake = false;
    {
        std::unique_lock lock(mutex_, std::defer_lock);
        if (wait)
            lock.lock();
        else if (!lock.try_lock())
            return false;
        PushSetAsideLocked(wake);
    }
    if (wake)
        wake_.notify_all();
    return true;
}

void PracticeWriter::PushSetAsideLocked(bool& wake)
{
    for (const PracticeAnswer& answer : setAside_)
        QueueLocked(answer, wake);
    setAside_.clear();
}

void PracticeWriter::QueueLocked(const PracticeAnswer& answer, bool& wake)
{
    if (stopped_)
        return;
    if (int(queue_.size() + taken_.size()) >= kMaxHeldAnswers) {
        if (!std::exchange(capReported_, true))
            events_.problem(PracticeTr("The practice file '%1' has not been written for %2 answers; "
                                       "further answers are not kept.")
                                .arg(ShownPath(path_))
                                .arg(kMaxHeldAnswers));
        return;
    }
    wake = wake || queue_.empty();
    queue_.push_back(Job{answer, std::nullopt});
}

void PracticeWriter::DeleteLearner(int learnerKey)
{
    PushSetAside(true);
    {
        const std::lock_guard lock(mutex_);
        // What the writer has taken is written first; the removal follows it.
        std::erase_if(queue_,
                      [&](const Job& job) { return !job.deleteLearner && job.answer.learnerKey == learnerKey; });
        queue_.push_back(Job{{}, learnerKey});
    }
    wake_.notify_all();
}

int PracticeWriter::Held() const
{
    const std::lock_guard lock(mutex_);
    const int setAside = int(setAside_.size());
    const auto answers = [](const std::vector<Job>& jobs) {
        return std::count_if(jobs.begin(), jobs.end(), [](const Job& job) { return !job.deleteLearner; });
    };
    return setAside + int(answers(queue_) + answers(taken_));
}

void PracticeWriter::SetRetryInterval(std::chrono::milliseconds interval)
{
    const std::lock_guard lock(mutex_);
    retryInterval_ = interval;
}

bool PracticeWriter::WaitUntilWritten(std::chrono::milliseconds timeout)
{
    PushSetAside(true);
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, timeout, [this] { return stopped_ || (queue_.empty() && taken_.empty()); })
        && !stopped_;
}

std::vector<PracticeAnswer> PracticeWriter::HeldAnswers(int learnerKey, int instrument, const QString& tuning) const
{
    const std::lock_guard lock(mutex_);
    std::vector<PracticeAnswer> held;
    for (auto answer = setAside_.rbegin(); answer != setAside_.rend(); ++answer)
        if (answer->learnerKey == learnerKey && answer->instrument == instrument && answer->tuning == tuning)
            held.push_back(*answer);
    for (const std::vector<Job>* jobs : {&queue_, &taken_}) // the queue holds the newer ones
        for (auto job = jobs->rbegin(); job != jobs->rend(); ++job)
            if (!job->deleteLearner && job->answer.learnerKey == learnerKey && job->answer.instrument == instrument
                && job->answer.tuning == tuning)
                held.push_back(job->answer);
    return held;
}

void PracticeWriter::Run()
{
    // A background thread: it must not take the processor from the user's thread when
    // it is woken (the user's thread would wait for a whole slice of writing).
    sched_param batch{};
    pthread_setschedparam(pthread_self(), SCHED_BATCH, &batch);
    setpriority(PRIO_PROCESS, pid_t(syscall(SYS_gettid)), 10);

    SqlConnection connection;
    QSqlError error;
    QVariant check;
    // The whole-file check reads every page: too slow for the user's thread.
    if (!connection.Open(path_, SqlAccess::ReadWrite, kBusyTimeoutMs, error)
        || !connection.Exec(QStringLiteral("PRAGMA synchronous = NORMAL"), error)
        || !connection.Exec(QStringLiteral("PRAGMA quick_check(1)"), error, &check)) {
        Stop(IsDamage(error) ? DamagedText(path_, SqlErrorText(error))
                             : PracticeTr("The practice file '%1' cannot be written (%2). Answers are not recorded.")
                                   .arg(ShownPath(path_), SqlErrorText(error)));
        return;
    }
    if (check.toString() != QLatin1String("ok")) {
        Stop(DamagedText(path_, check.toString()));
        return;
    }

    std::unique_lock lock(mutex_);
    bool retryPending = false;
    while (true) {
        if (retryPending)
            wake_.wait_for(lock, retryInterval_, [this] { return stopping_; });
        else
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        const bool lastAttempt = stopping_;
        if (taken_.empty())
            taken_.swap(queue_); // the usual case: nothing copied under the lock
        else
            std::move(queue_.begin(), queue_.end(), std::back_inserter(taken_));
        queue_.clear();
        if (taken_.empty())
            break; // stopping with nothing left

        // Only this thread changes taken_, and only under the lock: reading it unlocked is safe.
        lock.unlock();
        const bool written = WriteBatch(connection, taken_, error);
        lock.lock();
        if (written) {
            std::vector<Job> done;
            done.swap(taken_);
            lock.unlock(); // freed outside the lock
            done.clear();
            lock.lock();
            retryPending = false;
            if (std::exchange(fault_, Fault::None) != Fault::None)
                events_.resumed();
        } else if (IsDamage(error)) {
            lock.unlock();
            Stop(DamagedText(path_, SqlErrorText(error)));
            return;
        } else {
            retryPending = true;
            const Fault fault = IsLock(error) ? Fault::Lock : Fault::Write;
            if (std::exchange(fault_, fault) != fault)
                events_.problem(HoldingText(fault, SqlErrorText(error)));
        }
        idle_.notify_all();
        if (lastAttempt)
            break;
    }
}

void PracticeWriter::Stop(const QString& message)
{
    {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        queue_.clear();
        taken_.clear();
    }
    idle_.notify_all();
    events_.stopped(); // before the message, so whoever reads it sees recording over
    events_.problem(message);
}

QString PracticeWriter::HoldingText(Fault fault, const QString& detail) const
{
    if (fault == Fault::Lock)
        return PracticeTr("The practice file '%1' is locked by another program. Answers are kept and written "
                          "when it is free.")
            .arg(ShownPath(path_));
    return PracticeTr("The practice file '%1' could not be written (%2). Answers are kept and written once "
                      "there is room.")
        .arg(ShownPath(path_), detail);
}
