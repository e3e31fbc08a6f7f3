// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace orin {

// The folders a run writes its private files to, each with a trailing "/".
struct WorkFolders {
    QString work;    // <data folder>temp/XXXX/: display copies and server downloads of this run
    QString convert; // <data folder>DataConvert/
};

// The work folder name of a run: "temp/" + four upper-case hexadecimal digits from a generator
// seeded with `seed` + "/".
QString WorkFolderName(quint32 seed);

// Builds the two folders under the data folder (the application folder, or the per-user data
// folder when that cannot be written) and creates them with their parents. The work folder
// belongs to this run alone: if another run already uses the name made from `seed`, the next
// free name is taken, so that removing it at the end never touches another run's files.
// Creation failures are not reported.
WorkFolders MakeWorkFolders(const QString &dataFolder, quint32 seed);

// Removes the run's work folder with everything in it, at the end of the program; "temp/"
// itself and the conversion folder stay. False when something could not be removed.
bool RemoveWorkFolder(const WorkFolders &folders);

// A folder path with "/" separators and exactly one trailing "/".
QString WithTrailingSlash(const QString &folder);

} // namespace orin
