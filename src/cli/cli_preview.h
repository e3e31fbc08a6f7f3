// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_commands.h"

namespace orin::cli {

// orinedit-cli render FILE OUT.png [--page ID] [--size WxH] [--frames] [--keys KEYS]
int Render(const QStringList &args, Streams io);
// orinedit-cli simulate FILE [--page ID] [--keys KEYS] [--clock HH:MM] [--json] [--trace]
int Simulate(const QStringList &args, Streams io);

} // namespace orin::cli
