// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>

// Where a text edited on the canvas goes. The canvas records its target when the edit starts
// (the page record, the item and where the item's text came from), so that the text lands on
// that item even when a timer, a key or the page list has shown another page since.

namespace orin {

class CContentModel;
class CDocumentEdits;

// How a double-click (or the item menu's text entry) edits the text of an item.
enum class TextEditRoute {
    InPlace,     // typed on the canvas over the item
    GroupDialog, // the text dialog on the whole text record, "グループテキスト編集"
    ItemDialog,  // the text dialog on the item's displayed text, "テキスト編集"
};

inline constexpr char16_t kGroupTextCaption[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "グループテキスト編集");
inline constexpr char16_t kItemTextCaption[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "テキスト編集");

// By the item's text state (0 own text, 1 a text record without sections, 2 a group text,
// 3 a text record with sections, 4 a section chosen by the I command) and Shift.
TextEditRoute RouteTextEdit(int textState, bool shift);

// The item whose text is edited, taken when the edit starts.
struct TextEditTarget {
    quint64 pageSerial = 0; // the page record shown then (0: none)
    int itemId = 0;
    int textState = 0;
    int textSource = 0;  // the text record the item showed (0: its own text)
    int textSection = 0; // the label the I command used (text state 4)
};

// What a text typed in place is written to.
enum class TextWriteKind {
    Nothing,          // a sectioned text record shown whole is edited in the dialog only
    Text,             // UpdateText(textId, page, item): a record, or the item's own text (0)
    SectionOfItem,    // UpdateTextSection(textId, item id): the page's group text
    SectionByLabel,   // UpdateTextSection(textId, label): the section the I command chose
};

struct TextWriteBack {
    TextWriteKind kind = TextWriteKind::Nothing;
    int textId = 0;
    int label = 0;
};

// The write-back of a text typed in place for `target` in `model`. A group text without any
// section shows the item's own text, so the typed text goes there (text id 0).
TextWriteBack InPlaceWriteBack(const CContentModel &model, const TextEditTarget &target);

// Writes a text typed in place to its target through the edit operations (one undo step, or
// none when nothing changes). Nothing when the target's page is no longer in the table.
bool CommitTypedText(CDocumentEdits &edits, const CContentModel &model,
                     const TextEditTarget &target, const QString &text);

// The text dialog's "更新" with the text id the dialog was opened with (0: the text that the
// item showed, its record or its own text). Nothing when the target's page is gone.
bool CommitDialogText(CDocumentEdits &edits, const CContentModel &model,
                      const TextEditTarget &target, int textId, const QString &text);

// True while what the text dialog was opened on (with `textId`, as for CommitDialogText) is
// still there: the page record, and the text record it writes to, or else the item on that page.
bool DialogTargetExists(const CContentModel &model, const TextEditTarget &target, int textId);

// The id of the page record with that serial, or 0 when it is gone.
int PageIdOfSerial(const CContentModel &model, quint64 serial);

} // namespace orin
