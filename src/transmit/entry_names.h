// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

// The one rule for the names of the files that travel in a content archive, kept by both ends:
// the package gives a file whose own name breaks it another name, and the retrieval refuses an
// archive that holds such a name.

namespace orin {

// The most bytes (UTF-8) of one name: what the name field of a plain ustar archive holds.
inline constexpr qsizetype kMaxEntryNameBytes = 100;

// A name (one component of an entry's path) is usable when it is not empty, not "." or "..",
// at most kMaxEntryNameBytes long, and holds no control character and none of "/", "\" and
// ":" (a folder separator or a drive somewhere).
bool IsUsableEntryName(QStringView name);

// The name made usable: every character the rule forbids becomes "_", a name too long is
// shortened before its extension, and a name left empty, "." or ".." becomes "_".
QString UsableEntryName(const QString &name);

} // namespace orin
