#include "records/SxmlChildValues.h"

#include <string>
#include <utility>

namespace {

// Up to this many attributes a record is searched along its list.
constexpr size_t kIndexFrom = 8;

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

void SxmlChildValues::Add(SxmlChildValue value)
{
    if (IndexOf(value.Key) >= 0)
        throw CollectionError("Attribute named twice: " + value.Key.toStdString());
    Insert(std::move(value));
}

bool SxmlChildValues::Insert(SxmlChildValue value)
{
    if (IndexOf(value.Key) >= 0)
        return false;
    if (values_.empty())
        values_.reserve(4); // what a score record holds
    values_.push_back(std::move(value));
    if (!index_.isEmpty())
        index_.insert(values_.back().Key.toCaseFolded(), qsizetype(values_.size()) - 1);
    else if (values_.size() > kIndexFrom)
        RebuildIndex();
    return true;
}

const SxmlChildValue& SxmlChildValues::Item(int position) const
{
    if (position < 1 || position > Count())
        throw CollectionError("No attribute at position " + std::to_string(position));
    return values_[size_t(position - 1)];
}

const SxmlChildValue& SxmlChildValues::Item(const QString& name) const
{
    if (const SxmlChildValue* value = Find(name))
        return *value;
    throw CollectionError("No attribute named " + name.toStdString());
}

const SxmlChildValue* SxmlChildValues::Find(const QString& name) const
{
    const qsizetype i = IndexOf(name);
    return i < 0 ? nullptr : &values_[size_t(i)];
}

void SxmlChildValues::Remove(int position)
{
    Item(position); // throws when out of range
    values_.erase(values_.begin() + (position - 1));
    RebuildIndex();
}

void SxmlChildValues::Remove(const QString& name)
{
    const qsizetype i = IndexOf(name);
    if (i < 0)
        throw CollectionError("No attribute named " + name.toStdString());
    Remove(int(i) + 1);
}

qsizetype SxmlChildValues::IndexOf(const QString& name) const
{
    if (!index_.isEmpty())
        return index_.value(name.toCaseFolded(), -1);
    // Names are nearly always asked for as written.
    for (size_t i = 0; i < values_.size(); ++i)
        if (values_[i].Key == name)
            return qsizetype(i);
    for (size_t i = 0; i < values_.size(); ++i)
        if (SameName(values_[i].Key, name))
            return qsizetype(i);
    return -1;
}

void SxmlChildValues::RebuildIndex()
{
    index_.clear();
    if (values_.size() <= kIndexFrom)
        return;
    for (size_t i = 0; i < values_.size(); ++i)
        index_.insert(values_[i].Key.toCaseFolded(), qsizetype(i));
}
