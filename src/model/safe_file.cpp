// SPDX-License-Identifier: MIT
#include "model/safe_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orin {
namespace {

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

FileResult CannotWrite(const QString &path, const QString &reason)
{
    return FileResult::Failure(QCoreApplication::translate("OrinEdit", "%1 に書き込めません。\n%2")
                                   .arg(Native(path), reason));
}

// rename(2) that reports errno; QFile::rename would copy across devices and hide the reason.
int RealRename(const QString &from, const QString &to)
{
    const QByteArray a = QFile::encodeName(from);
    const QByteArray b = QFile::encodeName(to);
    return std::rename(a.constData(), b.constData()) == 0 ? 0 : errno;
}

// unlink(2): a folder is never removed, so a .bak that is a folder stops the save.
int RealRemove(const QString &path)
{
    return ::unlink(QFile::encodeName(path).constData()) == 0 ? 0 : errno;
}

// fdatasync(2): the file's bytes and size reach the disk before it takes the name.
int RealSyncFile(int fd, const QString &)
{
    while (::fdatasync(fd) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

// fsync(2) of the folder: its new entries (the renames) reach the disk.
int RealSyncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = 0;
    while (::fsync(fd) != 0) {
        if (errno != EINTR) {
            error = errno;
            break;
        }
    }
    ::close(fd);
    return error;
}

const FileSteps &RealFileSteps()
{
    static const FileSteps steps{RealRename, RealRemove, RealSyncFile, RealSyncFolder};
    return steps;
}

const FileSteps *g_steps = nullptr;

int Rename(const QString &from, const QString &to)
{
    return CurrentFileSteps().rename(from, to);
}

int Remove(const QString &path)
{
    return CurrentFileSteps().remove(path);
}

int SyncFile(int fd, const QString &path)
{
    const FileSteps &steps = CurrentFileSteps();
    return steps.syncFile ? steps.syncFile(fd, path) : RealSyncFile(fd, path);
}

// A folder sync that the file system refuses (some do not sync folders) does not undo a save
// whose renames are done: the file is in place and whole.
void SyncFolderOf(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    const FileSteps &steps = CurrentFileSteps();
    if (steps.syncFolder)
        steps.syncFolder(folder);
    else
        RealSyncFolder(folder);
}

bool Exists(const QString &path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

// A folder (or a link to one) is never replaced by a file.
FileResult RefuseFolder(const QString &path)
{
    if (QFileInfo(path).isDir())
        return CannotWrite(path, SystemReason(EISDIR));
    return FileResult::Success();
}

// Creates a new file beside `path` that no one else has opened, with the permissions that
// the umask leaves of 0666 (the kernel applies it), and returns its descriptor or -1.
int CreateTemporary(const QString &path, QString &tempPath, int &error)
{
    const QFileInfo target(path);
    const QString stem = target.absolutePath() + QStringLiteral("/.") + target.fileName() + u'.';
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = stem + QString::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(QFile::encodeName(tempPath).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST) {
            error = errno;
            return -1;
        }
    }
    error = EEXIST;
    return -1;
}

FileProducer WriteBytes(const QByteArray &bytes)
{
    return [&bytes](QIODevice &out) { return out.write(bytes) == bytes.size(); };
}

// Writes what `produce` gives into a new temporary file beside `path`; on success `tempPath`
// names it and the caller owns it.
FileResult WriteTemporary(const QString &path, const FileProducer &produce, QString &tempPath)
{
    int error = 0;
    const int fd = CreateTemporary(path, tempPath, error);
    if (fd < 0)
        return CannotWrite(path, SystemReason(error));
    // A replaced file keeps its permissions.
    struct stat existing {};
    if (::stat(QFile::encodeName(path).constData(), &existing) == 0)
        ::fchmod(fd, existing.st_mode & 07777);
    QFile temp;
    // Unbuffered: the producer writes in large pieces that need no second copy.
    if (!temp.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                   QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        RealRemove(tempPath);
        return CannotWrite(path, temp.errorString());
    }
    if (!produce(temp) || !temp.flush()) {
        const QString reason = temp.errorString();
        temp.close();
        RealRemove(tempPath);
        return CannotWrite(path, reason);
    }
    if (const int syncError = SyncFile(fd, tempPath)) {
        temp.close();
        RealRemove(tempPath);
        return CannotWrite(path, SystemReason(syncError));
    }
    temp.close();
    return FileResult::Success();
}

} // namespace

const FileSteps &CurrentFileSteps()
{
    return g_steps ? *g_steps : RealFileSteps();
}

CFileStepsOverride::CFileStepsOverride(FileSteps steps)
    : m_steps(std::move(steps)), m_previous(g_steps)
{
    g_steps = &m_steps;
}

CFileStepsOverride::~CFileStepsOverride()
{
    g_steps = m_previous;
}

const FileSteps &CFileStepsOverride::RealSteps()
{
    return RealFileSteps();
}

FileResult WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    if (FileResult refused = RefuseFolder(path); !refused.ok)
        return refused;
    QString tempPath;
    FileResult written = WriteTemporary(path, WriteBytes(bytes), tempPath);
    if (!written.ok)
        return written;
    if (const int error = Rename(tempPath, path)) {
        Remove(tempPath);
        return CannotWrite(path, SystemReason(error));
    }
    SyncFolderOf(path);
    return FileResult::Success();
}

FileResult ReplaceFileKeepingBackup(const QString &path, const QByteArray &bytes)
{
    return ReplaceFileKeepingBackup(path, WriteBytes(bytes));
}

FileResult ReplaceFileKeepingBackup(const QString &path, const FileProducer &produce)
{
    const QString backup = path + QStringLiteral(".bak");
    if (FileResult refused = RefuseFolder(path); !refused.ok)
        return refused;

    QString tempPath;
    FileResult written = WriteTemporary(path, produce, tempPath);
    if (!written.ok)
        return written;

    // Every step is a rename that can be undone until the old backup is removed at the very
    // end; whatever fails, the steps done so far are undone in reverse order.
    QList<std::pair<QString, QString>> done; // renames made, from -> to
    auto undo = [&] {
        for (auto step = done.crbegin(); step != done.crend(); ++step)
            Rename(step->second, step->first);
        Remove(tempPath);
    };
    auto step = [&](const QString &from, const QString &to) {
        const int error = Rename(from, to);
        if (error == 0)
            done.append({from, to});
        return error;
    };

    // The old backup is put aside first so that it can come back if anything fails.
    QString oldBackupAside;
    if (Exists(backup)) {
        oldBackupAside = tempPath + QStringLiteral(".oldbak");
        if (const int error = step(backup, oldBackupAside)) {
            undo();
            return CannotWrite(backup, SystemReason(error));
        }
    }
    if (Exists(path)) {
        if (const int error = step(path, backup)) {
            undo();
            return CannotWrite(path, SystemReason(error));
        }
    }
    if (const int error = step(tempPath, path)) {
        undo();
        return CannotWrite(path, SystemReason(error));
    }
    if (!oldBackupAside.isEmpty()) {
        if (const int error = Remove(oldBackupAside)) {
            // The old backup cannot go (a folder, say): the save does not happen at all.
            undo();
            return CannotWrite(backup, SystemReason(error));
        }
    }
    SyncFolderOf(path);
    return FileResult::Success();
}

bool CommitSaveFile(QSaveFile &file, QString *why)
{
    if (!file.flush()) {
        if (why)
            *why = file.errorString();
        file.cancelWriting();
        file.commit(); // removes the temporary file
        return false;
    }
    if (!file.commit()) {
        if (why)
            *why = file.errorString();
        return false;
    }
    return true;
}

} // namespace orin
