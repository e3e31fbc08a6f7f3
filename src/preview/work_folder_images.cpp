// SPDX-License-Identifier: MIT
#include "preview/work_folder_images.h"

#include "images/display_copy.h"

namespace orin {

DisplayImage CWorkFolderImages::DisplayCopy(const CMyPictureInfo &record)
{
    DisplayImage shown;
    std::shared_ptr<CDisplayCopy> copy = MakeDisplayCopy(record, m_map, m_copies);
    if (!copy)
        return shown;
    shown.type = record.type;
    shown.image = copy->Image();
    shown.placeholder = copy->IsPlaceholder();
    shown.owner = std::move(copy);
    return shown;
}

DisplayImage CWorkFolderImages::BackgroundCopy(const CMyProgramInfo &page, bool vertical)
{
    DisplayImage shown;
    std::shared_ptr<CDisplayCopy> copy = MakeBackgroundCopy(page.background, vertical,
                                                            m_copies);
    if (!copy)
        return shown;
    shown.image = copy->Image();
    shown.placeholder = copy->IsPlaceholder();
    shown.owner = std::move(copy);
    return shown;
}

} // namespace orin
