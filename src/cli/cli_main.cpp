// SPDX-License-Identifier: MIT
// orinedit-cli: converts and inspects content sets in batches.

#include "cli/cli_commands.h"
#include "images/font_setup.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The tool's output is a contract that other programs read: Qt's own debug messages and
// warnings about the input (a file name holding a zero character, a picture's decoder
// complaining) stay out of it; the tool says itself what failed. Critical and fatal messages
// still reach stderr.
void KeepQtQuiet(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg)
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(KeepQtQuiet);
    // Measuring JPEG and GIF pictures needs the image plug-ins, which a core application
    // loads. Only a command that draws text starts a platform plug-in (the off-screen one):
    // the others must not look for (or create) a runtime folder and warn about it.
    std::unique_ptr<QTemporaryDir> runtimeFolder;
    std::unique_ptr<QCoreApplication> app;
    // render and export-web draw pictures with text.
    if (argc > 1 && (std::strcmp(argv[1], "render") == 0 || std::strcmp(argv[1], "export-web") == 0)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // The plug-in wants a runtime folder; without one it would make a lasting one in /tmp
        // and warn. A private folder that goes with the run stands in for it.
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            runtimeFolder = std::make_unique<QTemporaryDir>();
            if (runtimeFolder->isValid()) {
                QFile::setPermissions(runtimeFolder->path(), QFileDevice::ReadOwner
                                      | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder->path()));
            }
        }
        app = std::make_unique<QGuiApplication>(argc, argv);
        orin::RegisterFontSubstitutes();
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // The same name as the editor, so both find the settings in the same per-user folder.
    QCoreApplication::setApplicationName(QStringLiteral("orinedit"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const int code = orin::cli::Run(args, {out, err});
    out.flush();
    err.flush();
    app.reset();
    return code;
}
