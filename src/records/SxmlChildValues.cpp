#include "records/SxmlChildValues.h"

#include <utility>

void SxmlChildValues::Add(SxmlChildValue value)
{
    const QString key = LookupKey(value.Key);
    if (values_.Contains(key))
        throw CollectionError("Attribute named twice: " + value.Key.toStdString());
    values_.Add(std::move(value), key);
}

const SxmlChildValue& SxmlChildValues::Item(const QString& name) const
{
    if (const SxmlChildValue* value = Find(name))
        return *value;
    throw CollectionError("No attribute named " + name.toStdString());
}
