// SPDX-License-Identifier: MIT
#pragma once

#include "images/colour_map.h"
#include "model/content_model.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// The export of a content set for the web player: a folder that holds index.html, the player
// scripts, content.js (the content set as the player reads it) and a copy of every picture,
// material, background and sound the content set names. The folder plays from the file system
// and from any static web server without network access.

namespace orin {

struct WebExportInput {
    const CContentModel &model;
    const ProgramSettings &settings;
    // The colour map the editor shows colour-map PNGs and colour indexes with.
    const CColourMap &map;
    // Pictures drawn by code that the player shows too (the special screens and the TV item),
    // written as "screens/NAME.png"; `content.js` lists them under "screens" by NAME.
    std::vector<std::pair<QString, QImage>> screens;
};

struct WebExportResult {
    bool ok = false;
    QString error;       // why nothing was written, when not ok
    QStringList warnings; // files that could not be read (the placeholder stands in for them)
};

// Writes the player into `outDir`, which must not exist or be an empty folder; its parent
// folder must exist. Everything is first written into a new hidden sibling folder, which then
// takes the place of `outDir`: a failed export leaves nothing behind.
WebExportResult ExportForWeb(const WebExportInput &input, const QString &outDir);

// The file names of the player (relative to the player folder), as embedded in the program.
QStringList PlayerFiles();

} // namespace orin
