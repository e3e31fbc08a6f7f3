// SPDX-License-Identifier: MIT
#include "model/string_pool.h"

#include <QHashFunctions>

namespace orin {

size_t CStringPool::Find(QStringView value, size_t hash) const
{
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const QString &slot = m_slots[i];
        if (slot.isNull() || slot == value)
            return i;
    }
}

void CStringPool::Grow()
{
    std::vector<QString> old;
    old.swap(m_slots);
    m_slots.resize(old.empty() ? 1024 : old.size() * 2);
    for (QString &entry : old) {
        if (!entry.isNull())
            m_slots[Find(entry, qHash(entry))] = std::move(entry);
    }
}

template <typename Make>
QString CStringPool::Lookup(QStringView value, Make make)
{
    if (value.isEmpty() || value.size() > kLongestPooled)
        return make();
    const size_t hash = qHash(value);
    if (m_count >= kMostEntries) { // full: shares what it holds, keeps nothing new
        const QString &found = m_slots[Find(value, hash)];
        return found.isNull() ? make() : found;
    }
    if ((m_count + 1) * 2 > m_slots.size())
        Grow();
    QString &slot = m_slots[Find(value, hash)];
    if (slot.isNull()) {
        slot = make();
        ++m_count;
    }
    return slot;
}

QString CStringPool::Get(QStringView value)
{
    return Lookup(value, [value] { return value.toString(); });
}

QString CStringPool::Get(const QString &value)
{
    return Lookup(value, [&value] { return value; });
}

} // namespace orin
