// SPDX-License-Identifier: MIT
#include "app/help_document.h"

#include "document/work_folders.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace orin {

QString HelpDocumentPath(const QString &appFolder)
{
    return WithTrailingSlash(appFolder) + QStringLiteral("docs/help.html");
}

bool OpenHelpDocument(const QString &appFolder)
{
    const QString path = HelpDocumentPath(appFolder);
    if (!QFileInfo::exists(path))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace orin
