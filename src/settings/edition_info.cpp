// SPDX-License-Identifier: MIT
#include "settings/edition_info.h"

namespace orin {

QString EditionTitle(int edition)
{
    switch (edition) {
    case 0:
    case 1:
        return QStringLiteral("OrinEditContents");
    case 2:
        return QStringLiteral("OrinEditContentsWeb");
    case 3:
        return QStringLiteral("OrinEditContentsOnline");
    default:
        return QStringLiteral("OrinEditHTML");
    }
}

QString FileTypeName(int edition)
{
    QString title = EditionTitle(edition);
    if (title.startsWith(u"Orin"))
        title.remove(0, 4);
    return title + QStringLiteral("ファイル");
}

QString VersionText()
{
    return QStringLiteral("ver. ") + QLatin1String(kVersion);
}

bool EditionTransmits(int edition)
{
    return edition != 0 && edition != 4;
}

} // namespace orin
