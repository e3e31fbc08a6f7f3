// SPDX-License-Identifier: MIT
#include "app/file_association.h"

#include "settings/edition_info.h"
#include "model/project_writer.h"
#include "model/safe_file.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace orin {

namespace {

bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size())
        return false;
    return CommitSaveFile(file);
}

bool WriteUtf8File(const QString &path, const QString &text)
{
    return WriteBytes(path, text.toUtf8());
}

// The program's icon into the user's hicolor theme, so that the menu entry and the project
// files show it also when the program runs from a build folder.
bool InstallIcons(const QString &home)
{
    const QString themes = home + QStringLiteral("/icons/hicolor/");
    const struct {
        QString folder;
        QString resource;
        QString name;
    } icons[] = {
        {QStringLiteral("scalable/apps"), QStringLiteral(":/icons/orinedit.svg"),
         QStringLiteral("orinedit.svg")},
        {QStringLiteral("256x256/apps"), QStringLiteral(":/icons/orinedit-256.png"),
         QStringLiteral("orinedit.png")},
        {QStringLiteral("48x48/apps"), QStringLiteral(":/icons/orinedit-48.png"),
         QStringLiteral("orinedit.png")},
    };
    for (const auto &icon : icons) {
        QFile source(icon.resource);
        if (!source.open(QIODevice::ReadOnly) || !CreateFolderPath(themes + icon.folder)
            || !WriteBytes(themes + icon.folder + u'/' + icon.name, source.readAll()))
            return false;
    }
    return true;
}

} // namespace

QString DesktopExecLine(const QString &program)
{
    // Reserved characters of the Exec key force quoting; inside quotes ", `, $ and \ take a
    // backslash, and every backslash is doubled once more for the string value itself.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = false;
    for (const QChar c : program) {
        if (reserved.contains(c))
            quote = true;
    }
    QString value = program;
    value.replace(u'%', QStringLiteral("%%"));
    if (quote) {
        QString escaped;
        for (const QChar c : value) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                escaped += u'\\';
            escaped += c;
        }
        value = u'"' + escaped + u'"';
        value.replace(u'\\', QStringLiteral("\\\\"));
    }
    return value + QStringLiteral(" %f");
}

QString DesktopEntryText(const QString &program, int edition)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Version=1.4\n"
                          "Name=%1\n"
                          "GenericName=Data broadcast content editor\n"
                          "GenericName[ja]=データ放送コンテンツエディタ\n"
                          "Comment=Edit, preview and save data broadcast content sets\n"
                          "Comment[ja]=データ放送コンテンツの編集・プレビュー・保存\n"
                          "Exec=%2\n"
                          "Icon=orinedit\n"
                          "Terminal=false\n"
                          "MimeType=%3;\n"
                          "Categories=Graphics;Qt;\n"
                          "StartupWMClass=orinedit\n")
        .arg(EditionTitle(edition), DesktopExecLine(program), kProjectMimeType);
}

QString MimePackageText(int edition)
{
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"%1\">\n"
               "    <comment>%2 project file</comment>\n"
               "    <comment xml:lang=\"ja\">%3</comment>\n"
               "    <glob pattern=\"*.bjpx\"/>\n"
               "    <glob pattern=\"*.bjp\"/>\n"
               "  </mime-type>\n"
               "</mime-info>\n")
        .arg(kProjectMimeType, EditionTitle(edition), FileTypeName(edition));
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/orinedit-%1.png").arg(size), QSize(size, size));
    return icon;
}

ToolRunner SystemToolRunner()
{
    return [](const QString &tool, const QStringList &arguments) {
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            return false;
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(program, arguments);
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished(1000);
            return false;
        }
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    };
}

bool InstallFileAssociation(const QString &programPath, const QString &dataHome,
                            const ToolRunner &run)
{
    const QString home = QDir::fromNativeSeparators(dataHome);
    const QString applications = home + QStringLiteral("/applications");
    const QString mime = home + QStringLiteral("/mime");
    const QString packages = mime + QStringLiteral("/packages");
    if (!CreateFolderPath(applications) || !CreateFolderPath(packages))
        return false;
    if (!WriteUtf8File(packages + u'/' + kMimeFileName, MimePackageText()))
        return false;
    if (!WriteUtf8File(applications + u'/' + kDesktopFileName, DesktopEntryText(programPath)))
        return false;
    if (!InstallIcons(home))
        return false;
    if (run) {
        run(QStringLiteral("update-mime-database"), {mime});
        run(QStringLiteral("update-desktop-database"), {applications});
        run(QStringLiteral("xdg-mime"), {QStringLiteral("default"), kDesktopFileName,
                                         kProjectMimeType});
    }
    return true;
}

} // namespace orin
