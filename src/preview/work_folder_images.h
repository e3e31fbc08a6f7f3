// SPDX-License-Identifier: MIT
#pragma once

#include "images/colour_map.h"
#include "images/work_copies.h"
#include "preview/display_state.h"

// The display copies of the editor: private copies in the work folder, colour-map PNGs with the
// colour map inserted as their palette. Each source is copied once while it stays unchanged:
// the copies stay for the next showing while this source lives (within the store's limit for
// copies that nothing shows), and go when it and every display entry that shows them let go.

namespace orin {

class CWorkFolderImages : public CImageSource {
public:
    CWorkFolderImages(const CColourMap &map, QString workFolder)
        : m_map(map), m_copies(std::move(workFolder))
    {
    }

    DisplayImage DisplayCopy(const CMyPictureInfo &record) override;
    DisplayImage BackgroundCopy(const CMyProgramInfo &page, bool vertical) override;

private:
    const CColourMap &m_map;
    CWorkCopies m_copies;
};

} // namespace orin
