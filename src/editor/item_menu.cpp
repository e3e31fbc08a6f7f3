// SPDX-License-Identifier: MIT
#include "editor/item_menu.h"

#include "preview/page_renderer.h"
#include "preview/preview_engine.h"

#include <QCoreApplication>

namespace orin {

namespace {

// Only these two marks go with the image and action entries.
QString CursorOrHiddenMark(int idg)
{
    return idg == 1 || idg == 4 ? KindMark(idg) : QString();
}

QString TypeName(int type)
{
    switch (type) {
    case kImageJpeg: return QStringLiteral("JPEG");
    case kImageColourMapPng: return QStringLiteral("APNG");
    case kImageEmpty: return QStringLiteral("---");
    case kImageGeneralPng: return QStringLiteral("PNG");
    case kImageGif: return QStringLiteral("GIF");
    default: return QString();
    }
}

} // namespace

QString KindMark(int idg)
{
    switch (idg) {
    case 1: return QCoreApplication::translate("OrinEdit", "- カーソル専用");
    case 2: return QCoreApplication::translate("OrinEdit", "- テキスト専用");
    case 3: return QCoreApplication::translate("OrinEdit", "- テキストセンタリング");
    case 4: return QCoreApplication::translate("OrinEdit", "- 非表示");
    case 5: return QCoreApplication::translate("OrinEdit", "- テキスト専用24");
    case 6: return QCoreApplication::translate("OrinEdit", "- テキスト専用28");
    case 7: return QCoreApplication::translate("OrinEdit", "- テキスト専用32");
    default: return QString();
    }
}

std::vector<int> ItemsAt(const CPreviewEngine &engine, QPointF pagePoint)
{
    std::vector<int> found;
    const std::vector<DisplayItem> &items = engine.Items();
    for (int i = 0; i < int(items.size()); ++i) {
        const PageItem &item = items[size_t(i)].item;
        if (item.x <= pagePoint.x() && pagePoint.x() <= item.x + item.width
            && item.y <= pagePoint.y() && pagePoint.y() <= item.y + item.height)
            found.push_back(i);
    }
    return found;
}

QString TextEntryLabel(const CContentModel &model, const CPreviewEngine &engine, int index)
{
    const PageItem &item = engine.Items()[size_t(index)].item;
    const int state = engine.TextState(item.id);
    const QString head = QCoreApplication::translate("OrinEdit", "アイテム%1 - テキスト %2")
                             .arg(item.id)
                             .arg(KindMark(item.idg));
    if (state == 0)
        return head;
    const int source = engine.TextSource(item.id);
    QString note;
    if (const CMyTextInfo *record = model.texts.FindById(source)) {
        note = state == 1
                   ? QCoreApplication::translate("OrinEdit", " テキストID:%1, ラベル:%2")
                         .arg(source)
                         .arg(record->label)
                   : QCoreApplication::translate("OrinEdit", " グループテキストID:%1, ラベル:%2 ")
                         .arg(source)
                         .arg(record->label);
    }
    return head + u' ' + note;
}

QString ImageEntryLabel(const CContentModel &model, const CPreviewEngine &engine, int index)
{
    const PageItem &item = engine.Items()[size_t(index)].item;
    QString note;
    const int picture = engine.PictureNumber(item.id);
    if (item.pic_no != 0) {
        if (const CMyPictureInfo *record = model.FindImage(picture)) {
            const QString size = record->type == kImageEmpty
                                     ? QStringLiteral("(%1×%2)")
                                           .arg(int(item.width) * 2)
                                           .arg(int(item.height) * 2)
                                     : record->sizeText;
            note = QCoreApplication::translate("OrinEdit",
                                               " 画像ID:%1, サイズ:%2, タイプ:%3, ラベル:%4")
                       .arg(picture)
                       .arg(size, TypeName(record->type), record->label);
        }
    }
    return QCoreApplication::translate("OrinEdit", "アイテム%1 - イメージ %2 %3")
        .arg(item.id)
        .arg(CursorOrHiddenMark(item.idg), note);
}

std::vector<ItemMenuEntry> ItemMenuEntries(const CContentModel &model,
                                           const CPreviewEngine &engine,
                                           const CPageRenderer &renderer,
                                           const ItemMenuContext &context, QPointF pagePoint)
{
    std::vector<ItemMenuEntry> entries;
    const std::vector<int> under = ItemsAt(engine, pagePoint);
    const std::vector<DisplayItem> &items = engine.Items();

    for (const int i : under) {
        const PageItem &item = items[size_t(i)].item;
        if (renderer.TextEditable(engine.TextSource(item.id)))
            entries.push_back({itemcmd::kText + i, TextEntryLabel(model, engine, i)});
    }
    bool separated = false;
    for (const int i : under) {
        const PageItem &item = items[size_t(i)].item;
        if (!renderer.PictureEditable(engine.PictureNumber(item.id)))
            continue;
        if (!separated && !entries.empty())
            entries.push_back({});
        separated = true;
        entries.push_back({itemcmd::kImage + i, ImageEntryLabel(model, engine, i)});
    }
    if (context.modeAction != 0 && !under.empty()) {
        if (!entries.empty())
            entries.push_back({});
        for (const int i : under) {
            const PageItem &item = items[size_t(i)].item;
            entries.push_back({itemcmd::kAction + i,
                               QCoreApplication::translate("OrinEdit", "アイテム%1 - アクション %2")
                                   .arg(item.id)
                                   .arg(CursorOrHiddenMark(item.idg))});
        }
    }
    // Changing the page's items is not for the restricted modes; pasting needs a shown page.
    if (context.modeAction != 0 && context.modeAccess != 2 && context.pageShown) {
        std::vector<ItemMenuEntry> structure;
        if (!under.empty()) {
            structure.push_back({itemcmd::kItemProperties,
                                 QCoreApplication::translate("OrinEdit", "アイテム属性...")});
            structure.push_back({itemcmd::kCopy, QStringLiteral("Copy")});
        }
        if (context.canPaste) {
            structure.push_back({itemcmd::kPasteFull,
                                 QCoreApplication::translate("OrinEdit", "Paste(完全コピー)")});
            structure.push_back({itemcmd::kPasteText,
                                 QCoreApplication::translate("OrinEdit", "Paste(テキスト変更可)")});
            structure.push_back(
                {itemcmd::kPastePictureText,
                 QCoreApplication::translate("OrinEdit", "Paste(画像・テキスト変更可)")});
        }
        if (!structure.empty() && !entries.empty())
            entries.push_back({});
        entries.insert(entries.end(), structure.begin(), structure.end());
    }
    return entries;
}

} // namespace orin
