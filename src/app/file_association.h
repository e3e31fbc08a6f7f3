// SPDX-License-Identifier: MIT
#pragma once

#include "orin_version.h"

#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <functional>

class QIcon;

// The desktop's association of project files (*.bjpx, *.bjp) with the editor: a shared-mime-info
// type, a desktop entry and the program's icon, installed into the user's data folder and
// announced to the desktop's tools. packaging/ holds the same files for the package.

namespace orin {

inline constexpr QLatin1String kProjectMimeType("application/x-orinedit-project");
inline constexpr QLatin1String kDesktopFileName("orinedit.desktop");
inline constexpr QLatin1String kMimeFileName("orinedit-bjpx.xml");

// The desktop entry that starts `program` (a path or a name looked up in PATH) with a file.
QString DesktopEntryText(const QString &program, int edition = kEdition);

// The shared-mime-info package that defines the project file type (globs *.bjpx and *.bjp).
QString MimePackageText(int edition = kEdition);

// The Exec value for the program and one file: the program quoted as desktop entries require
// when it holds blanks or reserved characters, then " %f".
QString DesktopExecLine(const QString &program);

// The program's icon in every size the package installs (window icon of the editor).
QIcon ProgramIcon();

// Runs a desktop tool with its arguments; false when the tool is missing or fails.
using ToolRunner = std::function<bool(const QString &tool, const QStringList &arguments)>;

// Runs tools found in PATH, waiting at most a few seconds for each.
ToolRunner SystemToolRunner();

// Writes <dataHome>/applications/orinedit.desktop, <dataHome>/mime/packages/orinedit-bjpx.xml
// and the icon into <dataHome>/icons/hicolor (scalable, 256 and 48 pixels), then runs update-mime-database, update-desktop-database and "xdg-mime default" through
// `run`. Returns false when a file could not be written; the tools' results are not reported,
// since a desktop without them still reads the files at its next start.
bool InstallFileAssociation(const QString &programPath, const QString &dataHome,
                            const ToolRunner &run);

} // namespace orin
