// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QString>
#include <QStringList>

// The package an upload sends: a portable save of the content set, "<name>.bjpx" with its
// content folder "<name>.", both in the package folder, archived as one uncompressed ustar
// file "<name>.tar" there. Entries are regular files and folders only, named in UTF-8 and
// sorted, so that the same content always gives the same archive.

namespace orin {

// Builds the package and returns the path of its archive, or an empty path (with the reason
// in `error`) when the content set could not be saved completely or the archive not be
// written. Leftovers of an earlier package of the same name are removed first.
QString BuildPackage(const CContentModel &model, const ProgramSettings &settings,
                     const QString &packageFolder, const QString &name,
                     QString *error = nullptr);

// Removes the archive, the project file and the content folder of the package.
void DeletePackage(const QString &packageFolder, const QString &name);

// Writes the entries (paths relative to `baseFolder`; folders are walked, their contents
// added) as an uncompressed ustar archive, every entry sorted by name. Links, devices and
// other special files are left out. False, with the reason, when something cannot be read
// or written (a name too long for ustar among them); no archive is left behind then.
bool WriteTarArchive(const QString &baseFolder, const QStringList &entries,
                     const QString &archivePath, QString *error = nullptr);

} // namespace orin
