// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The files a data-broadcast server hands out: "SeverContents", a tar archive holding one
// project file with its content folder, and "LabelContents.xml", the labels of what may be
// edited.

namespace orin {

struct CLabelContents {
    QStringList texts;
    QStringList pictures;
    bool background = false;
};

// Unpacks the archive into `destFolder` (made fresh), refusing what could write outside it or
// is not plain content, and more data than `sizeLimit` bytes. True with the path of the one
// project file at the top of the archive; false with the reason.
bool ExtractServerContent(const QString &tarPath, const QString &destFolder, qint64 sizeLimit,
                          QString *bjpxPath, QString *error);

// Reads "LabelContents.xml" (UTF-8):
// <LabelContents><Text label="…"/>…<Picture label="…"/>…<Background/></LabelContents>.
bool ParseLabelContents(const QByteArray &xml, CLabelContents *out, QString *error);

} // namespace orin
