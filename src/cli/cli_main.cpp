// SPDX-License-Identifier: MIT
// orinedit-cli: converts and inspects content sets in batches.

#include "cli/cli_commands.h"
#include "images/font_setup.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    // Measuring JPEG and GIF pictures needs the image plug-ins, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The same name as the editor, so both find the settings in the same per-user folder.
    QCoreApplication::setApplicationName(QStringLiteral("orinedit"));
    orin::RegisterFontSubstitutes();

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments();
    args.removeFirst();
    const int code = orin::cli::Run(args, {out, err});
    out.flush();
    err.flush();
    return code;
}
