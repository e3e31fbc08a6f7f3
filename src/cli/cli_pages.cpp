// SPDX-License-Identifier: MIT
#include "cli/cli_pages.h"

#include "actions/copy_document.h"
#include "actions/page_drop.h"
#include "actions/page_merge.h"
#include "cli/cli_project.h"
#include "model/project_reader.h"
#include "model/safe_file.h"
#include "settings/app_settings.h"
#include "settings/ini_store.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace orin::cli {

namespace {

int UsageError(Streams io, const QString &problem)
{
    io.err << problem << '\n' << "Run orinedit-cli --help for the commands.\n";
    return kExitUsage;
}

// The page ids of "--pages 3,1,7".
std::optional<QList<int>> ParsePageIds(const QString &list)
{
    QList<int> ids;
    for (const QString &part : list.split(u',')) {
        bool ok = false;
        const int id = part.trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
        ids.append(id);
    }
    return ids;
}

// The text of a copy document file: UTF-16 with its byte-order mark, or UTF-8 (with or without
// one). None when the bytes are neither.
std::optional<QString> DecodeCopyDocument(const QByteArray &bytes)
{
    const auto decode = [](QStringDecoder decoder, QByteArrayView data) -> std::optional<QString> {
        QString text = decoder.decode(data);
        if (decoder.hasError())
            return std::nullopt;
        return text;
    };
    if (bytes.startsWith("\xff\xfe"))
        return decode(QStringDecoder(QStringDecoder::Utf16LE), QByteArrayView(bytes).sliced(2));
    if (bytes.startsWith("\xfe\xff"))
        return decode(QStringDecoder(QStringDecoder::Utf16BE), QByteArrayView(bytes).sliced(2));
    if (bytes.startsWith("\xef\xbb\xbf"))
        return decode(QStringDecoder(QStringDecoder::Utf8), QByteArrayView(bytes).sliced(3));
    return decode(QStringDecoder(QStringDecoder::Utf8), bytes);
}

// DefTimer of the editor's settings file, read as `info` reads the size limits.
int DefTimerSetting()
{
    const QString appFolder = QCoreApplication::applicationDirPath();
    const CIniStore store(SettingsFileForReading(appFolder));
    return LoadSettings(store, appFolder, QRect()).DefTimer;
}

QString MapLine(const IdMap &map)
{
    QStringList pairs;
    for (qsizetype i = 0; i < map.oldIds.size() && i < map.newIds.size(); ++i)
        pairs << QStringLiteral("%1->%2").arg(map.oldIds[i]).arg(map.newIds[i]);
    return pairs.isEmpty() ? QStringLiteral("(none)") : pairs.join(u' ');
}

} // namespace

int CopyDocCommand(const QStringList &args, Streams io)
{
    QStringList files;
    std::optional<QList<int>> ids;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--pages") {
            if (i + 1 >= args.size() || ids)
                return UsageError(io, QStringLiteral("--pages takes one list of page ids"));
            ids = ParsePageIds(args[++i]);
            if (!ids)
                return UsageError(io, QStringLiteral("not a list of page ids: ") + args[i]);
        } else {
            files << args[i];
        }
    }
    if (files.size() != 2 || !ids)
        return UsageError(io, QStringLiteral("copydoc takes IN, OUT and --pages ID[,ID...]"));
    // A copy document written over a project would cost the project.
    if (IsProjectPath(files[1]))
        return UsageError(io, QStringLiteral("OUT is a text file, not a project: ") + files[1]);

    CLoadedProject project;
    if (const int code = project.Load(files[0], io); code != kExitOk)
        return code;
    QList<int> indexes;
    for (int id : *ids) {
        const int index = project.model.PageIndexOfId(id);
        if (index < 0) {
            io.err << "no page with id " << id << " in " << files[0] << '\n';
            return kExitFileError;
        }
        if (!indexes.contains(index))
            indexes.append(index);
    }
    // A drag carries the selected rows in the order of the list, which is the page table's.
    std::sort(indexes.begin(), indexes.end());

    QSaveFile out(files[1]);
    const QByteArray bytes = WriteCopyDocument(project.model, indexes).toUtf8();
    QString why;
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()
        || !CommitSaveFile(out, &why)) {
        io.err << "cannot write " << files[1] << ": " << (why.isEmpty() ? out.errorString() : why)
               << '\n';
        return kExitFileError;
    }
    return kExitOk;
}

int MergeCommand(const QStringList &args, Streams io)
{
    if (args.size() != 3)
        return UsageError(io, QStringLiteral("merge takes IN, COPYDOC and OUT"));
    if (!IsProjectPath(args[2]))
        return UsageError(io, QStringLiteral("OUT must end in .bjpx or .bjp: ") + args[2]);

    QFile file(args[1]);
    if (!QFileInfo(args[1]).isFile() || !file.open(QIODevice::ReadOnly)) {
        io.err << "cannot read " << args[1] << ": " << file.errorString() << '\n';
        return kExitFileError;
    }
    const std::optional<QString> text = DecodeCopyDocument(file.readAll());
    if (!text) {
        io.err << args[1] << " is neither UTF-8 nor UTF-16 text with a byte-order mark\n";
        return kExitFileError;
    }
    // The same rule as a drop on the page list: only text that holds pages is merged.
    if (DecidePageDrop(1, text, true) != PageDrop::Merge) {
        io.err << args[1] << " is not a copy document: it holds no <BMLJPEG\n";
        return kExitFileError;
    }

    CLoadedProject project;
    if (const int code = project.Load(args[0], io); code != kExitOk)
        return code;
    MergeOptions options;
    options.defTimer = DefTimerSetting();
    options.projectFolder = FolderOf(AbsolutePath(args[0]));
    const MergeResult result = MergeCopyDocument(project.model, *text, options);
    if (!result.Changed()) {
        const QString reason = result.Message();
        io.err << "merge refused: "
               << (reason.isEmpty() ? QStringLiteral("no document could be read") : reason)
               << '\n';
        return kExitFileError;
    }
    if (const int code = project.Save(args[2], SaveMode::Plain, io); code != kExitOk)
        return code;

    QStringList newPages;
    for (int id : result.pages.newIds)
        newPages << QString::number(id);
    io.out << "new pages: " << (newPages.isEmpty() ? QStringLiteral("(none)") : newPages.join(u' '))
           << '\n'
           << "page map: " << MapLine(result.pages) << '\n'
           << "image map: " << MapLine(result.images) << '\n'
           << "text map: " << MapLine(result.texts) << '\n'
           << "macro map: " << MapLine(result.macros) << '\n';
    return kExitOk;
}

} // namespace orin::cli
