// SPDX-License-Identifier: MIT
#pragma once

#include "model/file_result.h"

#include <QByteArray>
#include <QString>

namespace orin {

// Replaces the file at `path` with `bytes` so that a failure never costs the operator a file:
// the bytes go to a new temporary file in the same folder first; only when that is written
// and flushed does the previous file become "<path>.bak" (an older .bak is dropped) and the
// temporary file take the name. On any failure the previous file and its .bak stay as they
// were and the result names the file and the reason.
FileResult ReplaceFileKeepingBackup(const QString &path, const QByteArray &bytes);

// Writes `bytes` to `path` through a temporary file renamed over it, without a backup.
FileResult WriteFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace orin
