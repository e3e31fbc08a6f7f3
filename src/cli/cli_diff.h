// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_commands.h"

namespace orin::cli {

// diff BEFORE AFTER [--json]: what changed between two content sets. Exit 0 when they are the
// same, 1 when they differ, 2 on a usage error or when either file cannot be read or is damaged
// (trouble, not a difference).
int Diff(const QStringList &args, Streams io);

} // namespace orin::cli
