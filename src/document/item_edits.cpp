// SPDX-License-Identifier: MIT
#include "document/item_edits.h"

#include "actions/item_clipboard.h"
#include "document/document.h"
#include "document/image_edits.h"
#include "document/page_edits.h"
#include "document/prompt.h"
#include "document/undo_commands.h"
#include "images/image_import.h"
#include "model/ui_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orin {

namespace {

const QString kAddItemText = QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "アイテム追加"));
const QString kCreateItemText = QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "アイテム作成"));
const QString kDeleteItemText = QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "アイテム削除"));
const QString kMoveItemText = QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "アイテム移動"));
const QString kResizeItemText = QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "アイテムサイズ変更"));
const QString kSizeFromImageText =
    QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "画像からサイズ取得"));
const QString kDropImageText =
    QStringLiteral(QT_TRANSLATE_NOOP("OrinEdit", "画像からアイテム作成"));

constexpr qreal kNewItemSide = 200;

int UsedSlots(const CMyProgramInfo &page)
{
    return std::clamp(page.itemCount, 0, kItemSlots);
}

// A page coordinate as a float that stays finite.
float PageUnit(qreal value)
{
    if (!std::isfinite(value))
        return 0;
    constexpr qreal kLimit = 1e9;
    return static_cast<float>(std::clamp(value, -kLimit, kLimit));
}

template <typename T>
std::unique_ptr<T> TakeId(CMyDataArray<T> &table, int id)
{
    const int index = id == 0 ? -1 : table.IndexOfId(id);
    return index < 0 ? nullptr : table.Take(index);
}

// A page whose slots changed together with text and picture records appended for the new
// item: undo gives the page its old values and takes the records out, redo puts them back.
class CItemRecordsEdit : public CModelEdit {
public:
    CItemRecordsEdit(CContentModel &model, CMyProgramInfo &page, CMyProgramInfo before,
                     int textId, int pictureId)
        : m_model(model), m_page(page), m_before(std::move(before)), m_after(page),
          m_textId(textId), m_pictureId(pictureId)
    {
    }
    void Redo() override
    {
        if (m_done)
            return;
        if (m_text)
            m_model.texts.Add(std::move(m_text));
        if (m_picture)
            m_model.pictures.Add(std::move(m_picture));
        m_page = m_after;
        m_done = true;
    }
    void Undo() override
    {
        if (!m_done)
            return;
        m_page = m_before;
        m_text = TakeId(m_model.texts, m_textId);
        m_picture = TakeId(m_model.pictures, m_pictureId);
        m_done = false;
    }

private:
    CContentModel &m_model;
    CMyProgramInfo &m_page;
    CMyProgramInfo m_before;
    CMyProgramInfo m_after;
    int m_textId;
    int m_pictureId;
    std::unique_ptr<CMyTextInfo> m_text;
    std::unique_ptr<CMyPictureInfo> m_picture;
    bool m_done = true;
};

// The id that lets consecutive nudges merge on the undo stack.
constexpr int kNudgeCommandId = 0x4E55;

// A nudge of a set of item slots. Consecutive nudges of the same slots of the same page merge
// into the first one, so a burst of arrow presses is one step.
class CNudgeCommand : public CDocumentCommand {
public:
    CNudgeCommand(CDocument &document, CMyDataArray<CMyProgramInfo> &pages, int row,
                  std::vector<int> chosen, CMyProgramInfo before, CMyProgramInfo after)
        : CDocumentCommand(document, kMoveItemText, row, EditEffect()), m_pages(pages),
          m_row(row), m_slots(std::move(chosen)), m_before(std::move(before)),
          m_after(std::move(after))
    {
    }
    void redo() override { Assign(m_after); }
    void undo() override { Assign(m_before); }
    int id() const override { return kNudgeCommandId; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = dynamic_cast<const CNudgeCommand *>(other);
        if (next == nullptr || next->m_row != m_row || next->m_slots != m_slots
            || &next->m_pages != &m_pages)
            return false;
        // This step now undoes to where the burst began and redoes to where it ends.
        m_after = next->m_after;
        bool back = true;
        for (const int slot : m_slots) {
            const PageItem &start = m_before.items[size_t(slot)];
            const PageItem &end = m_after.items[size_t(slot)];
            back = back && start.x == end.x && start.y == end.y;
        }
        setObsolete(back);
        return true;
    }

private:
    void Assign(const CMyProgramInfo &value)
    {
        if (m_pages.IsValidIndex(m_row))
            *m_pages.At(m_row) = value;
        Applied();
    }
    CMyDataArray<CMyProgramInfo> &m_pages;
    int m_row;
    std::vector<int> m_slots;
    CMyProgramInfo m_before;
    CMyProgramInfo m_after;
};

} // namespace

PageItem NewItemSlot(int id, const QRectF &pageRect)
{
    PageItem item;
    item.id = id;
    item.x = PageUnit(pageRect.x());
    item.y = PageUnit(pageRect.y());
    item.width = PageUnit(pageRect.width());
    item.height = PageUnit(pageRect.height());
    const QString none = QStringLiteral("0");
    item.focus = item.outfocus = item.ret = none;
    item.up = item.down = item.left = item.right = none;
    item.color = 7;
    item.size = 24;
    item.bcolor = kNoColour;
    return item;
}

int NextItemId(const CMyProgramInfo &page)
{
    int largest = 0;
    for (int i = 0; i < UsedSlots(page); ++i)
        largest = std::max(largest, page.items[static_cast<size_t>(i)].id);
    return largest < std::numeric_limits<int>::max() ? largest + 1 : largest;
}

void ApplyShapeGeometry(PageItem &item, const QRectF &pageRect, bool resized)
{
    item.x = PageUnit(pageRect.x());
    item.y = PageUnit(pageRect.y());
    if (resized) {
        item.width = PageUnit(std::trunc(PageUnit(pageRect.width()) + 0.5));
        item.height = PageUnit(std::trunc(PageUnit(pageRect.height()) + 0.5));
    }
}

QSizeF SizeFromImageRecord(const CMyPictureInfo &record, int idg)
{
    if (record.path.isEmpty())
        return {};
    switch (record.type) {
    case kImageColourMapPng:
        return QSizeF(record.width, record.height);
    case kImageJpeg:
        if (idg >= 100 && idg <= 102) {
            const int divisor = idg == 100 ? 4 : idg == 101 ? 6 : 8;
            return QSizeF(record.width / divisor, record.height / divisor);
        }
        return QSizeF(record.width / 2, record.height / 2);
    case kImageGeneralPng:
    case kImageGif:
        return QSizeF(record.width / 2, record.height / 2);
    default:
        return {};
    }
}

CItemEdits::CItemEdits(CDocument &document, CContentModel &model, CPrompt &prompt,
                       CImageEdits &imageEdits)
    : m_document(document), m_model(model), m_prompt(prompt), m_imageEdits(imageEdits)
{
}

bool CItemEdits::PageFull(const CMyProgramInfo &page)
{
    if (UsedSlots(page) < kItemSlots)
        return false;
    m_prompt.MessageBox(UiText(kPageFullMessage), UiText(kErrorCaption), PromptButtons::Ok);
    return true;
}

bool CItemEdits::PushPage(int row, const CMyProgramInfo &before, const QString &text)
{
    m_document.Push(new CRecordValueCommand<CMyProgramInfo>(
        m_document, text, m_model.pages, row, before, *m_model.pages.At(row), row));
    return true;
}

int CItemEdits::AddItem(int row, const QRectF &pageRect)
{
    m_document.CommitOpenEdits();
    if (!m_model.pages.IsValidIndex(row))
        return -1;
    CMyProgramInfo &page = *m_model.pages.At(row);
    if (PageFull(page))
        return -1;
    const CMyProgramInfo before = page;
    const int n = UsedSlots(page);
    const int id = NextItemId(page);
    page.items[static_cast<size_t>(n)] = NewItemSlot(id, pageRect);
    page.itemCount = n + 1;
    PushPage(row, before, kAddItemText);
    return id;
}

int CItemEdits::CreateItem(int row, QPointF pagePoint, bool withRecords)
{
    m_document.CommitOpenEdits();
    if (!m_model.pages.IsValidIndex(row))
        return -1;
    CMyProgramInfo &page = *m_model.pages.At(row);
    // The free slot is checked first, so a refused item leaves no records behind.
    if (PageFull(page))
        return -1;
    const CMyProgramInfo before = page;
    const int textId = withRecords ? NewTextRecord(m_model) : 0;
    const int pictureId = withRecords ? NewPictureRecord(m_model) : 0;
    const int n = UsedSlots(page);
    PageItem item = NewItemSlot(NextItemId(page),
                                QRectF(pagePoint, QSizeF(kNewItemSide, kNewItemSide)));
    item.text_no = textId;
    item.pic_no = pictureId;
    page.items[static_cast<size_t>(n)] = item;
    page.itemCount = n + 1;
    m_document.Push(new CModelEditCommand(
        m_document,
        std::make_unique<CItemRecordsEdit>(m_model, page, before, textId, pictureId),
        withRecords ? kCreateItemText : kAddItemText, row, EditEffect()));
    return n;
}

bool CItemEdits::DeleteItem(int row, int slot)
{
    m_document.CommitOpenEdits();
    if (!m_model.pages.IsValidIndex(row))
        return false;
    CMyProgramInfo &page = *m_model.pages.At(row);
    const int n = UsedSlots(page);
    if (slot < 0 || slot >= n)
        return false;
    const CMyProgramInfo before = page;
    for (int i = slot; i + 1 < n; ++i)
        page.items[static_cast<size_t>(i)] = page.items[static_cast<size_t>(i + 1)];
    page.items[static_cast<size_t>(n - 1)] = PageItem();
    page.itemCount = n - 1;
    return PushPage(row, before, kDeleteItemText);
}

bool CItemEdits::ItemFromShape(int row, int slot, const QRectF &pageRect, bool resized)
{
    m_document.CommitOpenEdits();
    if (!m_model.pages.IsValidIndex(row))
        return false;
    CMyProgramInfo &page = *m_model.pages.At(row);
    if (slot < 0 || slot >= UsedSlots(page))
        return false;
    PageItem item = page.items[static_cast<size_t>(slot)];
    ApplyShapeGeometry(item, pageRect, resized);
    const PageItem &old = page.items[static_cast<size_t>(slot)];
    if (item.x == old.x && item.y == old.y && item.width == old.width
        && item.height == old.height)
        return false;
    const CMyProgramInfo before = page;
    page.items[static_cast<size_t>(slot)] = item;
    return PushPage(row, before, resized ? kResizeItemText : kMoveItemText);
}

bool CItemEdits::NudgeItem(int row, int slot, int dx, int dy)
{
    m_document.CommitOpenEdits();
    return NudgeItems(row, {slot}, dx, dy);
}

std::vector<int> CItemEdits::UsedAmong(int row, const std::vector<int> &chosen) const
{
    std::vector<int> used;
    if (!m_model.pages.IsValidIndex(row))
        return used;
    const int n = UsedSlots(*m_model.pages.At(row));
    for (const int slot : chosen) {
        if (slot >= 0 && slot < n)
            used.push_back(slot);
    }
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    return used;
}

bool CItemEdits::NudgeItems(int row, const std::vector<int> &chosen, int dx, int dy)
{
    m_document.CommitOpenEdits();
    const std::vector<int> used = UsedAmong(row, chosen);
    if (used.empty() || (dx == 0 && dy == 0))
        return false;
    CMyProgramInfo &page = *m_model.pages.At(row);
    const CMyProgramInfo before = page;
    for (const int slot : used) {
        PageItem &item = page.items[static_cast<size_t>(slot)];
        item.x = PageUnit(double(item.x) + dx);
        item.y = PageUnit(double(item.y) + dy);
    }
    m_document.Push(new CNudgeCommand(m_document, m_model.pages, row, used, before, page));
    return true;
}

namespace {

// Moves the item by `by` page units, rounded as stored; false when it stays where it was.
bool ShiftItem(PageItem &item, QPointF by)
{
    const float x = PageUnit(double(item.x) + by.x());
    const float y = PageUnit(double(item.y) + by.y());
    const bool moved = x != item.x || y != item.y;
    item.x = x;
    item.y = y;
    return moved;
}

} // namespace

bool CItemEdits::MoveItems(int row, const std::vector<int> &chosen, QPointF delta)
{
    m_document.CommitOpenEdits();
    const std::vector<int> used = UsedAmong(row, chosen);
    if (used.empty() || !std::isfinite(delta.x()) || !std::isfinite(delta.y()))
        return false;
    CMyProgramInfo &page = *m_model.pages.At(row);
    const CMyProgramInfo before = page;
    bool changed = false;
    for (const int slot : used)
        changed = ShiftItem(page.items[static_cast<size_t>(slot)], delta) || changed;
    if (!changed)
        return false;
    return PushPage(row, before, kMoveItemText);
}

bool CItemEdits::DeleteItems(int row, const std::vector<int> &chosen)
{
    m_document.CommitOpenEdits();
    const std::vector<int> used = UsedAmong(row, chosen);
    if (used.empty())
        return false;
    CMyProgramInfo &page = *m_model.pages.At(row);
    const CMyProgramInfo before = page;
    int n = UsedSlots(page);
    // From the last: the slots still to remove keep their places.
    for (auto it = used.rbegin(); it != used.rend(); ++it) {
        for (int i = *it; i + 1 < n; ++i)
            page.items[static_cast<size_t>(i)] = page.items[static_cast<size_t>(i + 1)];
        page.items[static_cast<size_t>(n - 1)] = PageItem();
        --n;
    }
    page.itemCount = n;
    return PushPage(row, before, kDeleteItemText);
}

bool CItemEdits::AlignItems(int row, const std::vector<int> &chosen, AlignEdge edge, QSizeF page)
{
    m_document.CommitOpenEdits();
    const std::vector<int> used = UsedAmong(row, chosen);
    if (used.empty())
        return false;
    CMyProgramInfo &record = *m_model.pages.At(row);
    std::vector<QRectF> rects;
    for (const int slot : used) {
        const PageItem &item = record.items[static_cast<size_t>(slot)];
        rects.emplace_back(item.x, item.y, item.width, item.height);
    }
    const std::vector<QRectF> aligned = AlignRects(rects, edge, page);
    const CMyProgramInfo before = record;
    bool changed = false;
    for (size_t i = 0; i < used.size(); ++i) {
        // An item of negative size keeps the corner it is stored by.
        changed = ShiftItem(record.items[static_cast<size_t>(used[i])],
                            aligned[i].topLeft() - rects[i].topLeft())
                  || changed;
    }
    if (!changed)
        return false;
    return PushPage(row, before, AlignLabel(edge));
}

bool CItemEdits::SizeFromImage(int row, int slot)
{
    m_document.CommitOpenEdits();
    if (!m_model.pages.IsValidIndex(row))
        return false;
    CMyProgramInfo &page = *m_model.pages.At(row);
    if (slot < 0 || slot >= UsedSlots(page))
        return false;
    const PageItem &old = page.items[static_cast<size_t>(slot)];
    const CMyPictureInfo *record = m_model.FindImage(old.pic_no);
    if (record == nullptr)
        return false;
    const QSizeF size = SizeFromImageRecord(*record, old.idg);
    if (!size.isValid() || (old.width == float(size.width()) && old.height == float(size.height())))
        return false;
    const CMyProgramInfo before = page;
    PageItem &item = page.items[static_cast<size_t>(slot)];
    item.width = float(size.width());
    item.height = float(size.height());
    return PushPage(row, before, kSizeFromImageText);
}

int CItemEdits::DropImage(int row, QPointF pagePoint, const QString &path)
{
    m_document.CommitOpenEdits();
    if (!m_model.pages.IsValidIndex(row))
        return -1;
    const QString file = QDir::fromNativeSeparators(path);
    const int type = ClassifyImageFile(file);
    if (type == kNotAnImage || !IsAcceptedKind(type, m_document.Settings().ExPNG))
        return -1;
    CMyProgramInfo &page = *m_model.pages.At(row);
    if (PageFull(page))
        return -1;

    // The image is added first: a refused total size changes nothing and leaves no step.
    const TableValues tables = CaptureTables(m_model, kImageTables);
    const int imageId = m_imageEdits.AddDroppedImage(file);
    if (imageId < 0)
        return -1;
    QUndoStack &stack = m_document.UndoStack();
    stack.beginMacro(kDropImageText);
    if (imageId > 0)
        m_document.Push(new CTablesCommand(m_document, m_model, kDropImageText, kImageTables,
                                           tables, CaptureTables(m_model, kImageTables),
                                           {false, true, SizeForm::Binary, true}));
    const QSize pixels = QImageReader(file).size();
    const QSize size = NaturalItemSize(type, std::max(0, pixels.width()),
                                       std::max(0, pixels.height()));
    const CMyProgramInfo before = page;
    const int textId = NewTextRecord(m_model);
    const int slot = UsedSlots(page);
    PageItem item = NewItemSlot(NextItemId(page), QRectF(pagePoint, QSizeF(size)));
    item.text_no = textId;
    item.pic_no = imageId;
    page.items[static_cast<size_t>(slot)] = item;
    page.itemCount = slot + 1;
    m_document.Push(new CModelEditCommand(
        m_document, std::make_unique<CItemRecordsEdit>(m_model, page, before, textId, 0),
        kDropImageText, row, EditEffect()));
    stack.endMacro();
    return slot;
}

} // namespace orin
