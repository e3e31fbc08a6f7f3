// SPDX-License-Identifier: MIT
#pragma once

#include "images/colour_map.h"
#include "model/content_model.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <map>
#include <vector>

// content.js: the content set as the web player reads it, one JSON object assigned to
// window.ORIN_CONTENT by a classic script (a page opened from the file system may not fetch
// files). Field names are the model's own; file paths are replaced by the exported copies.

namespace orin {

// Where the export put the file of one record; empty `file` when the record names no file.
struct ExportedFile {
    QString file;         // relative to the player folder, "/" separated
    bool missing = false; // the file could not be read; `file` is the placeholder (pictures)
};

struct ExportedFiles {
    std::vector<ExportedFile> backgrounds; // by page table index
    std::vector<ExportedFile> pictures;    // by picture table index
    std::vector<ExportedFile> materials;   // by material table index
    std::vector<ExportedFile> sounds;      // by sound table index
    std::map<QString, QString> screens;    // picture name -> file
};

// The font families the player draws item texts with, best first: the receiver's face, then
// the faces that stand in for it on the editor's machines.
QJsonArray PlayerFontFamilies();

// The "fonts" object: the families, the face the editor found ("resolved") and its ascent and
// descent per pixel of font size (the line height of the text layout). Needs a GUI application.
QJsonObject PlayerFonts();

// The colour map as CSS colours, index = colour number; entries past the end of the array are
// rgba(0,0,0,0) (the trailing transparent black entries are left out).
QJsonArray ColourTable(const CColourMap &map);

// The whole script.
QByteArray ContentScript(const CContentModel &model, const ProgramSettings &settings,
                         const CColourMap &map, const ExportedFiles &files);

} // namespace orin
