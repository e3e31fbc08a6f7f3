// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_commands.h"

// The page copy commands of the tool: the copy document that a drag of pages out of the page
// list carries, and the merge that a drop of it onto the page list does.

namespace orin::cli {

// copydoc IN OUT --pages ID[,ID...]
int CopyDocCommand(const QStringList &args, Streams io);

// merge IN COPYDOC OUT
int MergeCommand(const QStringList &args, Streams io);

} // namespace orin::cli
