#pragma once
// The attributes of one record: name and decoded value, in the order written. Names
// match without regard to letter case ("KEY" finds "key").

#include "core/Collection.h"

#include <QHash>
#include <QString>

#include <vector>

struct SxmlChildValue {
    QString Key;      // the attribute name as written
    QString strValue; // the decoded value
};

class SxmlChildValues {
public:
    // Throws CollectionError when a record already has an attribute of that name.
    void Add(SxmlChildValue value);
    // As Add, but false (adding nothing) instead of throwing.
    bool Insert(SxmlChildValue value);

    int Count() const { return static_cast<int>(values_.size()); }
    // By 1-based position or by name; both throw CollectionError when missing.
    const SxmlChildValue& Item(int position) const;
    const SxmlChildValue& Item(const QString& name) const;
    // Null when the record has no attribute of that name.
    const SxmlChildValue* Find(const QString& name) const;
    void Remove(int position);
    void Remove(const QString& name);

    // The value of the named attribute; throws CollectionError when missing.
    QString getAttribute(const QString& name) const { return Item(name).strValue; }

    auto begin() const { return values_.begin(); }
    auto end() const { return values_.end(); }

private:
    // Position of the named attribute, or -1.
    qsizetype IndexOf(const QString& name) const;
    void RebuildIndex();

    std::vector<SxmlChildValue> values_;
    // Case-folded name to position. A record holds a handful of attributes, found
    // faster by a look along them than by a hash that every one of thousands of
    // records would allocate; only a record with many (a damaged or hostile file)
    // gets the index, so its duplicate checks stay linear.
    QHash<QString, qsizetype> index_;
};
