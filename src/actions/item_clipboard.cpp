// SPDX-License-Identifier: MIT
#include "actions/item_clipboard.h"

#include "images/image_import.h"

#include <cmath>
#include <limits>

namespace orin {

namespace {

constexpr int kMaxTextRecords = 254;

int UsedSlots(const CMyProgramInfo &page)
{
    return std::clamp(page.itemCount, 0, kItemSlots);
}

// A page coordinate as a whole number, truncated toward zero; NaN gives 0.
float WholeNumber(qreal value)
{
    if (std::isnan(value))
        return 0;
    constexpr qreal kLimit = 1e9;
    return static_cast<float>(std::trunc(std::clamp(value, -kLimit, kLimit)));
}

} // namespace

bool CItemClipboard::CopyItem(const CMyProgramInfo *page, int slot)
{
    if (page == nullptr || slot < 0 || slot >= UsedSlots(*page))
        return false;
    m_copiedSlot = slot;
    m_sourcePage = page->serial.Value();
    m_item = page->items[static_cast<size_t>(slot)];
    return true;
}

int NewTextRecord(CContentModel &model)
{
    if (model.texts.Count() >= kMaxTextRecords)
        return 0;
    auto record = std::make_unique<CMyTextInfo>();
    record->id = model.texts.NextId();
    const int id = record->id;
    model.texts.Add(std::move(record));
    return id;
}

int NewPictureRecord(CContentModel &model)
{
    if (model.pictures.Count() >= kMaxPictures)
        return 0;
    const int id = model.pictures.NextId();
    if (id > kLastPictureId)
        return 0;
    auto record = std::make_unique<CMyPictureInfo>();
    record->id = id;
    record->type = kImageEmpty;
    record->sizeText = QString::fromUtf16(kEmptySizeText);
    model.pictures.Add(std::move(record));
    return id;
}

PasteOutcome PasteItem(CContentModel &model, CMyProgramInfo *page,
                       const CItemClipboard &clipboard, PasteMode mode, QPointF pagePoint)
{
    PasteOutcome outcome;
    if (!clipboard.HasItem() || page == nullptr)
        return outcome;
    const int n = UsedSlots(*page);
    // A full page is refused before any record is made, so a refused paste leaves nothing.
    if (n >= kItemSlots) {
        outcome.status = PasteStatus::PageFull;
        return outcome;
    }

    int largest = 0;
    for (int i = 0; i < n; ++i)
        largest = std::max(largest, page->items[static_cast<size_t>(i)].id);
    PageItem item = clipboard.Item();
    item.id = largest < std::numeric_limits<int>::max() ? largest + 1 : largest;

    if (mode == PasteMode::Text || mode == PasteMode::PictureAndText) {
        outcome.newText = NewTextRecord(model);
        const CMyTextInfo *source = model.texts.FindById(item.text_no);
        CMyTextInfo *copy = model.texts.FindById(outcome.newText);
        if (source != nullptr && copy != nullptr && outcome.newText != 0) {
            copy->text = source->text;
            copy->item = source->item;
        }
    }
    if (mode == PasteMode::PictureAndText) {
        outcome.newPicture = NewPictureRecord(model);
        // Only the picture table is looked in: a material source leaves the new record Empty.
        const CMyPictureInfo *source = model.pictures.FindById(item.pic_no);
        CMyPictureInfo *copy = model.pictures.FindById(outcome.newPicture);
        if (source != nullptr && copy != nullptr && outcome.newPicture != 0 && source != copy) {
            copy->path = source->path;
            copy->item = source->item;
            copy->type = source->type;
            copy->width = source->width;
            copy->height = source->height;
            copy->sizeText = source->sizeText;
        }
        item.pic_no = outcome.newPicture;
    }
    if (mode != PasteMode::Full)
        item.text_no = outcome.newText;

    if (clipboard.IsSourcePage(page)) {
        item.x = WholeNumber(pagePoint.x());
        item.y = WholeNumber(pagePoint.y());
    }
    page->items[static_cast<size_t>(n)] = item;
    page->itemCount = n + 1;
    outcome.status = PasteStatus::Pasted;
    outcome.slot = n;
    return outcome;
}

} // namespace orin
