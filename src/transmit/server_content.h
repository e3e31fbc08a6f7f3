// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The content fetched from a data-broadcast server: "SeverContents", an uncompressed tar that
// holds one project file with its content folder, and "LabelContents.xml", the labels of what
// the server lets the operator change.

namespace orin {

class CContentModel;

// True when the reference, resolved as the project reader resolves it against the project's
// folder, names a file inside that folder: an empty reference, or one whose cleaned path lies
// below the folder and, when it exists, is a regular file whose canonical path lies below the
// folder's canonical path. Absolute paths elsewhere, "./x./../../.." climbs, bare relative
// names and Windows paths are not.
bool ReferenceStaysInside(const QString &reference, const QString &projectFolder);

// Makes a project that came from a server refer to no file outside its folder: the text of
// every page background, picture, material and sound reference that fails
// ReferenceStaysInside is emptied (the record stays, without a file; "$slider" lists name
// those records by id and so show nothing from outside either). The project file (.bjpx) is
// rewritten only when something was emptied, everything else in it unchanged; *dropped tells
// which references went, one line each ("画像 5: /etc/passwd"). False, with *error, when the
// file cannot be read or rewritten.
bool ConfineServerProject(const QString &projectPath, QStringList *dropped, QString *error);

// The label contents: `<LabelContents><Text label="…"/>…<Picture label="…"/>…<Background/>
// </LabelContents>` in UTF-8.
struct CLabelContents {
    QStringList texts;       // labels of the editable texts
    QStringList pictures;    // labels of the editable pictures and materials
    bool background = false; // the page backgrounds may be changed
};

// Extracts the tar at `tarPath` into `destFolder`, which must be missing or empty (it is
// made). Only folders and regular files are taken; absolute names, "..", links, devices and
// other special entries, damaged headers, truncated entries, more than `sizeLimit` bytes of
// file data and a count of entries beyond reason fail the whole extraction. The archive must
// hold exactly one project file (".bjpx") at its top level; its path in `destFolder` goes to
// *bjpxPath. Nothing is ever written outside `destFolder`; on failure what was written is
// removed again (and the folder too when this call made it), *bjpxPath is left empty and
// *error tells why.
bool ExtractServerContent(const QString &tarPath, const QString &destFolder, qint64 sizeLimit,
                          QString *bjpxPath, QString *error);

// The most labels of each kind (texts, pictures) that label contents may hold.
inline constexpr int kMaxLabels = 65536;

// Reads the label contents. Text and Picture elements with an empty or missing label are
// passed over, a label given twice is kept once, and other elements are ignored. Fails (with
// *error) for text that is not UTF-8, markup that is not well formed, a root element other
// than LabelContents and more than kMaxLabels different labels of one kind; *out is then
// empty. The time it takes grows with the length of the text, not faster.
bool ParseLabelContents(const QByteArray &xml, CLabelContents *out, QString *error);

// Makes the labels what the server-mode checks of the model read: the Text and Picture labels
// become the editable lists and a Background element makes "[BACKGROUND]" the current label.
// Called after the fetched project has been loaded (loading empties them); recorded content,
// which comes without label contents, passes an empty CLabelContents and stays read-only.
void ApplyLabelContents(CContentModel &model, const CLabelContents &contents);

} // namespace orin
