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

// Reads the label contents. Text and Picture elements with an empty or missing label are
// passed over, a label given twice is kept once, and other elements are ignored. Fails (with
// *error) for text that is not UTF-8, markup that is not well formed, and a root element other
// than LabelContents; *out is then empty.
bool ParseLabelContents(const QByteArray &xml, CLabelContents *out, QString *error);

// Makes the labels what the server-mode checks of the model read: the Text and Picture labels
// become the editable lists and a Background element makes "[BACKGROUND]" the current label.
// Called after the fetched project has been loaded (loading empties them); recorded content,
// which comes without label contents, passes an empty CLabelContents and stays read-only.
void ApplyLabelContents(CContentModel &model, const CLabelContents &contents);

} // namespace orin
