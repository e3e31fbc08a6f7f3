// SPDX-License-Identifier: MIT
#include "model/content_model.h"

#include <QtGlobal>

namespace orin {

CItemSlots::CItemSlots(const CItemSlots &other)
{
    *this = other;
}

CItemSlots &CItemSlots::operator=(const CItemSlots &other)
{
    if (this == &other)
        return *this;
    std::vector<std::unique_ptr<PageItem>> copy;
    copy.reserve(other.m_slots.size());
    for (const auto &slot : other.m_slots)
        copy.push_back(std::make_unique<PageItem>(*slot));
    m_slots = std::move(copy);
    return *this;
}

const PageItem &CItemSlots::EmptySlot()
{
    static const PageItem empty;
    return empty;
}

void CItemSlots::Grow(size_t index)
{
    // A page has kItemSlots slots; writing past them is a fault of the caller, never of a file.
    if (index >= static_cast<size_t>(kItemSlots))
        qFatal("item slot %zu written past the %d slots of a page", index, kItemSlots);
    if (m_slots.capacity() <= index) {
        m_slots.reserve(std::min<size_t>(kItemSlots,
                                         std::max<size_t>(index + 1, m_slots.capacity() * 2)));
    }
    while (m_slots.size() <= index)
        m_slots.push_back(std::make_unique<PageItem>());
}

void CContentModel::ClearModel()
{
    pages.RemoveAll();
    pictures.RemoveAll();
    materials.RemoveAll();
    texts.RemoveAll();
    channels.RemoveAll();
    webPages.RemoveAll();
    macros.RemoveAll();
    sounds.RemoveAll();
    functions.RemoveAll();
    functionValue.clear();
    usedSize = 0;
    serverLabels = {};
}

CMyPictureInfo *CContentModel::FindImage(int imageId) const
{
    if (imageId >= 1 && imageId <= 199)
        return pictures.FindById(imageId);
    if (imageId >= 200 && imageId <= 255)
        return materials.FindById(imageId);
    return nullptr;
}

int FindItemSlot(const CMyProgramInfo &page, int itemId)
{
    const int count = std::clamp(page.itemCount, 0, kItemSlots);
    for (int i = 0; i < count; ++i) {
        if (page.items[static_cast<size_t>(i)].id == itemId)
            return i;
    }
    return -1;
}

} // namespace orin
