// SPDX-License-Identifier: MIT
#include "transmit/server_content.h"

#include "transmit/entry_names.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace orin {

namespace {

// More entries than any content set needs: beyond this an archive is refused rather than
// filling the disk with empty files.
constexpr int kMaxEntries = 65536;
// A name longer than this cannot be a file of a content set.
constexpr qsizetype kMaxNameBytes = 4096;
constexpr qint64 kBlockBytes = 64 * 1024;

QString BadArchiveText()
{
    return QCoreApplication::translate("OrinEdit", "受信データを展開できません。\n");
}

struct ArchiveCloser {
    void operator()(archive *a) const { archive_read_free(a); }
};

// Why a name cannot be taken, or empty when it can; `parts` gets its components without "."
// ones.
QString CheckName(const QByteArray &raw, QStringList *parts)
{
    if (raw.isEmpty())
        return QCoreApplication::translate("OrinEdit", "名前のない項目があります");
    if (raw.size() > kMaxNameBytes)
        return QCoreApplication::translate("OrinEdit", "名前が長すぎる項目があります");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString name = utf8.decode(raw);
    if (utf8.hasError())
        return QCoreApplication::translate("OrinEdit", "名前が UTF-8 ではない項目があります");
    if (name.startsWith(u'/'))
        return QCoreApplication::translate("OrinEdit", "絶対パスの項目があります: %1").arg(name);
    if (name.contains(u'\\') || name.contains(u':'))
        return QCoreApplication::translate("OrinEdit", "使えない文字を含む項目があります: %1")
            .arg(name);
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return QCoreApplication::translate("OrinEdit", "制御文字を含む項目があります");
    }
    // A trailing "/" marks a folder; empty components inside ("a//b") are refused.
    QString trimmed = name;
    while (trimmed.endsWith(u'/'))
        trimmed.chop(1);
    const QStringList all = trimmed.split(u'/');
    parts->clear();
    for (const QString &part : all) {
        if (part == u"..")
            return QCoreApplication::translate("OrinEdit", "親フォルダを指す項目があります: %1")
                .arg(name);
        if (part.isEmpty())
            return QCoreApplication::translate("OrinEdit", "空の名前を含む項目があります: %1")
                .arg(name);
        if (part == u".")
            continue;
        // The rule the package keeps for every name it writes.
        if (part.toUtf8().size() > kMaxEntryNameBytes)
            return QCoreApplication::translate("OrinEdit", "名前が長すぎる項目があります: %1")
                .arg(name);
        if (!IsUsableEntryName(part))
            return QCoreApplication::translate("OrinEdit", "使えない文字を含む項目があります: %1")
                .arg(name);
        parts->append(part);
    }
    return QString();
}

class CExtraction {
public:
    CExtraction(const QString &folder, qint64 sizeLimit) : m_root(folder), m_limit(sizeLimit) {}

    // Reads every entry; false with m_error at the first one that cannot be taken.
    bool Run(archive *a);
    QString Error() const { return m_error; }

private:
    bool Fail(const QString &why)
    {
        m_error = BadArchiveText() + why;
        return false;
    }
    bool ArchiveFailure(archive *a)
    {
        const char *text = archive_error_string(a);
        return Fail(QCoreApplication::translate("OrinEdit", "アーカイブが壊れています: %1")
                        .arg(text ? QString::fromLocal8Bit(text) : QStringLiteral("?")));
    }
    bool MakeFolders(const QStringList &parts, qsizetype count);
    bool WriteFile(archive *a, archive_entry *entry, const QStringList &parts);

    QDir m_root;
    qint64 m_limit;
    qint64 m_written = 0;
    QString m_error;
};

bool CExtraction::MakeFolders(const QStringList &parts, qsizetype count)
{
    QString path = m_root.absolutePath();
    for (qsizetype i = 0; i < count; ++i) {
        path += u'/' + parts.at(i);
        // Only folders made here are ever entered: no link can be on the way.
        const QFileInfo info(path);
        if (info.isSymLink() || (info.exists() && !info.isDir()))
            return Fail(
                QCoreApplication::translate("OrinEdit", "ファイルとフォルダが同じ名前です: %1")
                    .arg(parts.join(u'/')));
        if (!info.exists() && !QDir().mkdir(path))
            return Fail(
                QCoreApplication::translate("OrinEdit", "フォルダを作れません: %1").arg(path));
    }
    return true;
}

bool CExtraction::WriteFile(archive *a, archive_entry *entry, const QStringList &parts)
{
    const QString path = m_root.absolutePath() + u'/' + parts.join(u'/');
    if (archive_entry_size_is_set(entry)) {
        const la_int64_t size = archive_entry_size(entry);
        if (size < 0 || size > m_limit - m_written)
            return Fail(
                QCoreApplication::translate("OrinEdit", "データが大きすぎます（上限 %1 バイト）")
                    .arg(m_limit));
    }
    QFile file(path);
    // A name given twice would overwrite what an earlier entry wrote.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return Fail(QCoreApplication::translate("OrinEdit", "ファイルを作れません: %1")
                        .arg(parts.join(u'/')));
    std::unique_ptr<char[]> buffer(new char[kBlockBytes]);
    for (;;) {
        const la_ssize_t got = archive_read_data(a, buffer.get(), size_t(kBlockBytes));
        if (got == 0)
            break;
        if (got < 0)
            return ArchiveFailure(a);
        if (got > m_limit - m_written)
            return Fail(
                QCoreApplication::translate("OrinEdit", "データが大きすぎます（上限 %1 バイト）")
                    .arg(m_limit));
        m_written += got;
        if (file.write(buffer.get(), got) != got)
            return Fail(QCoreApplication::translate("OrinEdit", "ファイルに書き込めません: %1")
                            .arg(parts.join(u'/')));
    }
    if (!file.flush())
        return Fail(QCoreApplication::translate("OrinEdit", "ファイルに書き込めません: %1")
                        .arg(parts.join(u'/')));
    return true;
}

bool CExtraction::Run(archive *a)
{
    int entries = 0;
    for (;;) {
        archive_entry *entry = nullptr;
        const int status = archive_read_next_header(a, &entry);
        if (status == ARCHIVE_EOF)
            return true;
        // Warnings too: a header that needed repair is not trusted.
        if (status != ARCHIVE_OK)
            return ArchiveFailure(a);
        if (++entries > kMaxEntries)
            return Fail(QCoreApplication::translate("OrinEdit", "項目が多すぎます"));
        const char *rawName = archive_entry_pathname(entry);
        QStringList parts;
        const QString bad = CheckName(rawName ? QByteArray(rawName) : QByteArray(), &parts);
        if (!bad.isEmpty())
            return Fail(bad);
        const QString shown = parts.join(u'/');
        if (archive_entry_hardlink(entry) || archive_entry_symlink(entry))
            return Fail(
                QCoreApplication::translate("OrinEdit", "リンクの項目があります: %1").arg(shown));
        if (archive_entry_sparse_count(entry) > 0)
            return Fail(
                QCoreApplication::translate("OrinEdit", "スパースファイルの項目があります: %1")
                    .arg(shown));
        switch (archive_entry_filetype(entry)) {
        case AE_IFDIR:
            if (!MakeFolders(parts, parts.size()))
                return false;
            break;
        case AE_IFREG:
            if (parts.isEmpty())
                return Fail(QCoreApplication::translate("OrinEdit", "名前のない項目があります"));
            if (!MakeFolders(parts, parts.size() - 1) || !WriteFile(a, entry, parts))
                return false;
            break;
        case AE_IFLNK:
            return Fail(
                QCoreApplication::translate("OrinEdit", "リンクの項目があります: %1").arg(shown));
        default:
            return Fail(QCoreApplication::translate(
                            "OrinEdit", "通常のファイルでもフォルダでもない項目があります: %1")
                            .arg(shown));
        }
    }
}

// The project files at the top level of the folder.
QStringList TopLevelProjects(const QString &folder)
{
    QStringList found;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &info : entries) {
        if (info.fileName().endsWith(QStringLiteral(".bjpx"), Qt::CaseInsensitive))
            found.append(info.absoluteFilePath());
    }
    return found;
}

} // namespace

bool ExtractServerContent(const QString &tarPath, const QString &destFolder, qint64 sizeLimit,
                          QString *bjpxPath, QString *error)
{
    if (bjpxPath)
        bjpxPath->clear();
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (destFolder.isEmpty())
        return fail(BadArchiveText()
                    + QCoreApplication::translate("OrinEdit", "展開先のフォルダがありません"));
    const QFileInfo destInfo(destFolder);
    const bool existed = destInfo.exists() || destInfo.isSymLink();
    if (existed) {
        if (destInfo.isSymLink() || !destInfo.isDir()
            || !QDir(destFolder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                                         | QDir::System))
            return fail(
                BadArchiveText()
                + QCoreApplication::translate("OrinEdit", "展開先のフォルダが空ではありません: %1")
                      .arg(destFolder));
    } else if (!QDir().mkpath(destFolder)) {
        return fail(
            BadArchiveText()
            + QCoreApplication::translate("OrinEdit", "フォルダを作れません: %1").arg(destFolder));
    }
    auto cleanUp = [&] {
        QDir folder(destFolder);
        if (existed) {
            const QFileInfoList entries = folder.entryInfoList(
                QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
            for (const QFileInfo &info : entries) {
                if (info.isDir() && !info.isSymLink())
                    QDir(info.absoluteFilePath()).removeRecursively();
                else
                    QFile::remove(info.absoluteFilePath());
            }
        } else {
            folder.removeRecursively();
        }
    };

    std::unique_ptr<archive, ArchiveCloser> reader(archive_read_new());
    if (!reader)
        return fail(BadArchiveText()
                    + QCoreApplication::translate("OrinEdit", "メモリが足りません"));
    // Plain tar only: no compression filter is enabled, so a compressed file is not recognised.
    archive_read_support_format_tar(reader.get());
    const QByteArray encodedPath = QFile::encodeName(tarPath);
    if (archive_read_open_filename(reader.get(), encodedPath.constData(), 10240) != ARCHIVE_OK) {
        const char *text = archive_error_string(reader.get());
        cleanUp();
        return fail(BadArchiveText()
                    + QCoreApplication::translate("OrinEdit", "アーカイブを開けません: %1")
                          .arg(text ? QString::fromLocal8Bit(text) : tarPath));
    }
    CExtraction extraction(destFolder, sizeLimit < 0 ? 0 : sizeLimit);
    if (!extraction.Run(reader.get())) {
        reader.reset();
        cleanUp();
        return fail(extraction.Error());
    }
    reader.reset();

    const QStringList projects = TopLevelProjects(destFolder);
    if (projects.size() != 1) {
        cleanUp();
        return fail(BadArchiveText()
                    + (projects.isEmpty()
                           ? QCoreApplication::translate(
                               "OrinEdit", "プロジェクトファイル（.bjpx）がありません")
                           : QCoreApplication::translate(
                               "OrinEdit", "プロジェクトファイル（.bjpx）が複数あります")));
    }
    if (bjpxPath)
        *bjpxPath = QDir::fromNativeSeparators(projects.first());
    if (error)
        error->clear();
    return true;
}

} // namespace orin
