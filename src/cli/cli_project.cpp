// SPDX-License-Identifier: MIT
#include "cli/cli_project.h"

#include "settings/app_settings.h"
#include "settings/ini_store.h"
#include "images/load_services.h"
#include "images/size_accounting.h"
#include "model/project_reader.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace orin::cli {

bool IsProjectPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"bjpx" || suffix == u"bjp";
}

QString AbsolutePath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

int CLoadedProject::Load(const QString &path, Streams io, bool readDamaged)
{
    const QString absolute = AbsolutePath(path);
    if (!IsProjectPath(absolute)) {
        io.err << "not a project file (.bjpx or .bjp): " << path << '\n';
        return kExitUsage;
    }
    model.ClearModel();
    damage.clear();
    const bool unicode = QFileInfo(absolute).suffix().toLower() == u"bjpx";
    ProjectIntegrity integrity = ProjectIntegrity::NoRoot;
    if (!LoadProject(absolute, unicode, settings, model.usedSize, model,
                     StandardLoadServices(), &integrity)) {
        io.err << QStringLiteral("ファイルがオープンできません") << ": " << path << '\n';
        return kExitFileError;
    }
    switch (integrity) {
    case ProjectIntegrity::Complete:
        break;
    case ProjectIntegrity::NoRoot:
        io.err << path << ": not a project file (no root element)\n";
        return kExitFileError;
    case ProjectIntegrity::Truncated:
        damage = QStringLiteral("damaged project file: ends before </BMLCAST>");
        break;
    case ProjectIntegrity::ForeignRoot:
        damage = QStringLiteral("damaged project file: the root element is not <BMLCAST>");
        break;
    case ProjectIntegrity::Malformed:
        damage = QStringLiteral("damaged project file: markup inside <BMLCAST> cannot be read");
        break;
    case ProjectIntegrity::Overfull:
        damage = QStringLiteral("damaged project file: a page holds more than 256 items");
        break;
    }
    if (!damage.isEmpty() && !readDamaged) {
        io.err << path << ": " << damage << "; nothing written\n";
        return kExitFileError;
    }
    model.usedSize = TotalDataSize(model);
    return kExitOk;
}

int CLoadedProject::Save(const QString &path, SaveMode mode, Streams io) const
{
    const QString absolute = AbsolutePath(path);
    const FileResult result =
        SaveProject(model, absolute, mode, ContentFolderOf(absolute), settings);
    if (!result.ok) {
        io.err << result.message << '\n';
        return kExitFileError;
    }
    if (!result.message.isEmpty())
        io.err << result.message << '\n';
    return kExitOk;
}

int CLoadedProject::SizeLimit() const
{
    // The limits come from the editor's settings file, so the tool and the editor agree.
    const QString appFolder = QCoreApplication::applicationDirPath();
    const CIniStore store(SettingsFileForReading(appFolder));
    return SelectSizeLimit(SizeLimitsOf(LoadSettings(store, appFolder, QRect())), settings.ExPNG);
}

} // namespace orin::cli
