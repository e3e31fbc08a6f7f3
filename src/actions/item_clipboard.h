// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QCoreApplication>
#include <QPointF>
#include <QString>

// The item clipboard: one item copied from a page and pasted into the shown page. It lives
// inside the running program only and keeps its item when another content set is opened; the
// frame owns it.

namespace orin {

// The three paste entries of the item menu.
enum class PasteMode {
    Full,           // "Paste(完全コピー)": the new item shares the picture and the text
    Text,           // "Paste(テキスト変更可)": the new item gets its own copy of the text
    PictureAndText, // "Paste(画像・テキスト変更可)": its own picture record and text
};

inline constexpr char16_t kCopyLabel[] = u"Copy";
inline constexpr char16_t kPasteFullLabel[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "Paste(完全コピー)");
inline constexpr char16_t kPasteTextLabel[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "Paste(テキスト変更可)");
inline constexpr char16_t kPastePictureTextLabel[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "Paste(画像・テキスト変更可)");

// Shown (caption "エラー") when the shown page already holds its 256 items.
inline constexpr char16_t kPageFullMessage[] = u"" QT_TRANSLATE_NOOP(
    "OrinEdit", "このページにはこれ以上アイテムを追加できません（1ページ256個まで）");

class CItemClipboard {
public:
    // Copies used slot `slot` of `page`, the page the operator sees. Nothing changes and false
    // is returned when there is no page or the slot is not a used one.
    bool CopyItem(const CMyProgramInfo *page, int slot);

    bool HasItem() const { return m_copiedSlot >= 0; }
    int CopiedSlot() const { return m_copiedSlot; }
    const PageItem &Item() const { return m_item; }
    // True when `page` is the page the item was copied from (the same record, wherever it
    // stands in the page table now; never a later record, also of another content set).
    bool IsSourcePage(const CMyProgramInfo *page) const
    {
        return page != nullptr && m_sourcePage != 0 && page->serial.Value() == m_sourcePage;
    }

private:
    int m_copiedSlot = -1;
    quint64 m_sourcePage = 0; // serial of the source page
    PageItem m_item;
};

enum class PasteStatus {
    Nothing,  // nothing copied or no page shown: no change, no message
    PageFull, // the page holds 256 items: no change; the caller shows kPageFullMessage
    Pasted,
};

struct PasteOutcome {
    PasteStatus status = PasteStatus::Nothing;
    int slot = -1;      // the new item's slot
    int newText = 0;    // id of the text record made for it, 0 when none
    int newPicture = 0; // id of the picture record made for it, 0 when none
};

// Pastes the clipboard's item into `page` (the shown page) as its last slot with the next item
// id. On the source page the item moves to `pagePoint` (page units, converted by the view whose
// menu was opened, truncated to whole numbers); elsewhere it keeps the copied position. The
// free slot is checked before any record is made.
PasteOutcome PasteItem(CContentModel &model, CMyProgramInfo *page,
                       const CItemClipboard &clipboard, PasteMode mode, QPointF pagePoint);

// Appends an empty text record with the next text id and returns the id; 0 (nothing added)
// when the text table holds 254 records or more.
int NewTextRecord(CContentModel &model);

// Appends an Empty picture record (" --- ") with the next picture id and returns the id; 0
// (nothing added) when the picture table holds 199 records or the next id would pass 199.
int NewPictureRecord(CContentModel &model);

} // namespace orin
