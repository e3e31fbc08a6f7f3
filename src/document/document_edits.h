// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QCoreApplication>
#include <QPointF>
#include <QString>

#include <optional>

// The operator's edits of pages, items, texts and images as undoable operations: each checks
// its target, changes the model through one command on the document's undo stack (one operator
// action, one step) and so sets the modified flag and refreshes the title. Nothing is pushed
// when nothing would change.

namespace orin {

class CDocument;
class CImageEdits;
class CItemClipboard;
class CPrompt;
enum class PasteMode;
struct TableValues;

inline constexpr char16_t kDeletePageQuestion[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "ページを削除しますか？");

// The values of the page property dialog. `next` is the timer's next page as the TimerMode
// shows it: the next row's page id (mode 0), `right` (mode 1) or `down` (mode 2).
struct PageProperties {
    int timer = 0;
    int next = 0;
    int marquee = 0;
    int marquee_speed = 0;
    int timer_ino = 0;
    int timer_item = 0;
    int defitem = 0;
    int curcol = 0;
    int back = 0;
};

// The property values of the page at `row` for the dialog; a default set for a row outside
// the table. With TimerMode 0 the next page is the next row's (the first page's for the last).
PageProperties PagePropertiesOf(const CContentModel &model, int row, int timerMode);

// `whole` with the content of the first section labelled `label` replaced by `content`; none
// when the string has no section with that label.
std::optional<QString> ReplaceSection(const QString &whole, int label, const QString &content);

class CDocumentEdits {
public:
    // Everything belongs to the caller and outlives this object.
    CDocumentEdits(CDocument &document, CContentModel &model, CPrompt &prompt,
                   CImageEdits &imageEdits);
    ~CDocumentEdits();

    // The document whose undo stack these edits go to.
    CDocument &Document() const { return m_document; }

    // --- pages ---
    // Asks "ページを削除しますか？" (caption "警告", Yes/No); on Yes deletes the page at `row`.
    bool AskDeletePage(int row);
    // A drag of the row `source` dropped before the row `target` (0..count): moves the page
    // there, or with `copy` inserts a duplicate with a new page id. Returns the row the page
    // (or its duplicate) now has, or -1 when nothing changed.
    int DropPageRow(int source, int target, bool copy);
    bool SetPageComment(int row, const QString &comment);
    // Stores the dialog's values; the next page goes into `right` (TimerMode 1), `down`
    // (TimerMode 2) or nowhere (TimerMode 0).
    bool SetPageProperties(int row, const PageProperties &values, int timerMode);
    // Renumbers the pages 1, 2, ... with every reference following.
    bool RenumberPages();

    // --- items and texts ---
    // The item property dialog: the slot `slot` of the page at `row` becomes `item`.
    bool SetItem(int row, int slot, const PageItem &item);
    // The `ret` string of that slot of the page with id `pageId`, when it differs.
    bool UpdateItemReturn(int pageId, int slot, const QString &text);
    // The page's timer_item, when it differs.
    bool UpdateItemTimer(int pageId, int seconds);
    // The action dialog's result as one step: `ret` of the slot and, when the timer field was
    // shown, the page's timer_item.
    bool UpdateItemAction(int pageId, int slot, const QString &ret,
                          std::optional<int> timerItem);
    // textId not 0: the text record's text (changed flag 1); 0: the item's own text on the
    // page. Only when the text differs.
    bool UpdateText(int textId, int pageId, int itemId, const QString &text);
    // In the text record `textId`, the content of the first section whose marker "[#n]" carries
    // `label` becomes `text`; the marker and the other sections stay. Nothing for a text without
    // "[#", without that label, or when the content is the same. `pageId` is the shown page.
    bool UpdateTextSection(int textId, int label, const QString &text, int pageId = 0);

    // --- images (the rules and messages of CImageEdits, made undoable) ---
    bool SetPageBackground(int row);
    bool SetPageBackgroundFrom(int row, const QString &path);
    int ReplaceImage(int id, const QString &path);
    int ChangeItemImage(int id, int itemWidth, int itemHeight);
    int AddPicture(const QString &path, int type);
    int AddMaterial(const QString &path, int type);
    int AddDroppedImage(const QString &path);

    // --- merge and paste ---
    // Text dropped on the page list from outside (the page copy document); one step.
    bool DropPages(int modeAction, const std::optional<QString> &text, int defTimer);
    // The item paste into the page at `row`; one step.
    bool PasteItem(int row, const CItemClipboard &clipboard, PasteMode mode, QPointF pagePoint);

private:
    bool PushPage(int row, const CMyProgramInfo &before, const QString &text);
    int PushImageTables(int result, const TableValues &before, const QString &text);

    CDocument &m_document;
    CContentModel &m_model;
    CPrompt &m_prompt;
    CImageEdits &m_imageEdits;
};

} // namespace orin
