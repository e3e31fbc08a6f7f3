// SPDX-License-Identifier: MIT
#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>

namespace orin {

class CIniStore;

// The section of the settings file that keeps the recent-file list ("File1" = the newest).
inline constexpr QLatin1String kRecentFileSection("Recent File List");

// The most recently opened or saved project files, newest first, at most kMaxEntries.
class CRecentFiles {
public:
    static constexpr int kMaxEntries = 10;

    // Puts the path at the top; an equal entry further down is dropped, the oldest entry
    // falls off when the list is full. Empty paths are ignored.
    void Add(const QString &path);

    // The path at index, or an empty string when the index is out of range.
    QString At(int index) const;
    int Count() const { return static_cast<int>(m_entries.size()); }
    const QStringList &Entries() const { return m_entries; }

    // Reads "File1".."File10" of the section; missing keys and empty values are skipped.
    void Load(const CIniStore &store);
    // Replaces the section with the list. False when the file was not written.
    bool Save(CIniStore &store) const;

private:
    QStringList m_entries;
};

} // namespace orin
