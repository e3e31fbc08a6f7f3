// SPDX-License-Identifier: MIT
#pragma once

#include "model/file_result.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

class QSaveFile;

#include <functional>

namespace orin {

// Replaces the file at `path` with `bytes` so that a failure never costs the operator a file:
// the bytes go to a new temporary file in the same folder first; only when that is written
// and synced to the disk does the previous file become "<path>.bak" and the temporary file
// take the name; the folder is synced after the renames, so a finished save survives a power
// loss. An older
// .bak is removed last; when it cannot be removed, the save is undone. On any failure the
// previous file and its .bak stay as they were and the result names the file and the reason.
// A target that is a folder is refused. A new file gets the permissions the umask leaves of
// 0666; a replaced file keeps its own.
FileResult ReplaceFileKeepingBackup(const QString &path, const QByteArray &bytes);

// Writes the contents of a file into the open temporary file; returns false when a write
// failed (the device's error string tells why).
using FileProducer = std::function<bool(QIODevice &out)>;

// The same replacement with contents that `produce` writes as it composes them, so that a
// large file is never held whole. Nothing of the target or its .bak changes when it fails.
FileResult ReplaceFileKeepingBackup(const QString &path, const FileProducer &produce);

// Writes `bytes` to `path` through a temporary file renamed over it, without a backup; synced
// like the replacement above.
FileResult WriteFileAtomically(const QString &path, const QByteArray &bytes);

// The renames, removals and syncs of the two functions above. Each returns 0 on success or
// the system's error number. `syncFile` gets the open descriptor of the written temporary file
// and its path; `syncFolder` the folder whose entries changed. Steps left empty are the real
// ones.
struct FileSteps {
    std::function<int(const QString &from, const QString &to)> rename;
    std::function<int(const QString &path)> remove;
    std::function<int(int fd, const QString &path)> syncFile;
    std::function<int(const QString &folder)> syncFolder;
};

// The steps the replacement uses now: the real file system unless a test put others in place.
const FileSteps &CurrentFileSteps();

// Puts `steps` in place of the real renames, removals and syncs for its lifetime, so that a test can
// make any step fail. Not for use by the program itself; not thread-safe.
class CFileStepsOverride {
public:
    explicit CFileStepsOverride(FileSteps steps);
    ~CFileStepsOverride();
    CFileStepsOverride(const CFileStepsOverride &) = delete;
    CFileStepsOverride &operator=(const CFileStepsOverride &) = delete;

    // The real steps, for an override that fails some and passes the others on.
    static const FileSteps &RealSteps();

private:
    FileSteps m_steps;
    const FileSteps *m_previous;
};

// Commits a QSaveFile only when everything written to it reached the disk; otherwise the
// writing is cancelled, the file it would replace stays as it was, and `why` (when given) gets
// the reason. QSaveFile keeps writes in a buffer and does not count a failure to write that
// buffer out at commit(): on a full disk the part written would replace the file.
bool CommitSaveFile(QSaveFile &file, QString *why = nullptr);

} // namespace orin
