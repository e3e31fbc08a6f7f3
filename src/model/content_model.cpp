// SPDX-License-Identifier: MIT
#include "model/content_model.h"

namespace orin {

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
