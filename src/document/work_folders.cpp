// SPDX-License-Identifier: MIT
#include "document/work_folders.h"

#include "model/project_writer.h"

#include <QDir>
#include <QRandomGenerator>

namespace orin {

QString WorkFolderName(quint32 seed)
{
    QRandomGenerator generator(seed);
    const quint32 number = generator.bounded(0x10000u);
    return QStringLiteral("temp/%1/").arg(
        QStringLiteral("%1").arg(number, 4, 16, QLatin1Char('0')).toUpper());
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
    CreateFolderPath(folders.work);
    CreateFolderPath(folders.convert);
    return folders;
}

} // namespace orin
