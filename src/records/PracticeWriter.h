#pragma once
// The practice store's writer thread: it takes the answers the user's thread queues
// and writes whatever has gathered in one transaction, through a connection of its
// own. Record() never waits for the writer: when the writer holds the queue's lock at
// that moment, the answer is set aside and pushed by the next call (PushSetAside).
// All the calls but the constructor's thread are the user's thread's.
//
// Answers leave memory only once they are in the file. After a failed write (a full
// disk, a write error, a lock held by another program) they stay, new ones join them,
// and the writer tries again every retry interval. A damaged file ends recording.

#include "records/PracticeAnswer.h"

#include <QString>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class PracticeWriter {
public:
    // Answers kept in memory while the file cannot be written; further ones are dropped.
    static constexpr int kMaxHeldAnswers = 100000;

    // Called on the writer thread.
    struct Events {
        std::function<void(const QString& message)> problem; // once each time a fault starts
        std::function<void()> resumed;                       // the held answers are written
        std::function<void()> stopped;                       // recording is over (before problem)
    };

    // Starts the thread; it opens path (already made and migrated) and checks it.
    PracticeWriter(QString path, std::chrono::milliseconds retryInterval, Events events);
    // Tries once more to write what is held, then ends the thread.
    ~PracticeWriter();
    PracticeWriter(const PracticeWriter&) = delete;
    PracticeWriter& operator=(const PracticeWriter&) = delete;

    // False when the answer was set aside: PushSetAside() must follow soon.
    bool Record(const PracticeAnswer& answer);
    // Queues what Record() set aside. Without wait, false when the lock is busy still.
    bool PushSetAside(bool wait);
    // Drops the learner's queued answers and queues the removal of their stored ones.
    void DeleteLearner(int learnerKey);
    int Held() const;
    void SetRetryInterval(std::chrono::milliseconds interval);
    // True once nothing is held; false when recording stopped or the time is up.
    bool WaitUntilWritten(std::chrono::milliseconds timeout);
    // The held answers of one learner on one instrument, newest first.
    std::vector<PracticeAnswer> HeldAnswers(int learnerKey, int instrument, const QString& tuning) const;

private:
    struct Job {
        PracticeAnswer answer;
        std::optional<int> deleteLearner; // set: remove that learner's answers instead
    };
    enum class Fault { None, Lock, Write };

    void Run();
    void QueueLocked(const PracticeAnswer& answer, bool& wake);
    void PushSetAsideLocked(bool& wake);
    void Stop(const QString& message);
    QString HoldingText(Fault fault, const QString& detail) const;

    const QString path_;
    const Events events_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::vector<PracticeAnswer> setAside_; // the user's thread's own: no lock
    std::vector<Job> queue_; // pushed by the user's thread
    std::vector<Job> taken_; // taken by the writer: being written, or held after a failure
    std::chrono::milliseconds retryInterval_;
    bool stopping_ = false;
    bool stopped_ = false;
    bool capReported_ = false;
    Fault fault_ = Fault::None; // the writer's own; no lock needed
    std::thread thread_;
};
