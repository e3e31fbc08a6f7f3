// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QTextStream>

namespace orin::cli {

// Exit statuses of the tool.
enum ExitCode { kExitOk = 0, kExitFileError = 1, kExitUsage = 2 };

struct Streams {
    QTextStream &out;
    QTextStream &err;
};

// Runs the command line (without the program name) and returns the exit status.
int Run(const QStringList &args, Streams io);

} // namespace orin::cli
