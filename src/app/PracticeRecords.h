#pragma once
// The main window's side of the practice records: it owns "Practice.sqlite"
// (PracticeStore), opens it once the learners and scores are read, hands it the
// drill's answers, and tells the user about its faults, each message once a run: the
// drill goes on whether or not answers can be kept. It also exports the answers and
// removes a deleted learner's.

#include "lessons/AnswerRecorder.h"
#include "records/PracticeStore.h"

#include <QObject>
#include <QSet>

#include <functional>

class LearnerItems;
class QWidget;

class PracticeRecords : public QObject, public AnswerRecorder {
    Q_OBJECT
public:
    // Asks where to save a file: title, start folder and file name; empty: cancelled.
    using FileChooser = std::function<QString(QWidget* parent, const QString& title, const QString& directory,
                                              const QString& fileName)>;
    static FileChooser DesktopFileChooser();

    // An empty filePath means "Practice.sqlite" in the per-user data folder.
    explicit PracticeRecords(const QString& filePath, QObject* parent = nullptr);

    PracticeStore& Store() { return store_; }
    const PracticeStore& Store() const { return store_; }

    // Opens the file; when answers cannot be recorded, says why.
    void Open();

    // AnswerRecorder: queued, never waits.
    void Record(const PracticeAnswer& answer) override;
    std::vector<PositionAnswer> RecentAnswers(int learnerKey, int instrument, const QString& tuning,
                                              int limit) override;

    // Before a read of the whole record (progress, export): waits a moment for the
    // answers just given to reach the file, unless it cannot be written just now.
    void CatchUp();

    // "Export practice…": the current learner's answers or everyone's (asked when
    // there is a current learner), to a CSV file chosen with cdlgExport.
    void Export(QWidget* parent, const LearnerItems& learners, int currentLearnerKey);

    // The answers of a deleted learner go with them; says so when they cannot.
    void DeleteLearner(int learnerKey);

    // The file dialog of the export; tests put their own here.
    FileChooser cdlgExport;

private:
    void ShowOnce(const QString& message);

    PracticeStore store_;
    QSet<QString> shown_;
    bool holding_ = false; // answers wait in memory after a write failed
};
