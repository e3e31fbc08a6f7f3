// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"
#include "model/file_result.h"

#include <QByteArray>
#include <QString>

// Writes a content set as a project file: ".bjpx" as UTF-16 LE with byte-order mark and CR LF,
// ".bjp" in code page 932 with LF. The whole document is composed in memory first; the file is
// replaced atomically and the previous version is kept as "<file>.bak".

namespace orin {

enum class SaveMode {
    Plain,    // references inside the content folder become relative, others stay absolute
    Portable, // every referenced file is copied into the content folder first
};

// Saves the model to `path`. A path whose extension is neither .bjpx nor .bjp (any case), or
// that names a folder, writes nothing and fails with a message. A failure leaves the previous
// file and its .bak untouched.
FileResult SaveProject(const CContentModel &model, const QString &path, SaveMode mode,
                       const QString &contentFolder, const ProgramSettings &settings);

// The complete project text (LF line ends) for the model, as SaveProject would write it.
// In portable mode the referenced files are copied into the content folder.
QString ComposeProject(const CContentModel &model, SaveMode mode, const QString &contentFolder,
                       const ProgramSettings &settings);

// The bytes SaveProject writes, composed chunk by chunk as the save does: the .bjpx form
// (`unicode`), or the .bjp form (the text with LF line ends in code page 932).
QByteArray ComposeProjectFile(const CContentModel &model, bool unicode, SaveMode mode,
                              const QString &contentFolder, const ProgramSettings &settings);

// Appends the BMLJPEG block of page `pageIndex` to `out`. With Plain mode and an empty content
// folder every reference is written as it is held (absolute).
void WritePage(const CContentModel &model, int pageIndex, QString &out, SaveMode mode,
               const QString &contentFolder);

// "./" + the last name of the content folder + "/" + the file name of `source`; "" for "".
QString MakeRelativeReference(const QString &source, const QString &contentFolder);

// Copies `source` into the content folder under its own name, or with 1..30 underscores before
// the extension when that name exists; returns the relative reference of the copy, or an empty
// optional-like result (ok false) when every name is taken or the copy fails.
struct CopyResult {
    bool ok = false;
    QString reference;
};
CopyResult CopyIntoFolder(const QString &source, const QString &contentFolder);

// Creates the folder and any missing parents; an existing folder counts as success.
bool CreateFolderPath(const QString &path);

// The content folder of a project file: its path minus the last four characters
// ("/w/news.bjpx" -> "/w/news.", "/w/news.bjp" -> "/w/news").
QString ContentFolderOf(const QString &projectPath);

} // namespace orin
