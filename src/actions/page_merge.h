// SPDX-License-Identifier: MIT
#pragma once

#include "actions/action_strings.h"
#include "model/content_model.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// The page merge: a copy document dropped on the page list adds its pages and the records they
// use to the open content set. Every incoming record and page gets a new id in the target's
// tables, and every number in the incoming pages and macros that names an old id is rewritten
// through the id map of its kind. Images that the target already holds (same path) are reused.

namespace orin {

// Shown with the caption "エラー" when the incoming images do not fit their table.
inline constexpr char16_t kPictureTableFullMessage[] = u"" QT_TRANSLATE_NOOP(
    "OrinEdit", "画像テーブルに空きがないため、ページを追加できません（画像IDは199まで）");
inline constexpr char16_t kMaterialTableFullMessage[] = u"" QT_TRANSLATE_NOOP(
    "OrinEdit", "素材テーブルに空きがないため、ページを追加できません（素材IDは255まで）");
// Shown with the caption "エラー" when the copy document ends early or holds markup that cannot
// be read (or a page with more items than a page can hold).
inline constexpr char16_t kCopyDocumentDamagedMessage[] = u"" QT_TRANSLATE_NOOP(
    "OrinEdit", "コピーデータが壊れているため、ページを追加できません");
// Shown with the caption "エラー" when a table has no id left above its largest one.
inline constexpr char16_t kIdsExhaustedMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "IDの上限に達したため、ページを追加できません");

// Pairs of (old id, new id) in the order they were made; lookups take the first match. Filled
// through Add only, which keeps the lists and the lookup together.
struct IdMap {
    QList<int> oldIds;
    QList<int> newIds;
    CIdLookup lookup;

    void Add(int oldId, int newId)
    {
        oldIds.append(oldId);
        newIds.append(newId);
        lookup.Add(oldId, newId);
    }
    // The new id of the first pair with that old id, or `id` itself.
    int Map(int id) const;
};

struct MergeOptions {
    int defTimer = 0;      // the timer of every merged page (DefTimer of the settings)
    QString projectFolder; // resolves "./" references of the page blocks
};

enum class MergeStatus {
    Merged,
    NoDocument,    // no root element could be indexed: nothing changed
    PicturesFull,  // refused, nothing changed
    MaterialsFull, // refused, nothing changed
    IdsExhausted,  // refused, nothing changed
    Damaged,       // the document ends early or its markup is broken: refused, nothing changed
};

struct MergeResult {
    MergeStatus status = MergeStatus::NoDocument;
    IdMap images;
    IdMap texts;
    IdMap macros;
    IdMap pages;
    int imageElements = 0; // ItemImage elements met (reused or added)
    // Records appended at the end of each table, in this order of tables.
    int addedPictures = 0;
    int addedMaterials = 0;
    int addedTexts = 0;
    int addedMacros = 0;
    int addedPages = 0;

    bool Changed() const { return status == MergeStatus::Merged; }
    // The refusal text for the operator ("" unless refused).
    QString Message() const;
};

// A page id that the preview reserves (guide, video, other-channel and web screens).
bool IsReservedPageId(qint64 id);

// The id for a new page: 1 + the largest page id, skipping the reserved ids; 0 when int has no
// id left.
int NextFreePageId(const CContentModel &model);

// Merges the copy document `text` into the model, all or nothing: when the document is damaged
// (cut short, broken markup inside its root, a page with too many items), the incoming images
// do not fit their tables, or a table has no id left, nothing changes and the status says why.
// Image paths are measured only when they name regular files. The modified flag and the size
// pane are the caller's.
MergeResult MergeCopyDocument(CContentModel &model, const QString &text,
                              const MergeOptions &options);

} // namespace orin
