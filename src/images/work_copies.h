// SPDX-License-Identifier: MIT
#pragma once

#include "images/colour_map.h"
#include "images/file_stamp.h"

#include <QHashFunctions>
#include <QString>

#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>

// Work copies: the program's private copies of the operator's image files in the work folder.
// They are never synced to the disk (they are made again from their source whenever they are
// needed), and a store of them copies each source once while it stays unchanged, so that
// showing a page again costs neither a copy nor a wait for the disk.

namespace orin {

// One copy file in the work folder; the file is removed when the last holder lets go.
class CWorkCopyFile {
public:
    explicit CWorkCopyFile(QString path) : m_path(std::move(path)) {}
    ~CWorkCopyFile();
    CWorkCopyFile(const CWorkCopyFile &) = delete;
    CWorkCopyFile &operator=(const CWorkCopyFile &) = delete;

    const QString &Path() const { return m_path; }

private:
    QString m_path;
};

// Copies the regular file `source` over `destination` without syncing: a clone of its blocks
// where the file system shares them, else a copy inside the kernel, else reads and writes.
// Only the bytes the source had when it was opened are copied (a file that grows meanwhile,
// a device or a pipe cannot fill the disk). On failure the destination is removed.
bool CopyWorkFile(const QString &source, const QString &destination);

// A new, empty, uniquely named file "<prefix>XXXXXX<extension>" in `workFolder` (created
// with its parents when missing); empty when none can be made.
QString NewWorkFilePath(const QString &workFolder, const QString &prefix,
                        const QString &extension);

// The work copies of one work folder. Each copy is keyed by its source's path and, for a
// palette copy, by the colours it inserts; it is made again when the source's size,
// modification or change time or file identity differ from those it was made from. Copies
// stay while the store lives (and while a holder keeps one); copies no one holds are let go,
// the least recently used first, once they take more than `retainedBytesLimit` together.
class CWorkCopies {
public:
    static constexpr qint64 kDefaultRetainedBytes = qint64(256) << 20;

    explicit CWorkCopies(QString workFolder, qint64 retainedBytesLimit = kDefaultRetainedBytes);
    ~CWorkCopies();
    CWorkCopies(const CWorkCopies &) = delete;
    CWorkCopies &operator=(const CWorkCopies &) = delete;

    const QString &Folder() const { return m_folder; }

    // The byte-for-byte copy of `source` under a "<prefix>XXXXXX<extension>" name; null when
    // the source cannot be read or the copy cannot be written.
    std::shared_ptr<const CWorkCopyFile> Plain(const QString &source, const QString &prefix,
                                               const QString &extension);
    // The copy of the PNG `source` with `map` inserted as its palette (InsertPalette).
    std::shared_ptr<const CWorkCopyFile> Paletted(const QString &source, const CColourMap &map);

    // How many copies were made since the store was created (a test's probe).
    int CopiesMade() const { return m_copiesMade; }

private:
    struct Entry {
        FileStamp stamp;
        std::shared_ptr<const CWorkCopyFile> file;
        qint64 bytes = 0;
        std::list<QString>::iterator use; // place in m_recent
    };
    template <typename Make>
    std::shared_ptr<const CWorkCopyFile> Lookup(const QString &key, const QString &source,
                                                const QString &prefix, const QString &extension,
                                                const Make &make);
    void LetGoUnheld();

    QString m_folder;
    qint64 m_limit;
    qint64 m_bytes = 0;
    int m_copiesMade = 0;
    std::unordered_map<QString, Entry> m_entries;
    std::list<QString> m_recent; // keys, most recently used first
};

} // namespace orin
