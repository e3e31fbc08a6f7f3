// SPDX-License-Identifier: MIT
#include "transmit/server_content.h"

// The reader of the server's files is not part of this library yet: both calls fail with a
// reason, so that a retrieval reports that it cannot use what it received.

namespace orin {

bool ExtractServerContent(const QString &, const QString &, qint64, QString *bjpxPath,
                          QString *error)
{
    if (bjpxPath)
        bjpxPath->clear();
    if (error)
        *error = QStringLiteral("server content cannot be read by this build");
    return false;
}

bool ParseLabelContents(const QByteArray &, CLabelContents *out, QString *error)
{
    if (out)
        *out = CLabelContents();
    if (error)
        *error = QStringLiteral("label contents cannot be read by this build");
    return false;
}

} // namespace orin
