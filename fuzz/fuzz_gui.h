// SPDX-License-Identifier: MIT
#pragma once

// The targets that decode pictures or draw text need a GUI application (the image plug-ins,
// the fonts), as the editor and the drawing commands of the CLI have: one off-screen
// application for the whole run, made before the first input.

#include "images/font_setup.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QtGlobal>

#include <cstdio>

namespace orin::fuzz {

// Decoders and the platform plug-in complain about every broken input; that chatter would
// drown libFuzzer's own output. Critical and fatal messages still come through.
inline void QuietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

inline void StartGuiApplication(int *argc, char ***argv)
{
    qInstallMessageHandler(QuietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    RegisterFontSubstitutes();
}

} // namespace orin::fuzz
