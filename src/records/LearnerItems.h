#pragma once
// The learners, mirrored by "Learners.dat" in the per-user data folder:
//
//     <RECORD key = '3' name = 'Evening group'></RECORD>
//
// The learner dialog reloads the store when it opens, changes it in memory (AddNew,
// Item(key)->strName, Remove(key)) and saves it with SetDataToFile after each action.

#include "records/RecordStore.h"

#include <QString>
#include <QtGlobal>

struct LearnerItem {
    qint16 intKey = 0; // unique, 1..32767
    QString strName;   // as shown in lists and the caption; quotes are lost on saving

    QString ToRecordLine() const;
    static bool FromRecord(const SxmlParserChild& record, LearnerItem& item, QString& strProblem);
};

class LearnerItems : public RecordStore<LearnerItem> {
public:
    // An empty strFilePath means "Learners.dat" in the per-user data folder.
    explicit LearnerItems(QString strFilePath = QString());

    // Files the learner under the decimal text of intKey; throws CollectionError when
    // the key is taken.
    LearnerItem& Add(qint16 intKey, const QString& strName);

    // Adds a learner under a new key (MakeKey) and returns the key in intNewKey; false,
    // adding nothing, when no key is left. Does not save.
    bool AddNew(const QString& strName, qint16& intNewKey, QString& strRetMsg);

    using RecordStore::Item;
    // The learner filed under strKey ("3"), or null: a missing learner is no error.
    LearnerItem* Item(const QString& strKey) { return Find(strKey); }
    const LearnerItem* Item(const QString& strKey) const { return Find(strKey); }
};

