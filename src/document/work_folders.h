// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace orin {

// The folders a run writes its private files to, each with a trailing "/".
struct WorkFolders {
    QString work;    // <data folder>temp/XXXX/: display copies and server downloads of this run
    QString convert; // <data folder>DataConvert/
    // The run's claim on its work folder: temp/XXXX.lock, held while the run lives (with its pid,
    // and a file lock that ends with the process).
    std::shared_ptr<QLockFile> lock;
};

// The work folder name of a run: "temp/" + four upper-case hexadecimal digits from a generator
// seeded with `seed` + "/".
QString WorkFolderName(quint32 seed);

// Removes the work folders under <data folder>temp/ ("XXXX", four hexadecimal digits) of runs
// that are no longer alive: a killed or crashed run cannot remove its own. A folder whose lock
// is held by a running process stays; one whose lock names a process that is gone, or that has
// no lock at all, goes with its lock. Returns how many folders were removed.
int RemoveAbandonedWorkFolders(const QString &dataFolder);

// Builds the two folders under the data folder (the application folder, or the per-user data
// folder when that cannot be written) and creates them with their parents. The work folder
// belongs to this run alone: if another run already uses the name made from `seed`, the next
// free name is taken, so that removing it at the end never touches another run's files. The
// lock is taken before the folder is made. Work folders of runs that are no longer alive are
// removed first. Creation failures are not reported.
WorkFolders MakeWorkFolders(const QString &dataFolder, quint32 seed);

// Removes the run's work folder with everything in it, at the end of the program, then lets its
// lock go; "temp/" itself and the conversion folder stay. False when something could not be
// removed.
bool RemoveWorkFolder(const WorkFolders &folders);

// A folder path with "/" separators and exactly one trailing "/".
QString WithTrailingSlash(const QString &folder);

} // namespace orin
