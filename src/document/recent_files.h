// SPDX-License-Identifier: MIT
#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>

namespace orin {

class CIniStore;
class CPathStore;

// The section of the settings file that kept the recent-file list of older versions ("File1" =
// the newest). It is read when the path file holds no list yet, and removed once it does.
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

    // Reads the list of the path file (UTF-8, so every path comes back as it was), or, when it
    // holds none, "File1".."File10" of the settings file's old section; missing keys, empty
    // values and entries beyond kMaxEntries are skipped.
    void Load(const CIniStore &store, const CPathStore &paths);
    // Writes the list to the path file and then drops the old section of the settings file.
    // False when the path file was not written.
    bool Save(CIniStore &store, CPathStore &paths) const;

private:
    QStringList m_entries;
};

} // namespace orin
