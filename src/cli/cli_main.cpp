// SPDX-License-Identifier: MIT
// orinedit-cli: converts and inspects content sets in batches.

#include "cli/cli_commands.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    // Measuring JPEG and GIF pictures needs the image plug-ins, which a core application
    // loads. No platform plug-in is started: it would look for (and create) a runtime folder
    // and warn about it, and the tool draws nothing.
    QCoreApplication app(argc, argv);
    // The same name as the editor, so both find the settings in the same per-user folder.
    QCoreApplication::setApplicationName(QStringLiteral("orinedit"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments();
    args.removeFirst();
    const int code = orin::cli::Run(args, {out, err});
    out.flush();
    err.flush();
    return code;
}
