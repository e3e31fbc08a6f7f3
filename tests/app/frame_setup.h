// SPDX-License-Identifier: MIT
#pragma once

#include "app/main_frame.h"

#include <QRect>
#include <QString>

namespace orin::test {

// A main window under test: the application folder given, a full-HD work area, the scripted
// prompt, a fixed work-folder name, and a file association that writes into the folder and
// only pretends to run the desktop tools.
inline FrameSetup TestFrameSetup(const QString &appFolder, CPrompt *prompt, int workFolderSeed = 7)
{
    FrameSetup setup;
    setup.appFolder = appFolder;
    setup.workArea = QRect(0, 0, 1920, 1080);
    setup.prompt = prompt;
    setup.workFolderSeed = workFolderSeed;
    setup.associationDataHome = appFolder + QStringLiteral("/share");
    setup.associationTools = [](const QString &, const QStringList &) { return true; };
    return setup;
}

} // namespace orin::test
