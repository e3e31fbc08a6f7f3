// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_commands.h"

namespace orin::cli {

// export-web FILE OUTDIR: writes the web player of the content set into OUTDIR.
int ExportWebCommand(const QStringList &args, Streams io);

} // namespace orin::cli
