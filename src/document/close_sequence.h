// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <memory>

namespace orin {

class CDocument;
class CIniStore;
class CLibBMLTS;
class CPathStore;
class CRecentFiles;
struct AppSettings;

// What the main window hands over when it closes.
struct WindowLayout {
    QRect frame;       // the frame's normal rectangle (not the maximised one)
    QSize thumbnail;   // the page list's thumbnail size
    int listWidth = 0; // the page list's width
};

// Where the close writes: the settings file, the path file beside it, the recent-file list.
struct CloseTargets {
    CIniStore &ini;
    CPathStore &paths;
    const CRecentFiles &recentFiles;
};

// Takes the layout and the folders into the settings: the frame rectangle, thumbnail size and
// list width; the project and portable folders of the document; the image folder.
void TakeCloseLayout(AppSettings &settings, const WindowLayout &layout, const CDocument &document,
                     const QString &imageFolder);

// The close of the main window. Asks the document's close question; when the operator keeps
// the work (No), returns false and nothing changes or is written. Otherwise takes the layout
// into the settings, lets the library object forget its document, keeps its two counters
// (data_event_id, VersionEvent) and destroys it, then writes the keys kept at close, the
// folders exactly as they are and the recent-file list, and returns true. Write failures are
// not reported: the window closes all the same.
bool RunCloseSequence(CDocument &document, AppSettings &settings, const WindowLayout &layout,
                      const QString &imageFolder, std::unique_ptr<CLibBMLTS> &library,
                      const CloseTargets &targets);

} // namespace orin
