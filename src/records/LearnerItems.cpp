#include "records/LearnerItems.h"

#include <utility>

QString LearnerItem::ToRecordLine() const
{
    return RecordLine({{QStringLiteral("key"), QString::number(intKey)},
                       {QStringLiteral("name"), EscapeValue(strName)}});
}

bool LearnerItem::FromRecord(const SxmlParserChild& record, LearnerItem& item, QString& strProblem)
{
    return ReadKeyAttribute(record, QStringLiteral("key"), 1, item.intKey, strProblem)
        && ReadTextAttribute(record, QStringLiteral("name"), item.strName, strProblem);
}

LearnerItems::LearnerItems(QString strFilePath)
    : RecordStore(QStringLiteral("Learners.dat"), std::move(strFilePath))
{
}

LearnerItem& LearnerItems::Add(qint16 intKey, const QString& strName)
{
    return AddItem({intKey, strName});
}

bool LearnerItems::AddNew(const QString& strName, qint16& intNewKey, QString& strRetMsg)
{
    qint16 key = 0;
    do { // a key added by hand above the highest one is skipped
        if (!MakeKey(key, strRetMsg))
            return false;
    } while (Find(QString::number(key)));
    Add(key, strName);
    intNewKey = key;
    return true;
}

