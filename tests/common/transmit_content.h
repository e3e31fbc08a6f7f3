// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"
#include "model/project_writer.h"
#include "page_fixtures.h"
#include "test_files.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

#include <memory>

// A small content set on real files, and a comparison of content sets that ignores where their
// files are.

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

} // namespace orin::test
