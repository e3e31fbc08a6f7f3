// SPDX-License-Identifier: MIT
#include "actions/data_slimming.h"

#include "actions/action_strings.h"

#include <algorithm>

namespace orin {

namespace {

void MarkBothCases(const QString &action, ImageFlags &used)
{
    MarkImageReferences(action, u"p:", used);
    MarkImageReferences(action, u"P:", used);
}

// Removes every record of the table with that id and reports each removal.
void RemoveWithId(CMyDataArray<CMyPictureInfo> &table, int id, bool material,
                  QList<RemovedImage> &removed)
{
    for (int index = table.IndexOfId(id); index >= 0; index = table.IndexOfId(id)) {
        table.RemoveAt(index);
        removed.append({id, material});
    }
}

} // namespace

QList<RemovedImage> SlimUnusedImages(CContentModel &model)
{
    ImageFlags used{};
    for (const auto &page : model.pages) {
        const int count = std::clamp(page->itemCount, 0, kItemSlots);
        for (int slot = 0; slot < count; ++slot) {
            const PageItem &item = page->items[static_cast<size_t>(slot)];
            if (item.pic_no >= 1 && item.pic_no <= 255)
                used[static_cast<size_t>(item.pic_no)] = 1;
            for (const QString *action : {&item.focus, &item.outfocus, &item.ret, &item.up,
                                          &item.down, &item.left, &item.right})
                MarkBothCases(*action, used);
        }
    }
    for (const auto &macro : model.macros)
        MarkBothCases(macro->macro, used);

    QList<RemovedImage> removed;
    for (int id = 1; id <= 255; ++id) {
        if (used[static_cast<size_t>(id)])
            continue;
        RemoveWithId(model.pictures, id, false, removed);
        RemoveWithId(model.materials, id, true, removed);
    }
    return removed;
}

} // namespace orin
