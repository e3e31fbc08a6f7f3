// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace orin {

// Shares the storage of the short values that a project repeats over and over ("0", "G:3",
// the same action string on every page) while it is read: equal values become one implicitly
// shared string, so the model grows with the distinct values, not with every copy. Values are
// ordinary QStrings; a change to one detaches it as usual. Long values, and every value once
// the pool is full, are made as they are.
class CStringPool {
public:
    // A string equal to `value`, shared with the earlier equal ones.
    QString Get(QStringView value);
    // The same for a string made already (it is kept when it is the first of its value).
    QString Get(const QString &value);

private:
    static constexpr qsizetype kLongestPooled = 32;
    static constexpr size_t kMostEntries = size_t(1) << 18;

    // The slot of `value` (an empty slot when it is not in the pool).
    size_t Find(QStringView value, size_t hash) const;
    void Grow();
    template <typename Make>
    QString Lookup(QStringView value, Make make);

    std::vector<QString> m_slots; // open addressing, a power of two long
    size_t m_count = 0;
};

} // namespace orin
