// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Small content sets written as text, one record a line, for the tables of navigation tests:
//   settings TimerMode=1 ExPNG=1
//   page 1 defitem=1 blue=2 timer=5
//   item 1 ret=G:2 down=2 idg=2 x=40     (an item of the page above; strings default to "0")
//   macro 3 G:4                          (the rest of the line is the macro)
//   text 5 [#1]a[#2]b
//   image 200                            (a material; ids below 200 are pictures)
// Values contain no blanks; unknown keys make the fixture fail loudly (qFatal).

namespace orin::test {

inline void SetPageValue(CMyProgramInfo &page, const QString &key, int value)
{
    int *const fields[] = {&page.defitem, &page.tvitem, &page.clock, &page.marquee,
                           &page.marquee_speed, &page.timer, &page.timer_item, &page.timer_ino,
                           &page.textid, &page.return_, &page.back, &page.data, &page.up,
                           &page.down, &page.left, &page.right, &page.blue, &page.red,
                           &page.green, &page.yellow, &page.memory, &page.cursor, &page.smacro};
    static const QStringList names = {
        QStringLiteral("defitem"), QStringLiteral("tvitem"), QStringLiteral("clock"),
        QStringLiteral("marquee"), QStringLiteral("marquee_speed"), QStringLiteral("timer"),
        QStringLiteral("timer_item"), QStringLiteral("timer_ino"), QStringLiteral("textid"),
        QStringLiteral("return"), QStringLiteral("back"), QStringLiteral("data"),
        QStringLiteral("up"), QStringLiteral("down"), QStringLiteral("left"),
        QStringLiteral("right"), QStringLiteral("blue"), QStringLiteral("red"),
        QStringLiteral("green"), QStringLiteral("yellow"), QStringLiteral("memory"),
        QStringLiteral("cursor"), QStringLiteral("smacro")};
    const qsizetype at = names.indexOf(key);
    if (at < 0)
        qFatal("unknown page key %s", qPrintable(key));
    *fields[at] = value;
}

inline void SetItemValue(PageItem &item, const QString &key, const QString &value)
{
    QString *const strings[] = {&item.ret, &item.up, &item.down, &item.left, &item.right,
                                &item.focus, &item.outfocus, &item.text};
    static const QStringList stringNames = {
        QStringLiteral("ret"), QStringLiteral("up"), QStringLiteral("down"),
        QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("focus"),
        QStringLiteral("outfocus"), QStringLiteral("text")};
    if (const qsizetype at = stringNames.indexOf(key); at >= 0) {
        *strings[at] = value;
        return;
    }
    float *const geometry[] = {&item.x, &item.y, &item.width, &item.height};
    static const QStringList geometryNames = {QStringLiteral("x"), QStringLiteral("y"),
                                              QStringLiteral("width"), QStringLiteral("height")};
    if (const qsizetype at = geometryNames.indexOf(key); at >= 0) {
        *geometry[at] = value.toFloat();
        return;
    }
    int *const numbers[] = {&item.idg, &item.pic_no, &item.text_no};
    static const QStringList numberNames = {QStringLiteral("idg"), QStringLiteral("pic_no"),
                                            QStringLiteral("text_no")};
    const qsizetype at = numberNames.indexOf(key);
    if (at < 0)
        qFatal("unknown item key %s", qPrintable(key));
    *numbers[at] = value.toInt();
}

// Fills `model` and `settings` from the fixture text.
inline void BuildContent(const QString &fixture, CContentModel &model, ProgramSettings &settings)
{
    CMyProgramInfo *page = nullptr;
    const QStringList lines = fixture.split(u'\n', Qt::SkipEmptyParts);
    for (const QString &rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty())
            continue;
        const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        const QString kind = words.at(0);
        auto pairs = [&](const std::function<void(const QString &, const QString &)> &set) {
            for (qsizetype i = kind == u"settings" ? 1 : 2; i < words.size(); ++i) {
                const qsizetype eq = words.at(i).indexOf(u'=');
                set(words.at(i).left(eq), words.at(i).mid(eq + 1));
            }
        };
        const int id = words.size() > 1 ? words.at(1).toInt() : 0;
        if (kind == u"settings") {
            pairs([&](const QString &key, const QString &value) {
                if (key == u"TimerMode")
                    settings.TimerMode = value.toInt();
                else if (key == u"ExPNG")
                    settings.ExPNG = value.toInt();
                else
                    qFatal("unknown setting %s", qPrintable(key));
            });
        } else if (kind == u"page") {
            auto record = std::make_unique<CMyProgramInfo>();
            record->id = id;
            record->curcol = 3;
            record->backcol = kNoColour;
            page = record.get();
            model.pages.Add(std::move(record));
            pairs([&](const QString &key, const QString &value) {
                SetPageValue(*page, key, value.toInt());
            });
        } else if (kind == u"item") {
            if (!page)
                qFatal("item before any page");
            PageItem &item = page->items[size_t(page->itemCount++)];
            item.id = id;
            item.x = float(10 * page->itemCount);
            item.y = 10;
            item.width = 100;
            item.height = 40;
            item.focus = item.outfocus = item.ret = QStringLiteral("0");
            item.up = item.down = item.left = item.right = QStringLiteral("0");
            item.bcolor = kNoColour;
            pairs([&](const QString &key, const QString &value) { SetItemValue(item, key, value); });
        } else if (kind == u"macro") {
            auto record = std::make_unique<CMyMacroInfo>();
            record->id = id;
            record->macro = words.mid(2).join(u' ');
            model.macros.Add(std::move(record));
        } else if (kind == u"text") {
            auto record = std::make_unique<CMyTextInfo>();
            record->id = id;
            record->text = words.mid(2).join(u' ');
            model.texts.Add(std::move(record));
        } else if (kind == u"image") {
            auto record = std::make_unique<CMyPictureInfo>();
            record->id = id;
            record->type = id >= 200 ? kImageGeneralPng : kImageJpeg;
            (id >= 200 ? model.materials : model.pictures).Add(std::move(record));
        } else {
            qFatal("unknown fixture line %s", qPrintable(line));
        }
    }
}

} // namespace orin::test
