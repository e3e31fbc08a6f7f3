// SPDX-License-Identifier: MIT
#pragma once

#include "model/project_writer.h"
#include "model/text_codec.h"
#include "tar_builder.h"
#include "test_files.h"
#include "transmit_content.h"

#include <QDir>
#include <QPair>

// Content archives as a server serves them: the small content set saved portable as
// "news.bjpx" with its folder "news.", in a plain tar. A hostile server's archive is the same
// with references of the project text replaced by others ("./news./pic.jpg" by "/etc/...").

namespace orin::test {

using ReferenceSwap = QPair<QString, QString>; // reference as saved -> text written instead

inline QByteArray ServerArchive(const QString &stage, const QList<ReferenceSwap> &swaps = {})
{
    CContentModel model;
    ProgramSettings settings;
    MakeContent(model, settings, stage + QStringLiteral("/files"));
    const QString pack = stage + QStringLiteral("/pack");
    const QString project = pack + QStringLiteral("/news.bjpx");
    QDir().mkpath(ContentFolderOf(project));
    if (!SaveProject(model, project, SaveMode::Portable, ContentFolderOf(project), settings).ok)
        return {};
    QString text = DecodeUnicodeTextFile(ReadBytes(project));
    for (const ReferenceSwap &swap : swaps)
        text.replace(u'>' + swap.first + u'<', u'>' + swap.second + u'<');
    QList<TarEntry> entries{{"news.bjpx", '0', EncodeUnicodeTextFile(text), {}, -1, false},
                            {"news./", '5', {}, {}, -1, false}};
    const QDir folder(ContentFolderOf(project));
    for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
        entries.append({"news./" + name.toUtf8(), '0', ReadBytes(folder.filePath(name)), {}, -1,
                        false});
    return Tar(entries);
}

} // namespace orin::test
