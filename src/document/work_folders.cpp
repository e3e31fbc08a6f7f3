// SPDX-License-Identifier: MIT
#include "document/work_folders.h"

#include "model/project_writer.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

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

WorkFolders MakeWorkFolders(const QString &dataFolder, quint32 seed)
{
    const QString base = WithTrailingSlash(dataFolder);
    WorkFolders folders{base + WorkFolderName(seed), base + QStringLiteral("DataConvert/")};
    QDir().mkpath(base + QStringLiteral("temp"));
    // mkdir fails on an existing folder, which makes taking a name atomic between runs.
    QRandomGenerator generator(seed);
    const quint32 first = generator.bounded(0x10000u);
    for (quint32 step = 0; step < 0x10000u; ++step) {
        const QString candidate = base + WorkFolderOfNumber(first + step);
        if (QDir().mkdir(candidate)) {
            folders.work = candidate;
            break;
        }
        // Not taken, yet not made: the data folder cannot be written, no name will do.
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
    return !work.exists() || work.removeRecursively();
}

} // namespace orin
