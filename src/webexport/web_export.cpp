// SPDX-License-Identifier: MIT
#include "webexport/web_export.h"

#include "images/display_copy.h"
#include "webexport/web_content.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <optional>

namespace orin {

namespace {

// A file the content set names is copied only when it is a plain file of at most this size:
// a project that names a device or a huge file must not fill the disk.
constexpr qint64 kMaxCopiedFile = 256LL * 1024 * 1024;

const QString kPlaceholderFile = QStringLiteral("images/missing.png");

bool IsCopyable(const QString &path)
{
    // Links are followed; a device, a folder or a missing file is not copied.
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        return false;
    const QFileInfo info(target);
    return info.isFile() && info.size() <= kMaxCopiedFile;
}

// The file name ending of a decoded picture, by its content (not by the name it had).
QString ImageEnding(const QString &path)
{
    const QByteArray format = QImageReader::imageFormat(path);
    if (format == "jpeg" || format == "jpg")
        return QStringLiteral(".jpg");
    if (format == "png" || format == "gif" || format == "bmp" || format == "webp")
        return u'.' + QString::fromLatin1(format);
    return QStringLiteral(".img");
}

// The file ending of a sound by its first bytes; empty when it is no sound file the player
// knows, so that a project cannot make the export publish some other file.
QString SoundEnding(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(12);
    if (head.size() < 4)
        return {};
    if (head.startsWith("ID3"))
        return QStringLiteral(".mp3");
    if (head.startsWith("OggS"))
        return QStringLiteral(".ogg");
    if (head.startsWith("RIFF") && head.mid(8, 4) == "WAVE")
        return QStringLiteral(".wav");
    if (head.mid(4, 4) == "ftyp")
        return QStringLiteral(".m4a");
    const auto b0 = quint8(head[0]);
    const auto b1 = quint8(head[1]);
    if (b0 == 0xFF && (b1 & 0xF6) == 0xF0)
        return QStringLiteral(".aac"); // ADTS
    if (b0 == 0xFF && (b1 & 0xE0) == 0xE0)
        return QStringLiteral(".mp3"); // MPEG audio frame
    return {};
}

class CExporter {
public:
    CExporter(const WebExportInput &input, QString root, QString work)
        : m_in(input), m_root(std::move(root)), m_work(std::move(work))
    {
    }

    // False with m_error set when a file cannot be written.
    bool Run()
    {
        if (!WritePlayer())
            return false;
        const CContentModel &model = m_in.model;
        for (int i = 0; i < model.pages.Count(); ++i) {
            std::optional<ExportedFile> background = Background(*model.pages.At(i));
            if (!background)
                return false;
            m_files.backgrounds.push_back(*background);
        }
        if (!Pictures(model.pictures, QStringLiteral("picture"), m_files.pictures)
            || !Pictures(model.materials, QStringLiteral("material"), m_files.materials))
            return false;
        for (int i = 0; i < model.sounds.Count(); ++i) {
            std::optional<ExportedFile> sound = Sound(*model.sounds.At(i));
            if (!sound)
                return false;
            m_files.sounds.push_back(*sound);
        }
        for (const auto &[name, image] : m_in.screens) {
            const QString file = QStringLiteral("screens/") + name + QStringLiteral(".png");
            if (!SaveImage(image, file))
                return false;
            m_files.screens[name] = file;
        }
        return WriteFile(QStringLiteral("content.js"),
                         ContentScript(model, m_in.settings, m_in.map, m_files));
    }

    QString m_error;
    QStringList m_warnings;

private:
    bool WritePlayer()
    {
        for (const QString &name : PlayerFiles()) {
            QFile source(QStringLiteral(":/web/") + name);
            if (!source.open(QIODevice::ReadOnly)) {
                m_error = QStringLiteral("the player file %1 is missing from the program").arg(name);
                return false;
            }
            if (!WriteFile(name, source.readAll()))
                return false;
        }
        return true;
    }

    bool MakeFolderFor(const QString &relative)
    {
        const QString folder = QFileInfo(m_root + u'/' + relative).absolutePath();
        if (QDir().mkpath(folder))
            return true;
        m_error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }

    bool WriteFile(const QString &relative, const QByteArray &bytes)
    {
        if (!MakeFolderFor(relative))
            return false;
        QFile file(m_root + u'/' + relative);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
            m_error = QStringLiteral("cannot write %1: %2").arg(relative, file.errorString());
            return false;
        }
        return true;
    }

    bool CopyFile(const QString &source, const QString &relative)
    {
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly)) {
            m_error = QStringLiteral("cannot read %1").arg(source);
            return false;
        }
        return WriteFile(relative, in.read(kMaxCopiedFile));
    }

    bool SaveImage(const QImage &image, const QString &relative)
    {
        if (!MakeFolderFor(relative))
            return false;
        if (!image.save(m_root + u'/' + relative, "PNG")) {
            m_error = QStringLiteral("cannot write %1").arg(relative);
            return false;
        }
        return true;
    }

    // The placeholder picture the editor draws for a file it cannot read, written once.
    std::optional<ExportedFile> Placeholder(const QString &what, const QString &path)
    {
        m_warnings << QStringLiteral("%1: cannot read %2; the placeholder picture stands in for it")
                          .arg(what, path);
        if (!m_placeholderWritten) {
            if (!SaveImage(PlaceholderPicture(), kPlaceholderFile))
                return std::nullopt;
            m_placeholderWritten = true;
        }
        return ExportedFile{kPlaceholderFile, true};
    }

    std::optional<ExportedFile> Background(const CMyProgramInfo &page)
    {
        if (page.background.isEmpty())
            return ExportedFile();
        const QString what = QStringLiteral("page %1 background").arg(page.id);
        if (const auto done = m_backgrounds.find(page.background); done != m_backgrounds.end()) {
            if (done->second.missing)
                return Placeholder(what, page.background);
            return done->second;
        }
        const bool vertical = m_in.settings.Vertical == 1;
        std::unique_ptr<CDisplayCopy> copy;
        if (IsCopyable(page.background))
            copy = MakeBackgroundCopy(page.background, vertical, m_work);
        std::optional<ExportedFile> result;
        if (!copy || copy->IsPlaceholder()) {
            result = Placeholder(what, page.background);
        } else {
            const QString base = QStringLiteral("backgrounds/b%1").arg(m_backgrounds.size() + 1);
            const QSize stored = QImageReader(copy->CopyPath()).size();
            const bool turned = stored.isValid() && stored != copy->Image().size();
            // A picture turned upright for a portrait screen is written as the editor shows it.
            const QString file = turned ? base + QStringLiteral(".png")
                                        : base + ImageEnding(copy->CopyPath());
            if (turned ? !SaveImage(copy->Image(), file) : !CopyFile(copy->CopyPath(), file))
                return std::nullopt;
            result = ExportedFile{file, false};
        }
        if (result)
            m_backgrounds[page.background] = *result;
        return result;
    }

    bool Pictures(const CMyDataArray<CMyPictureInfo> &table, const QString &kind,
                  std::vector<ExportedFile> &files)
    {
        for (int i = 0; i < table.Count(); ++i) {
            const CMyPictureInfo &record = *table.At(i);
            std::optional<ExportedFile> file = Picture(record, kind);
            if (!file)
                return false;
            files.push_back(*file);
        }
        return true;
    }

    std::optional<ExportedFile> Picture(const CMyPictureInfo &record, const QString &kind)
    {
        if (record.path.isEmpty())
            return ExportedFile();
        const QString what = QStringLiteral("%1 %2").arg(kind).arg(record.id);
        std::unique_ptr<CDisplayCopy> copy;
        if (IsCopyable(record.path))
            copy = MakeDisplayCopy(record, m_in.map, m_work);
        if (!copy || copy->IsPlaceholder())
            return Placeholder(what, record.path);
        // The display copy is what the editor shows: a colour-map PNG with the colour map
        // inserted as its palette, any other picture byte for byte.
        const QString file = QStringLiteral("images/i%1").arg(++m_imageCount)
                             + ImageEnding(copy->CopyPath());
        if (!CopyFile(copy->CopyPath(), file))
            return std::nullopt;
        return ExportedFile{file, false};
    }

    std::optional<ExportedFile> Sound(const CMySoundInfo &record)
    {
        if (record.path.isEmpty())
            return ExportedFile();
        const QString ending = IsCopyable(record.path) ? SoundEnding(record.path) : QString();
        if (ending.isEmpty()) {
            m_warnings << QStringLiteral("sound %1: cannot read %2 as a sound file")
                              .arg(record.id)
                              .arg(record.path);
            return ExportedFile{QString(), true};
        }
        const QString file = QStringLiteral("sounds/s%1").arg(++m_soundCount) + ending;
        if (!CopyFile(record.path, file))
            return std::nullopt;
        return ExportedFile{file, false};
    }

    const WebExportInput &m_in;
    QString m_root;
    QString m_work;
    ExportedFiles m_files;
    std::map<QString, ExportedFile> m_backgrounds;
    bool m_placeholderWritten = false;
    int m_imageCount = 0;
    int m_soundCount = 0;
};

bool IsEmptyFolder(const QString &path)
{
    return QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

QStringList PlayerFiles()
{
    QStringList files;
    QDirIterator it(QStringLiteral(":/web"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next().mid(6); // after ":/web/"
    files.sort();
    return files;
}

WebExportResult ExportForWeb(const WebExportInput &input, const QString &outDirIn)
{
    WebExportResult result;
    const QFileInfo out(QDir::cleanPath(QFileInfo(outDirIn).absoluteFilePath()));
    const QString outDir = out.absoluteFilePath();
    const bool exists = out.exists() || out.isSymLink();
    if (exists && (out.isSymLink() || !out.isDir() || !IsEmptyFolder(outDir))) {
        result.error = QStringLiteral("%1 is not an empty folder; nothing written").arg(outDir);
        return result;
    }
    const QString parent = out.absolutePath();
    if (!QFileInfo(parent).isDir()) {
        result.error = QStringLiteral("the folder %1 does not exist; nothing written").arg(parent);
        return result;
    }
    QTemporaryDir staging(parent + QStringLiteral("/.") + out.fileName() + QStringLiteral("-XXXXXX"));
    QTemporaryDir work;
    if (!staging.isValid() || !work.isValid()) {
        result.error = QStringLiteral("cannot create a folder in %1; nothing written").arg(parent);
        return result;
    }
    CExporter exporter(input, staging.path(), work.path());
    if (!exporter.Run()) {
        result.error = exporter.m_error + QStringLiteral("; nothing written");
        return result;
    }
    // A temporary folder is private to its owner; the player is for anyone who may read the
    // parent folder, as a folder made there would be.
    QFile::setPermissions(staging.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                              | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                              | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                              | QFileDevice::ExeOther);
    // rename() replaces an empty folder in one step; a folder that gained files meanwhile
    // makes it fail, and the staging folder goes.
    if (std::rename(QFile::encodeName(staging.path()).constData(),
                    QFile::encodeName(outDir).constData())
        != 0) {
        result.error = QStringLiteral("cannot move the player into %1; nothing written").arg(outDir);
        return result;
    }
    staging.setAutoRemove(false);
    result.ok = true;
    result.warnings = exporter.m_warnings;
    return result;
}

} // namespace orin
