// SPDX-License-Identifier: MIT
#include "model/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

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
    return FileResult::Failure(QStringLiteral("%1 に書き込めません。\n%2").arg(Native(path), reason));
}

// rename(2) that reports errno; QFile::rename would copy across devices and hide the reason.
bool RenamePath(const QString &from, const QString &to, int &error)
{
    const QByteArray a = QFile::encodeName(from);
    const QByteArray b = QFile::encodeName(to);
    if (std::rename(a.constData(), b.constData()) == 0)
        return true;
    error = errno;
    return false;
}

bool Exists(const QString &path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

// Writes the bytes into a new temporary file beside `path`; on success `tempPath` names it
// and the caller owns it.
FileResult WriteTemporary(const QString &path, const QByteArray &bytes, QString &tempPath)
{
    const QFileInfo target(path);
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName()
                        + QStringLiteral(".XXXXXX"));
    temp.setAutoRemove(true);
    if (!temp.open())
        return CannotWrite(path, temp.errorString());
    if (temp.write(bytes) != bytes.size() || !temp.flush()) {
        const QString reason = temp.errorString();
        return CannotWrite(path, reason);
    }
    // Keep the permissions an existing file had.
    if (target.exists())
        temp.setPermissions(QFile(path).permissions());
    else
        temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                            | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    temp.setAutoRemove(false);
    tempPath = temp.fileName();
    temp.close();
    return FileResult::Success();
}

} // namespace

FileResult WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    QString tempPath;
    FileResult written = WriteTemporary(path, bytes, tempPath);
    if (!written.ok)
        return written;
    int error = 0;
    if (!RenamePath(tempPath, path, error)) {
        QFile::remove(tempPath);
        return CannotWrite(path, SystemReason(error));
    }
    return FileResult::Success();
}

FileResult ReplaceFileKeepingBackup(const QString &path, const QByteArray &bytes)
{
    QString tempPath;
    FileResult written = WriteTemporary(path, bytes, tempPath);
    if (!written.ok)
        return written;

    const QString backup = path + QStringLiteral(".bak");
    int error = 0;

    // Put the old backup aside instead of deleting it, so that it can come back on failure.
    QString oldBackupAside;
    if (Exists(backup)) {
        oldBackupAside = tempPath + QStringLiteral(".oldbak");
        if (!RenamePath(backup, oldBackupAside, error)) {
            QFile::remove(tempPath);
            return CannotWrite(backup, SystemReason(error));
        }
    }
    auto restoreOldBackup = [&] {
        int ignored = 0;
        if (!oldBackupAside.isEmpty())
            RenamePath(oldBackupAside, backup, ignored);
    };

    const bool hadTarget = Exists(path);
    if (hadTarget && !RenamePath(path, backup, error)) {
        restoreOldBackup();
        QFile::remove(tempPath);
        return CannotWrite(path, SystemReason(error));
    }
    if (!RenamePath(tempPath, path, error)) {
        int ignored = 0;
        if (hadTarget)
            RenamePath(backup, path, ignored);
        restoreOldBackup();
        QFile::remove(tempPath);
        return CannotWrite(path, SystemReason(error));
    }
    if (!oldBackupAside.isEmpty())
        QFile::remove(oldBackupAside);
    return FileResult::Success();
}

} // namespace orin
