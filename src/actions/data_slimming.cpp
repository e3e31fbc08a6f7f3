// SPDX-License-Identifier: MIT
#include "actions/data_slimming.h"

#include "actions/action_effects.h"
#include "actions/action_strings.h"
#include "actions/navigation_analysis.h"

#include <algorithm>
#include <vector>

namespace orin {

namespace {

void MarkBothCases(const QString &action, ImageFlags &used)
{
    MarkImageReferences(action, u"p:", used);
    MarkImageReferences(action, u"P:", used);
}

// Marks every image the string shows when it runs, read as the preview and the navigation check
// read it: an entry's second character is its separator whatever it is, so "P,4:0" and "P*4:0"
// show picture 4 as "P:4:0" does.
void MarkShownImages(QStringView action, int kind, std::vector<ActionEffect> &effects,
                     ImageFlags &used)
{
    ActionEffects(action, kind, effects);
    for (const ActionEffect &effect : effects) {
        if (effect.kind == EffectKind::ImageRef && effect.target >= 1 && effect.target <= 255)
            used[static_cast<size_t>(effect.target)] = 1;
    }
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
    std::vector<ActionEffect> effects;
    for (const auto &page : model.pages) {
        const int count = std::clamp(page->itemCount, 0, kItemSlots);
        for (int slot = 0; slot < count; ++slot) {
            const PageItem &item = page->items[static_cast<size_t>(slot)];
            if (item.pic_no >= 1 && item.pic_no <= 255)
                used[static_cast<size_t>(item.pic_no)] = 1;
            for (const QString *action : {&item.focus, &item.outfocus, &item.ret, &item.up,
                                          &item.down, &item.left, &item.right}) {
                MarkBothCases(*action, used);
                // ret runs in page context (a plain number shows a page), the others in focus
                // context.
                MarkShownImages(*action, action == &item.ret ? 0 : 1, effects, used);
            }
        }
    }
    for (const auto &macro : model.macros) {
        MarkBothCases(macro->macro, used);
        // A macro runs section by section, or as a whole when it is run without a section.
        MarkShownImages(macro->macro, 1, effects, used);
        for (const QString &section : MacroSections(macro->macro))
            MarkShownImages(section, 1, effects, used);
    }

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
