// SPDX-License-Identifier: MIT
#include "document/work_folders.h"

#include "model/project_writer.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace orin {

namespace {

QString WorkFolderOfNumber(quint32 number)
{
    return QStringLiteral("temp/%1/").arg(
        QStringLiteral("%1").arg(number & 0xFFFFu, 4, 16, QLatin1Char('0')).toUpper());
}

} // namespace

QString WorkFolderName(quint32 seed)
{
    QRandomGenerator generator(seed);
    return WorkFolderOfNumber(generator.bounded(0x10000u));
}

QString WithTrailingSlash(const QString &folder)
{
    QString result = QDir::fromNativeSeparators(folder);
    while (result.endsWith(u'/') && result.size() > 1)
        result.chop(1);
    return result + u'/';
}

int RemoveAbandonedWorkFolders(const QString &dataFolder)
{
    static const QRegularExpression kName(QStringLiteral("^[0-9A-F]{4}$"));
    const QDir temp(WithTrailingSlash(dataFolder) + QStringLiteral("temp"));
    const QStringList names = temp.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    int removed = 0;
    for (const QString &name : names) {
        if (!kName.match(name).hasMatch())
            continue;
        // Taking the lock succeeds only when no living run holds it: a lock file whose process
        // is gone counts as stale and is taken over.
        QLockFile lock(temp.filePath(name + QStringLiteral(".lock")));
        lock.setStaleLockTime(0); // age alone never makes a living run's lock stale
        if (!lock.tryLock(0))
            continue;
        if (QDir(temp.filePath(name)).removeRecursively())
            ++removed;
        lock.unlock();
    }
    return removed;
}

WorkFolders MakeWorkFolders(const QString &dataFolder, quint32 seed)
{
    const QString base = WithTrailingSlash(dataFolder);
    WorkFolders folders{base + WorkFolderName(seed), base + QStringLiteral("DataConvert/"), {}};
    QDir().mkpath(base + QStringLiteral("temp"));
    RemoveAbandonedWorkFolders(base);
    // The lock comes first, so that a run starting meanwhile never sees this folder without
    // its lock; mkdir fails on an existing folder, which makes taking a name atomic between
    // runs.
    QRandomGenerator generator(seed);
    const quint32 first = generator.bounded(0x10000u);
    for (quint32 step = 0; step < 0x10000u; ++step) {
        const QString candidate = base + WorkFolderOfNumber(first + step);
        auto lock = std::make_shared<QLockFile>(candidate.chopped(1) + QStringLiteral(".lock"));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0)) {
            // Not taken, yet not made: the data folder cannot be written, no name will do.
            if (lock->error() != QLockFile::LockFailedError)
                break;
            continue;
        }
        if (QDir().mkdir(candidate)) {
            folders.work = candidate;
            folders.lock = std::move(lock);
            break;
        }
        if (!QFileInfo::exists(candidate))
            break;
    }
    CreateFolderPath(folders.work);
    CreateFolderPath(folders.convert);
    return folders;
}

bool RemoveWorkFolder(const WorkFolders &folders)
{
    if (folders.work.isEmpty())
        return true;
    QDir work(folders.work);
    const bool removed = !work.exists() || work.removeRecursively();
    // A folder that could not go keeps its lock until the process ends; the next start-up
    // removes it then.
    if (removed && folders.lock)
        folders.lock->unlock();
    return removed;
}

} // namespace orin
