// SPDX-License-Identifier: MIT
#pragma once

#include "images/load_services.h"
#include "model/content_model.h"
#include "model/project_reader.h"
#include "model/project_writer.h"
#include "page_fixtures.h"
#include "test_files.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QRegularExpression>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

// Content sets and archive readers for the transmission tests.

namespace orin::test {

// A small image of the format ("JPG", "PNG") in one colour.
inline QByteArray ImageBytes(const char *format, QRgb colour)
{
    QImage image(16, 9, QImage::Format_RGB32);
    image.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}

// A small content set whose files live in `folder`: two pages (one with an item), a background
// with a Japanese file name, a picture, a material, a text and a sound.
inline void MakeContent(CContentModel &model, ProgramSettings &settings, const QString &folder)
{
    const QDir dir(folder);
    WriteBytes(dir.filePath(QStringLiteral("背景.jpg")), ImageBytes("JPG", 0xff2040a0));
    WriteBytes(dir.filePath(QStringLiteral("pic.jpg")), ImageBytes("JPG", 0xffa04020));
    WriteBytes(dir.filePath(QStringLiteral("mat.png")), ImageBytes("PNG", 0xff00ff00));
    WriteBytes(dir.filePath(QStringLiteral("chime.aac")), QByteArray(3000, 'a'));
    model.ClearModel();
    for (int id : {1, 2}) {
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = id;
        page->comment = QStringLiteral("ページ%1").arg(id);
        page->background = dir.filePath(QStringLiteral("背景.jpg"));
        page->defitem = 1;
        if (id == 1) {
            PageItem &item = AddItem(*page, 1, 10, 20);
            item.pic_no = 1;
            item.text_no = 1;
            item.ret = QStringLiteral("P2");
        }
        model.pages.Add(std::move(page));
    }
    auto picture = std::make_unique<CMyPictureInfo>();
    picture->id = 1;
    picture->path = dir.filePath(QStringLiteral("pic.jpg"));
    picture->label = QStringLiteral("写真");
    model.pictures.Add(std::move(picture));
    auto material = std::make_unique<CMyPictureInfo>();
    material->id = 200;
    material->type = kImageColourMapPng;
    material->path = dir.filePath(QStringLiteral("mat.png"));
    model.materials.Add(std::move(material));
    auto text = std::make_unique<CMyTextInfo>();
    text->id = 1;
    text->text = QStringLiteral("お知らせ");
    text->label = QStringLiteral("見出し");
    model.texts.Add(std::move(text));
    auto sound = std::make_unique<CMySoundInfo>();
    sound->id = 1;
    sound->path = dir.filePath(QStringLiteral("chime.aac"));
    model.sounds.Add(std::move(sound));
    settings = ProgramSettings();
    settings.FileIDName = QStringLiteral("news");
}

// The model as a project text in which every file reference is replaced by the file's name
// and a digest of its bytes: two content sets with equal texts hold the same content, wherever
// their files are.
inline QString CanonicalText(const CContentModel &model, const ProgramSettings &settings)
{
    QString text = ComposeProject(model, SaveMode::Plain, QString(), settings);
    static const QRegularExpression absolute(QStringLiteral("(>|\")(/[^<\"]*)(<|\")"));
    QString out;
    qsizetype last = 0;
    auto it = absolute.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        const QString path = m.captured(2);
        out += text.mid(last, m.capturedStart(2) - last);
        out += QFileInfo(path).fileName() + u'#'
               + QString::number(qHash(ReadBytes(path)));
        last = m.capturedEnd(2);
    }
    out += text.mid(last);
    return out;
}

// The entries of a tar archive in order: name, type (file 'f', folder 'd', other '?') and
// bytes. Empty when the archive cannot be read.
struct TarEntry {
    QString name;
    char type = '?';
    QByteArray bytes;
};
inline QList<TarEntry> ReadTar(const QString &path)
{
    QList<TarEntry> entries;
    std::unique_ptr<archive, int (*)(archive *)> reader(archive_read_new(), archive_read_free);
    archive_read_support_format_tar(reader.get());
    if (archive_read_open_filename(reader.get(), QFile::encodeName(path).constData(), 10240)
        != ARCHIVE_OK)
        return entries;
    archive_entry *entry = nullptr;
    while (archive_read_next_header(reader.get(), &entry) == ARCHIVE_OK) {
        TarEntry e;
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
    const QList<TarEntry> entries = ReadTar(path);
    for (const TarEntry &e : entries) {
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
