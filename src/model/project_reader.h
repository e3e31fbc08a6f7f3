// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"
#include "model/leading_int.h"
#include "model/project_integrity.h"

#include <QString>

#include <functional>

namespace orin {

class CStringPool;
class CXmlDoc;

// What the reader needs from the image layer: measuring an image record and summing the sizes
// of the referenced files. The reader stays below the image code; callers hand these in
// (images/load_services.h gives the standard ones).
struct LoadServices {
    // Pixel size of the image at path for the image type; 0 x 0 when it cannot be read.
    std::function<void(const QString &path, int type, int &width, int &height)> measure;
    // Bytes of all files the model references.
    std::function<qint64(const CContentModel &model)> totalDataSize;
    // Bytes of one file, -1 when it cannot be opened.
    std::function<qint64(const QString &path)> fileSize;
    // Both of an image record at once (measure for the measured types, and fileSize), so that
    // each file is opened once; when empty, the two above are asked.
    std::function<qint64(const QString &path, int type, int &width, int &height)> measureAndSize;
    // Makes the measureAndSize of one load, which may keep what it learns about the file system
    // for that load only (a folder found missing holds no file). When empty, measureAndSize is
    // used as it is.
    std::function<std::function<qint64(const QString &path, int type, int &width, int &height)>()>
        startLoad;
};

// Reads a project file into the model (appending) and the settings. `unicode` is true for
// .bjpx (UTF-16 text mode), false for .bjp (code page 932). Returns false only when the file
// cannot be opened; everything else is read tolerantly. `integrity`, when given, tells whether
// the file held a complete project: callers must not treat a damaged file as the project.
bool LoadProject(const QString &path, bool unicode, ProgramSettings &settings, qint64 &usedSize,
                 CContentModel &model, const LoadServices &services,
                 ProjectIntegrity *integrity = nullptr);

// Same from text already decoded; `projectFolder` resolves relative references. A text cut
// short is read up to the cut. Returns the integrity of the text.
ProjectIntegrity LoadProjectText(const QString &text, const QString &projectFolder,
                                 ProgramSettings &settings, qint64 &usedSize,
                                 CContentModel &model, const LoadServices &services);

// Reads the BMLJPEG element on which `doc` stands into `page` (a fresh page) and leaves the
// document on that element. Pages read with one `pool` share the storage of equal values.
// Every Item element is kept: the item count is the larger of `Num` and the number of items,
// so that a save writes them all. Returns false when the page holds more Item elements than a
// page has slots (kItemSlots); those beyond are not read.
bool ReadPage(CXmlDoc &doc, CMyProgramInfo &page, const QString &projectFolder,
              CStringPool *pool = nullptr);

// "./<folder>/<name>" becomes projectFolder + "<folder>/<name>"; any other reference is
// returned unchanged.
QString ResolveReference(const QString &reference, const QString &projectFolder);

// Deletes the backgrounds, materials, pictures and sounds a project file references (only
// files inside the project's folder), then removes the content folder when it is empty.
// False when the file cannot be read.
bool DeleteProjectFiles(const QString &projectPath);

// The folder of a file path with a trailing "/" ("/w/news.bjpx" -> "/w/").
QString FolderOf(const QString &path);

} // namespace orin
