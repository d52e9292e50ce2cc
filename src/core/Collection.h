#pragma once
// The one ordered collection behind every list of the program: items in insertion
// order, 1-based positions, optional text keys. Asking for a position or key that is
// not there throws CollectionError, so a caller cannot mistake "missing" for a value;
// Find() is the non-throwing look-up for callers that expect misses.

#include <QHash>
#include <QString>

#include <stdexcept>
#include <utility>
#include <vector>

class CollectionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

template <typename T>
class Collection {
public:
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    // Appends item; a non-empty key must be new (keys are compared exactly).
    void Add(T item, const QString& key = QString())
    {
        if (!key.isEmpty()) {
            if (index_.contains(key))
                throw CollectionError("Key already in collection: " + key.toStdString());
            index_.insert(key, items_.size());
        }
        items_.push_back(std::move(item));
        keys_.push_back(key);
    }

    // Makes room for count items, so adding that many does not grow the storage.
    void Reserve(int count)
    {
        items_.reserve(static_cast<size_t>(count));
        keys_.reserve(static_cast<size_t>(count));
        index_.reserve(count);
    }

    int Count() const { return static_cast<int>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }

    T& Item(int position) { return items_[checkedIndex(position)]; }
    const T& Item(int position) const { return items_[checkedIndex(position)]; }
    T& Item(const QString& key) { return items_[checkedIndex(key)]; }
    const T& Item(const QString& key) const { return items_[checkedIndex(key)]; }

    T* Find(const QString& key)
    {
        const auto it = index_.constFind(key);
        return it == index_.constEnd() ? nullptr : &items_[*it];
    }
    const T* Find(const QString& key) const
    {
        const auto it = index_.constFind(key);
        return it == index_.constEnd() ? nullptr : &items_[*it];
    }
    bool Contains(const QString& key) const { return index_.contains(key); }

    // Key of the item at a 1-based position; empty when it was added without one.
    QString KeyAt(int position) const { return keys_[checkedIndex(position)]; }

    void Remove(int position)
    {
        const size_t i = checkedIndex(position);
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
        keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(i));
        rebuildIndex();
    }
    void Remove(const QString& key) { Remove(static_cast<int>(checkedIndex(key)) + 1); }

    void Clear()
    {
        items_.clear();
        keys_.clear();
        index_.clear();
    }

    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

private:
    size_t checkedIndex(int position) const
    {
        if (position < 1 || position > Count())
            throw CollectionError("No item at position " + std::to_string(position));
        return static_cast<size_t>(position - 1);
    }
    size_t checkedIndex(const QString& key) const
    {
        const auto it = index_.constFind(key);
        if (it == index_.constEnd())
            throw CollectionError("No item with key " + key.toStdString());
        return *it;
    }
    void rebuildIndex()
    {
        index_.clear();
        for (size_t i = 0; i < keys_.size(); ++i)
            if (!keys_[i].isEmpty())
                index_.insert(keys_[i], i);
    }

    std::vector<T> items_;
    std::vector<QString> keys_;
    QHash<QString, size_t> index_;
};
