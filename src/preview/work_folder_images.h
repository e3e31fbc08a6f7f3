// SPDX-License-Identifier: MIT
#pragma once

#include "images/colour_map.h"
#include "preview/display_state.h"

// The display copies of the editor: private copies in the work folder, colour-map PNGs with the
// colour map inserted as their palette. A copy file goes when the last display entry that
// shows it lets go.

namespace orin {

class CWorkFolderImages : public CImageSource {
public:
    CWorkFolderImages(const CColourMap &map, QString workFolder)
        : m_map(map), m_workFolder(std::move(workFolder))
    {
    }

    DisplayImage DisplayCopy(const CMyPictureInfo &record) override;
    DisplayImage BackgroundCopy(const CMyProgramInfo &page, bool vertical) override;

private:
    const CColourMap &m_map;
    QString m_workFolder;
};

} // namespace orin
