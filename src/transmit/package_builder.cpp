// SPDX-License-Identifier: MIT
#include "transmit/package_builder.h"

#include "model/project_writer.h"
#include "transmit/entry_names.h"
#include "transmit/project_references.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <memory>

namespace orin {
namespace {

struct ArchiveDeleter {
    void operator()(archive *a) const { archive_write_free(a); }
};
struct EntryDeleter {
    void operator()(archive_entry *e) const { archive_entry_free(e); }
};

void SetError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// The entry names below `baseFolder` for the given entries: each one, and for a folder
// everything beneath it; regular files and folders only.
QStringList CollectEntries(const QString &baseFolder, const QStringList &entries)
{
    const QDir base(baseFolder);
    QStringList names;
    for (const QString &entry : entries) {
        const QFileInfo info(base.filePath(entry));
        if (info.isSymLink())
            continue;
        if (info.isFile()) {
            names << entry;
        } else if (info.isDir()) {
            names << entry + u'/';
            QDirIterator it(info.filePath(), QDir::AllEntries | QDir::Hidden | QDir::System
                                                 | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                it.next();
                const QFileInfo found = it.fileInfo();
                if (found.isSymLink())
                    continue;
                const QString relative = base.relativeFilePath(found.filePath());
                if (found.isDir())
                    names << relative + u'/';
                else if (found.isFile())
                    names << relative;
            }
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A name of the folder not taken yet, made from a usable one: "a_b.png", "a_b_1.png", ...
QString FreeName(const QDir &folder, const QString &usable)
{
    if (!QFileInfo::exists(folder.filePath(usable)))
        return usable;
    const qsizetype dot = usable.lastIndexOf(u'.');
    const QString base = dot > 0 ? usable.left(dot) : usable;
    const QString extension = dot > 0 ? usable.mid(dot) : QString();
    for (int n = 1;; ++n) {
        const QString candidate = UsableEntryName(base + u'_' + QString::number(n) + extension);
        if (!QFileInfo::exists(folder.filePath(candidate)))
            return candidate;
    }
}

// The copies of the content folder whose own names the retrieval would refuse travel under
// usable names; the project's references follow them.
bool GiveUsableNames(const QString &project, const QString &contentFolder, QString *error)
{
    const QDir folder(contentFolder);
    const QString prefix = QStringLiteral("./") + QFileInfo(contentFolder).fileName() + u'/';
    QHash<QString, QString> renamed;
    const QStringList files =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &file : files) {
        if (IsUsableEntryName(file))
            continue;
        const QString usable = FreeName(folder, UsableEntryName(file));
        if (!QFile::rename(folder.filePath(file), folder.filePath(usable))) {
            SetError(error, folder.filePath(file)
                                + QCoreApplication::translate("OrinEdit", " の名前を変えられません"));
            return false;
        }
        renamed.insert(prefix + file, prefix + usable);
    }
    if (renamed.isEmpty())
        return true;
    return RewriteProjectReferences(
        project,
        [&renamed](const QString &reference, bool) -> std::optional<QString> {
            const auto found = renamed.constFind(reference);
            if (found == renamed.constEnd())
                return std::nullopt;
            return found.value();
        },
        nullptr, error);
}

} // namespace

bool WriteTarArchive(const QString &baseFolder, const QStringList &entries,
                     const QString &archivePath, QString *error)
{
    std::unique_ptr<archive, ArchiveDeleter> writer(archive_write_new());
    archive_write_set_format_ustar(writer.get());
    archive_write_add_filter_none(writer.get());
    const QByteArray target = QFile::encodeName(archivePath);
    auto failed = [&](const QString &text) {
        SetError(error, text);
        writer.reset();
        QFile::remove(archivePath);
        return false;
    };
    if (archive_write_open_filename(writer.get(), target.constData()) != ARCHIVE_OK)
        return failed(QString::fromUtf8(archive_error_string(writer.get())));

    const QDir base(baseFolder);
    for (const QString &name : CollectEntries(baseFolder, entries)) {
        const bool folder = name.endsWith(u'/');
        const QFileInfo info(base.filePath(name));
        std::unique_ptr<archive_entry, EntryDeleter> entry(archive_entry_new());
        archive_entry_set_pathname_utf8(entry.get(), name.toUtf8().constData());
        archive_entry_set_filetype(entry.get(), folder ? AE_IFDIR : AE_IFREG);
        archive_entry_set_perm(entry.get(), folder ? 0755 : 0644);
        archive_entry_set_size(entry.get(), folder ? 0 : info.size());
        archive_entry_set_mtime(entry.get(), info.lastModified().toSecsSinceEpoch(), 0);
        if (archive_write_header(writer.get(), entry.get()) != ARCHIVE_OK)
            return failed(name + QStringLiteral(": ")
                          + QString::fromUtf8(archive_error_string(writer.get())));
        if (folder)
            continue;
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            return failed(info.filePath() + QStringLiteral(": ") + file.errorString());
        qint64 written = 0;
        while (!file.atEnd()) {
            const QByteArray chunk = file.read(1 << 16);
            if (chunk.isEmpty() && file.error() != QFile::NoError)
                return failed(info.filePath() + QStringLiteral(": ") + file.errorString());
            if (archive_write_data(writer.get(), chunk.constData(), size_t(chunk.size()))
                != chunk.size())
                return failed(QString::fromUtf8(archive_error_string(writer.get())));
            written += chunk.size();
        }
        // A file that changed size while it was read would make a broken archive.
        if (written != info.size())
            return failed(info.filePath() + QStringLiteral(": size changed while reading"));
    }
    if (archive_write_close(writer.get()) != ARCHIVE_OK)
        return failed(QString::fromUtf8(archive_error_string(writer.get())));
    return true;
}

void DeletePackage(const QString &packageFolder, const QString &name)
{
    const QDir folder(packageFolder);
    QFile::remove(folder.filePath(name + QStringLiteral(".tar")));
    QFile::remove(folder.filePath(name + QStringLiteral(".bjpx")));
    QFile::remove(folder.filePath(name + QStringLiteral(".bjpx.bak")));
    QDir(folder.filePath(name + u'.')).removeRecursively();
}

QString BuildPackage(const CContentModel &model, const ProgramSettings &settings,
                     const QString &packageFolder, const QString &name, QString *error)
{
    if (!CreateFolderPath(packageFolder)) {
        SetError(error,
                 packageFolder + QCoreApplication::translate("OrinEdit", " を作成できません"));
        return QString();
    }
    DeletePackage(packageFolder, name);
    const QDir folder(packageFolder);
    const QString project = folder.filePath(name + QStringLiteral(".bjpx"));
    const QString contentFolder = ContentFolderOf(project);
    if (!CreateFolderPath(contentFolder)) {
        SetError(error,
                 contentFolder + QCoreApplication::translate("OrinEdit", " を作成できません"));
        return QString();
    }
    const FileResult saved = SaveProject(model, project, SaveMode::Portable, contentFolder,
                                         settings);
    // A file left out would send the server a content set that refers to this computer.
    if (!saved.ok || !saved.message.isEmpty()) {
        SetError(error, saved.message);
        DeletePackage(packageFolder, name);
        return QString();
    }
    if (!GiveUsableNames(project, contentFolder, error)) {
        DeletePackage(packageFolder, name);
        return QString();
    }
    const QString archivePath = folder.filePath(name + QStringLiteral(".tar"));
    if (!WriteTarArchive(packageFolder, {name + QStringLiteral(".bjpx"), name + u'.'},
                         archivePath, error)) {
        DeletePackage(packageFolder, name);
        return QString();
    }
    return archivePath;
}

} // namespace orin
