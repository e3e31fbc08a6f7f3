// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_commands.h"
#include "model/content_model.h"
#include "model/project_writer.h"

namespace orin::cli {

bool IsProjectPath(const QString &path);
QString AbsolutePath(const QString &path);

// A content set loaded from a file, as the editor's Open command loads it.
class CLoadedProject {
public:
    CContentModel model;
    ProgramSettings settings;

    // Loads the file; prints the reason and returns an exit status on failure. A file without
    // any element is not a project (exit 1). A file with only part of a project (cut short, or
    // another root) fails the same way unless `readDamaged` is set: then what could be read is
    // loaded, `damage` says what is wrong, and the caller reports it.
    int Load(const QString &path, Streams io, bool readDamaged = false);
    // Why the loaded file is not a complete project; empty when it is one.
    QString damage;
    // Saves to `path` with its content folder (the path minus its last four characters).
    int Save(const QString &path, SaveMode mode, Streams io) const;
    // The size limit in KB for this build's edition and the loaded content kind.
    int SizeLimit() const;
};

} // namespace orin::cli
