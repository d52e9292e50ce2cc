#pragma once
// The attributes of one record: name and decoded value, in the order written. Names
// match without regard to letter case ("KEY" finds "key").

#include "core/Collection.h"

#include <QString>

struct SxmlChildValue {
    QString Key;      // the attribute name as written
    QString strValue; // the decoded value
};

class SxmlChildValues {
public:
    // Throws CollectionError when a record already has an attribute of that name.
    void Add(SxmlChildValue value);

    int Count() const { return values_.Count(); }
    // By 1-based position or by name; both throw CollectionError when missing.
    const SxmlChildValue& Item(int position) const { return values_.Item(position); }
    const SxmlChildValue& Item(const QString& name) const;
    // Null when the record has no attribute of that name.
    const SxmlChildValue* Find(const QString& name) const { return values_.Find(LookupKey(name)); }
    void Remove(int position) { values_.Remove(position); }
    void Remove(const QString& name) { values_.Remove(LookupKey(name)); }

    // The value of the named attribute; throws CollectionError when missing.
    QString getAttribute(const QString& name) const { return Item(name).strValue; }

    auto begin() const { return values_.begin(); }
    auto end() const { return values_.end(); }

private:
    // Case-folded, and never empty: an attribute may have an empty name, while the
    // collection treats an empty key as "no key".
    static QString LookupKey(const QString& name) { return QLatin1Char('@') + name.toCaseFolded(); }

    Collection<SxmlChildValue> values_;
};
