// SPDX-License-Identifier: MIT
#include "cli/cli_webexport.h"

#include "cli/cli_project.h"
#include "images/colour_map.h"
#include "preview/screen_pictures.h"
#include "settings/app_settings.h"
#include "webexport/web_export.h"

#include <QCoreApplication>

namespace orin::cli {

int ExportWebCommand(const QStringList &args, Streams io)
{
    if (args.size() != 2) {
        io.err << "export-web takes FILE and OUTDIR\n"
               << "Run \"orinedit-cli --help\" for the commands.\n";
        return kExitUsage;
    }
    CLoadedProject project;
    if (const int code = project.Load(args.at(0), io); code != kExitOk)
        return code;
    // The colour map the editor would use, as render and simulate take it.
    CColourMap map;
    QString why;
    const QString appFolder = QCoreApplication::applicationDirPath();
    if (!LoadStartupColourMap(map, appFolder, SettingsFolder(appFolder), &why))
        io.err << why << '\n';
    const ScreenPictures &screens = SharedScreenPictures();
    const WebExportInput input{project.model, project.settings, map,
                               {{QStringLiteral("video"), screens.video},
                                {QStringLiteral("guide"), screens.guide},
                                {QStringLiteral("otherChannel"), screens.otherChannel},
                                {QStringLiteral("web"), screens.web}}};
    const WebExportResult result = ExportForWeb(input, args.at(1));
    for (const QString &warning : result.warnings)
        io.err << "warning: " << warning << '\n';
    if (!result.ok) {
        io.err << result.error << '\n';
        return kExitFileError;
    }
    io.out << AbsolutePath(args.at(1)) << "/index.html\n";
    return kExitOk;
}

} // namespace orin::cli
