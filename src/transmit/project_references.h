// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The file references of a project file (.bjpx) changed in place: the page backgrounds,
// pictures, materials and sounds, read as the project reader reads them.

namespace orin {

// Told each reference's text (`readable` false when its markup reads as nothing although it
// is not blank); a value it returns becomes the element's new text.
using ReferenceChange =
    std::function<std::optional<QString>(const QString &reference, bool readable)>;

// Applies `change` to every reference of the project file and rewrites the file, everything
// else in it unchanged, only when something changed. *changed gets one line per changed
// reference for the operator ("画像 5: /etc/passwd", with the old text). False, with *error,
// when the file cannot be read or written.
bool RewriteProjectReferences(const QString &projectPath, const ReferenceChange &change,
                              QStringList *changed, QString *error);

} // namespace orin
