// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_commands.h"

namespace orin::cli {

// check FILE [--json]: the navigation findings of a content set. Exit 0 when nothing refers to a
// page, item, text, macro or image that does not exist, 1 when something does (or the file
// cannot be read), 2 on a usage error.
int Check(const QStringList &args, Streams io);

} // namespace orin::cli
