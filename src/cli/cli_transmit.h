// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_commands.h"

// The transmission commands of the tool: what "伝送実行" and "サーバーから取得" do in an
// edition, without questions, with the connection settings of the editor's settings file.

namespace orin::cli {

// transmit FILE [--edition N] [--settings FILE.ini]
int TransmitCommand(const QStringList &args, Streams io);

// fetch OUT --type T [--number N] [--time "YYYY/MM/DD hh:mm:ss"] [--edition N]
//       [--settings FILE.ini]
int FetchCommand(const QStringList &args, Streams io);

} // namespace orin::cli
