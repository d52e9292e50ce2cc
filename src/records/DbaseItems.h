#pragma once
// The timed-test results, mirrored by "Score.dat" in the per-user data folder:
//
//     <RECORD key = '12' learnerKey = '3' lessonKey = '2' value = '0.875'></RECORD>
//
// Loaded at start-up and written at exit; AddScore and RemoveScoresOfLearner also
// write the file at once, so a crash does not lose the session's results.

#include "records/RecordStore.h"

#include <QString>
#include <QtGlobal>

#include <vector>

struct DbaseItem {
    qint16 intKey = 0;        // unique, 1..32767
    qint16 intLessonKey = 0;  // the lesson the test ran in
    qint16 intLearnerKey = 0; // the learner who took it
    float fltValue = 0.0F;    // fraction from 0 to 1 (0.875 is 87.5 %)

    QString ToRecordLine() const;
    static bool FromRecord(const SxmlParserChild& record, DbaseItem& item, QString& strProblem);
};

class DbaseItems : public RecordStore<DbaseItem> {
public:
    // An empty strFilePath means "Score.dat" in the per-user data folder.
    explicit DbaseItems(QString strFilePath = QString());

    // Files the result under the decimal text of intKey; throws CollectionError when
    // the key is taken. Does not save.
    DbaseItem& Add(qint16 intKey, qint16 intLearnerKey, qint16 intLessonKey, float fltValue);

    using RecordStore::Item;
    // Throws CollectionError when no result is filed under strKey.
    DbaseItem& Item(const QString& strKey);
    const DbaseItem& Item(const QString& strKey) const;

    // Adds a result under a new key and saves. False with a message when no key is
    // left (nothing added; intNewKey untouched) or when the save fails (the result
    // stays in memory and goes out with the next save).
    bool AddScore(qint16 intLearnerKey, qint16 intLessonKey, float fltValue, qint16& intNewKey,
                  QString& strRetMsg);

    // Removes every result of the learner and saves; for a deleted learner and for
    // clearing a learner's score sheet. False with a message when the save fails.
    bool RemoveScoresOfLearner(qint16 intLearnerKey, QString& strRetMsg);

    // The values of one learner's results in one lesson, in store order: a row of the
    // score chart.
    std::vector<float> LessonResults(qint16 intLearnerKey, qint16 intLessonKey) const;
};

// "Problem encountered with database. Reported errormessage is: " + detail, closed with a
// full stop unless detail already ends with one.
QString DatabaseProblemMessage(const QString& detail);

