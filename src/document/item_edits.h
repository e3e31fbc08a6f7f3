// SPDX-License-Identifier: MIT
#pragma once

#include "document/item_align.h"
#include "model/content_model.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <vector>

// The design surface's edits of a page's item slots as undoable operations: adding, creating,
// deleting, moving and resizing items, the size taken from the image, and an item made for a
// dropped image file. Each checks the page and slot first, changes the model through one
// command on the document's undo stack and so sets the modified flag and refreshes the title.

namespace orin {

class CDocument;
class CImageEdits;
class CPrompt;

// Values of a slot made by AddItem: no kind, no parent, every action "0", colour 7, size 24,
// no background colour, no picture and no text.
PageItem NewItemSlot(int id, const QRectF &pageRect);

// 1 + the largest item id among the used slots (1 on an empty page).
int NextItemId(const CMyProgramInfo &page);

// The item's geometry from a shape: the position as given (fractions kept), the size rounded
// to whole units when `resized`, else kept.
void ApplyShapeGeometry(PageItem &item, const QRectF &pageRect, bool resized);

// The item size that shows image record `record` whole: a colour-map PNG at its pixel size,
// the other kinds at half; a JPEG in an item of kind 100, 101 or 102 at a quarter, a sixth or
// an eighth. None (an invalid size) for a record without a file.
QSizeF SizeFromImageRecord(const CMyPictureInfo &record, int idg);

class CItemEdits {
public:
    // Everything belongs to the caller and outlives this object.
    CItemEdits(CDocument &document, CContentModel &model, CPrompt &prompt,
               CImageEdits &imageEdits);

    // Appends an item with the next item id and the geometry in page units to the page at
    // `row`. Returns the new item id; -1 for no page, and -1 with a message (caption
    // "エラー") when the page already holds 256 items.
    int AddItem(int row, const QRectF &pageRect);
    // "アイテム作成" (`withRecords`: with a new empty text and an Empty picture) and
    // "テキスト枠作成": a 200 x 200 item at the page point. The free slot is checked before any
    // record is made. Returns the new slot, or -1.
    int CreateItem(int row, QPointF pagePoint, bool withRecords);
    // Removes used slot `slot`; the slots after it move up. Texts and pictures stay.
    bool DeleteItem(int row, int slot);
    // A move (`resized` false) or resize of used slot `slot` to the rectangle in page units.
    bool ItemFromShape(int row, int slot, const QRectF &pageRect, bool resized);
    // An arrow-key nudge of used slot `slot` by (dx, dy) page units. Nudges of the same slot
    // that follow one another on the undo stack make one step ("アイテム移動"); a burst that
    // ends where it began leaves no step.
    bool NudgeItem(int row, int slot, int dx, int dy);
    // The same for several slots at once (a selection): one step, and a burst of nudges of the
    // same set of slots merges the same way. Unused slots and repeated ones are ignored.
    bool NudgeItems(int row, const std::vector<int> &chosen, int dx, int dy);
    // Moves the used slots among `chosen` by `delta` page units as one step ("アイテム移動");
    // fractions are kept as a single move keeps them.
    bool MoveItems(int row, const std::vector<int> &chosen, QPointF delta);
    // Removes the used slots among `chosen` as one step ("アイテム削除"); the slots after each
    // move up. Texts and pictures stay.
    bool DeleteItems(int row, const std::vector<int> &chosen);
    // Aligns the used slots among `chosen` by `edge` as one step (AlignLabel): to the box that
    // bounds them, or for a single slot to the page of `page` units. False when nothing moved.
    bool AlignItems(int row, const std::vector<int> &chosen, AlignEdge edge, QSizeF page);
    // "画像からサイズ取得": the slot takes the size of the image it shows.
    bool SizeFromImage(int row, int slot);
    // A file dropped on the design surface: the image is added by its kind (its messages
    // shown) and an item that shows it is made at the page point, with a new empty text
    // record, as one step. Files that are no accepted image, a full page and a refused total
    // size change nothing. Returns the new slot, or -1.
    int DropImage(int row, QPointF pagePoint, const QString &path);

private:
    bool PageFull(const CMyProgramInfo &page);
    bool PushPage(int row, const CMyProgramInfo &before, const QString &text);
    // The used slots among `chosen` of the page at `row`, ascending and each once; empty for no
    // page.
    std::vector<int> UsedAmong(int row, const std::vector<int> &chosen) const;

    CDocument &m_document;
    CContentModel &m_model;
    CPrompt &m_prompt;
    CImageEdits &m_imageEdits;
};

} // namespace orin
