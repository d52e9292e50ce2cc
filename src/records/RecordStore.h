#pragma once
// The part the learner and score stores share: a collection of items filed under the
// decimal text of their keys, mirrored by one record file.
//
// Loading is all or nothing: a file that fails to load leaves the store empty and
// marked, and a marked store (or one never loaded) refuses to save, so a damaged or
// unread file is never overwritten with less than it holds.
//
// T provides qint16 intKey, QString ToRecordLine() const and
// static bool FromRecord(const SxmlParserChild&, T&, QString& strProblem).

#include "core/Collection.h"
#include "core/Paths.h"
#include "records/RecordFile.h"

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <utility>
#include <vector>

template <typename T>
class RecordStore {
public:
    // The highest key read from the file; MakeKey raises it for each new item.
    qint16 intHighestKeyValue = 0;

    int Count() const { return items_.Count(); }
    // By 1-based position; throws CollectionError when out of range.
    T& Item(int position) { return items_.Item(position); }
    const T& Item(int position) const { return items_.Item(position); }
    // By key text ("12"); null when missing.
    T* Find(const QString& strKey) { return items_.Find(strKey); }
    const T* Find(const QString& strKey) const { return items_.Find(strKey); }
    // Both throw CollectionError when missing.
    void Remove(int position) { items_.Remove(position); }
    void Remove(const QString& strKey) { items_.Remove(strKey); }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    // The file this store reads and writes.
    QString FilePath() const
    {
        if (!strFilePath_.isEmpty())
            return strFilePath_;
        const QString dir = UserDataDir();
        return dir.isEmpty() ? QString() : dir + QLatin1Char('/') + strFileName_;
    }

    bool IsLoaded() const { return boolLoaded_; }

    // Replaces the content with the file's records; a missing file is an empty store.
    bool GetDataFromFile(QString& strRetMsg)
    {
        items_.Clear();
        intHighestKeyValue = 0;
        boolLoaded_ = false;
        const QString path = FilePath();
        if (path.isEmpty()) {
            strRetMsg = NoDataFolderText();
            return false;
        }
        // Records are converted as the parser reads them. A record that cannot be taken
        // is reported only once the whole file is known to be well formed, as the
        // parser's own faults come first.
        std::vector<T> read;
        std::vector<bool> keyTaken(65536);
        QString problem;
        const auto take = [&](const SxmlParserChild& record, bool wellFormed) {
            if (!wellFormed || !problem.isEmpty())
                return;
            const int number = static_cast<int>(read.size()) + 1;
            T item;
            QString why;
            if (!T::FromRecord(record, item, why)) {
                problem = RecordProblemText(path, number, why);
                return;
            }
            if (keyTaken[static_cast<quint16>(item.intKey)]) {
                problem = DuplicateKeyText(path, number, item.intKey);
                return;
            }
            keyTaken[static_cast<quint16>(item.intKey)] = true;
            read.push_back(std::move(item));
        };
        if (!ReadRecordFile(path, take, strRetMsg))
            return false;
        if (!problem.isEmpty()) {
            strRetMsg = problem;
            return false;
        }
        Collection<T> loaded;
        loaded.Reserve(static_cast<int>(read.size()));
        qint16 highest = 0;
        for (T& item : read) {
            highest = std::max(highest, item.intKey);
            const QString key = QString::number(item.intKey);
            loaded.Add(std::move(item), key);
        }
        items_ = std::move(loaded);
        intHighestKeyValue = highest;
        boolLoaded_ = true;
        return true;
    }

    // Replaces the file with the content, one line per item; an empty store leaves no
    // file. Refuses unless the last GetDataFromFile succeeded.
    bool SetDataToFile(QString& strRetMsg) const
    {
        const QString path = FilePath();
        if (!boolLoaded_) {
            strRetMsg = NotLoadedText(path);
            return false;
        }
        if (path.isEmpty()) {
            strRetMsg = NoDataFolderText();
            return false;
        }
        QByteArray bytes;
        for (const T& item : items_) {
            bytes += item.ToRecordLine().toUtf8();
            bytes += "\r\n";
        }
        return WriteRecordFile(path, bytes, strRetMsg);
    }

    // Raises intHighestKeyValue and hands it out as a new key; false, changing nothing,
    // when the 16-bit keys are used up.
    bool MakeKey(qint16& intNewKey, QString& strRetMsg)
    {
        intHighestKeyValue = std::max<qint16>(intHighestKeyValue, 0); // keys start at 1
        if (intHighestKeyValue >= 32767) {
            strRetMsg = NoKeyLeftText();
            return false;
        }
        intNewKey = ++intHighestKeyValue;
        return true;
    }

protected:
    // An empty strFilePath means strFileName in the per-user data folder.
    RecordStore(QString strFileName, QString strFilePath)
        : strFileName_(std::move(strFileName)), strFilePath_(std::move(strFilePath))
    {
    }

    // Files item under the decimal text of its key; throws CollectionError when the
    // key is taken.
    T& AddItem(T item)
    {
        const QString key = QString::number(item.intKey);
        items_.Add(std::move(item), key);
        return *items_.Find(key);
    }

    // Keeps only the items for which keep() is true, in their order.
    template <typename Predicate>
    int KeepOnly(Predicate keep)
    {
        Collection<T> kept;
        int removed = 0;
        for (int i = 1; i <= items_.Count(); ++i) {
            if (keep(items_.Item(i)))
                kept.Add(std::move(items_.Item(i)), items_.KeyAt(i));
            else
                ++removed;
        }
        items_ = std::move(kept);
        return removed;
    }

private:
    QString strFileName_;
    QString strFilePath_;
    Collection<T> items_;
    bool boolLoaded_ = false;
};
