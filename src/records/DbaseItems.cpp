#include "records/DbaseItems.h"

#include <QCoreApplication>

#include <utility>

QString DbaseItem::ToRecordLine() const
{
    return RecordLine({{QStringLiteral("key"), QString::number(intKey)},
                       {QStringLiteral("learnerKey"), QString::number(intLearnerKey)},
                       {QStringLiteral("lessonKey"), QString::number(intLessonKey)},
                       {QStringLiteral("value"), FormatScore(fltValue)}});
}

bool DbaseItem::FromRecord(const SxmlParserChild& record, DbaseItem& item, QString& strProblem)
{
    return ReadKeyAttribute(record, QStringLiteral("key"), 1, item.intKey, strProblem)
        && ReadKeyAttribute(record, QStringLiteral("learnerKey"), -32768, item.intLearnerKey, strProblem)
        && ReadKeyAttribute(record, QStringLiteral("lessonKey"), -32768, item.intLessonKey, strProblem)
        && ReadScoreAttribute(record, QStringLiteral("value"), item.fltValue, strProblem);
}

DbaseItems::DbaseItems(QString strFilePath)
    : RecordStore(QStringLiteral("Score.dat"), std::move(strFilePath))
{
}

DbaseItem& DbaseItems::Add(qint16 intKey, qint16 intLearnerKey, qint16 intLessonKey, float fltValue)
{
    DbaseItem item;
    item.intKey = intKey;
    item.intLearnerKey = intLearnerKey;
    item.intLessonKey = intLessonKey;
    item.fltValue = fltValue;
    return AddItem(item);
}

DbaseItem& DbaseItems::Item(const QString& strKey)
{
    if (DbaseItem* item = Find(strKey))
        return *item;
    throw CollectionError("No result with key " + strKey.toStdString());
}

const DbaseItem& DbaseItems::Item(const QString& strKey) const
{
    if (const DbaseItem* item = Find(strKey))
        return *item;
    throw CollectionError("No result with key " + strKey.toStdString());
}

bool DbaseItems::AddScore(qint16 intLearnerKey, qint16 intLessonKey, float fltValue, qint16& intNewKey,
                          QString& strRetMsg)
{
    qint16 key = 0;
    do { // a key added by hand above the highest one is skipped
        if (!MakeKey(key, strRetMsg))
            return false;
    } while (Find(QString::number(key)));
    Add(key, intLearnerKey, intLessonKey, fltValue);
    intNewKey = key;
    return SetDataToFile(strRetMsg);
}

bool DbaseItems::RemoveScoresOfLearner(qint16 intLearnerKey, QString& strRetMsg)
{
    KeepOnly([intLearnerKey](const DbaseItem& item) { return item.intLearnerKey != intLearnerKey; });
    return SetDataToFile(strRetMsg);
}

std::vector<float> DbaseItems::LessonResults(qint16 intLearnerKey, qint16 intLessonKey) const
{
    std::vector<float> values;
    for (const DbaseItem& item : *this)
        if (item.intLearnerKey == intLearnerKey && item.intLessonKey == intLessonKey)
            values.push_back(item.fltValue);
    return values;
}

QString DatabaseProblemMessage(const QString& detail)
{
    QString text = QCoreApplication::translate("FrmStartup", "Problem encountered with database. Reported errormessage is: ")
        + detail;
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    return text;
}
