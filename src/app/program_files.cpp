// SPDX-License-Identifier: MIT
#include "app/program_files.h"

#include "document/work_folders.h"

#include <QDir>
#include <QFileInfo>

namespace orin {

QString FindProgramFile(const QString &appFolder, const QString &besideProgram,
                        const QString &underPrefix)
{
    const QString folder = WithTrailingSlash(appFolder);
    const QString beside = folder + besideProgram;
    if (QFileInfo::exists(beside))
        return beside;
    // bin/.. is the prefix; cleanPath keeps the shown path free of "..".
    const QString installed = QDir::cleanPath(folder + QStringLiteral("../") + underPrefix);
    if (QFileInfo::exists(installed))
        return installed;
    return beside;
}

QString SampleProjectPath(const QString &appFolder)
{
    const QString path =
        FindProgramFile(appFolder, QStringLiteral("examples/sample.bjpx"),
                        QStringLiteral("share/orinedit/examples/sample.bjpx"));
    return QFileInfo::exists(path) ? path : QString();
}

} // namespace orin
