// SPDX-License-Identifier: MIT
#pragma once

#include "transmit_content.h"
#include "images/load_services.h"
#include "model/project_reader.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QPair>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

// Content sets and archive readers for the transmission tests.

namespace orin::test {

// The entries of a tar archive in order: name, type (file 'f', folder 'd', other '?') and
// bytes. Empty when the archive cannot be read.
struct ArchivedEntry {
    QString name;
    char type = '?';
    QByteArray bytes;
};
inline QList<ArchivedEntry> ReadTar(const QString &path)
{
    QList<ArchivedEntry> entries;
    std::unique_ptr<archive, int (*)(archive *)> reader(archive_read_new(), archive_read_free);
    archive_read_support_format_tar(reader.get());
    if (archive_read_open_filename(reader.get(), QFile::encodeName(path).constData(), 10240)
        != ARCHIVE_OK)
        return entries;
    archive_entry *entry = nullptr;
    while (archive_read_next_header(reader.get(), &entry) == ARCHIVE_OK) {
        ArchivedEntry e;
        e.name = QString::fromUtf8(archive_entry_pathname_utf8(entry));
        const auto type = archive_entry_filetype(entry);
        e.type = type == AE_IFREG ? 'f' : type == AE_IFDIR ? 'd' : '?';
        char buffer[8192];
        la_ssize_t n;
        while ((n = archive_read_data(reader.get(), buffer, sizeof buffer)) > 0)
            e.bytes.append(buffer, n);
        entries << e;
    }
    return entries;
}

// Unpacks a tar archive into `folder` (test use: the archives are the tests' own).
inline bool UnpackTar(const QString &path, const QString &folder)
{
    const QList<ArchivedEntry> entries = ReadTar(path);
    for (const ArchivedEntry &e : entries) {
        const QString target = QDir(folder).filePath(e.name);
        if (e.type == 'd' ? !QDir().mkpath(target) : !WriteBytes(target, e.bytes))
            return false;
    }
    return !entries.isEmpty();
}

// Loads a project file as Open does.
inline bool LoadContent(const QString &path, CContentModel &model, ProgramSettings &settings)
{
    return LoadProject(path, true, settings, model.usedSize, model, StandardLoadServices());
}

} // namespace orin::test
