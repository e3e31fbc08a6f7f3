// SPDX-License-Identifier: MIT
#include "document/close_sequence.h"

#include "document/document.h"
#include "document/lib_bmlts.h"
#include "document/recent_files.h"
#include "settings/app_settings.h"
#include "settings/ini_store.h"
#include "settings/path_store.h"

namespace orin {

void TakeCloseLayout(AppSettings &settings, const WindowLayout &layout, const CDocument &document,
                     const QString &imageFolder)
{
    settings.w_left = layout.frame.left();
    settings.w_top = layout.frame.top();
    settings.w_width = layout.frame.width();
    settings.w_height = layout.frame.height();
    settings.thumb_width = layout.thumbnail.width();
    settings.thumb_height = layout.thumbnail.height();
    settings.listwidth = layout.listWidth;
    settings.DefaultFileDir = document.ProjectFolder();
    settings.PortableDir = document.PortableFolder();
    settings.ImageDir = imageFolder;
}

bool RunCloseSequence(CDocument &document, AppSettings &settings, const WindowLayout &layout,
                      const QString &imageFolder, std::unique_ptr<CLibBMLTS> &library,
                      const CloseTargets &targets)
{
    if (!document.QueryClose())
        return false;
    TakeCloseLayout(settings, layout, document, imageFolder);
    if (library) {
        library->ClearBCML();
        settings.data_event_id = library->m_dataEventId;
        settings.VersionEvent = library->m_versionEvent;
        library.reset();
    }
    WriteCloseSettings(targets.ini, settings);
    WriteExactFolders(targets.paths, settings);
    targets.recentFiles.Save(targets.ini, targets.paths);
    return true;
}

} // namespace orin
