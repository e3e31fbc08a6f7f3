// SPDX-License-Identifier: MIT
// The navigation and layout findings from the command line: what the editor's navigation map
// lists.
#include "cli/cli_check.h"

#include "actions/navigation_analysis.h"
#include "cli/cli_project.h"
#include "images/colour_map.h"
#include "preview/layout_findings.h"
#include "preview/work_folder_images.h"
#include "settings/app_settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace orin::cli {

namespace {

QString Message(const Finding &f)
{
    const QString target = QString::number(f.target);
    switch (f.kind) {
    case FindingKind::UnreachablePage: return QStringLiteral("no path from the first page leads here");
    case FindingKind::UnreachedItem: return QStringLiteral("the focus never reaches this item");
    case FindingKind::FocusDeadEnd: return QStringLiteral("no arrow key leads anywhere from this item");
    case FindingKind::MissingPage: return QStringLiteral("page ") + target + QStringLiteral(" does not exist");
    case FindingKind::MissingItem: return QStringLiteral("item ") + target + QStringLiteral(" does not exist on the page");
    case FindingKind::MissingText: return QStringLiteral("text ") + target + QStringLiteral(" does not exist");
    case FindingKind::MissingMacro: return QStringLiteral("macro ") + target + QStringLiteral(" does not exist");
    case FindingKind::MissingImage: return QStringLiteral("image ") + target + QStringLiteral(" does not exist");
    }
    return QString();
}

// "page 3 item 2 macro 4 ret", the parts that apply.
QString Location(const Finding &f)
{
    QStringList parts;
    if (f.pageId != 0)
        parts << QStringLiteral("page %1").arg(f.pageId);
    if (f.itemId != 0)
        parts << QStringLiteral("item %1").arg(f.itemId);
    if (f.macroId != 0)
        parts << QStringLiteral("macro %1").arg(f.macroId);
    if (!f.field.isEmpty() && f.field != u"macro")
        parts << f.field;
    return parts.join(u' ');
}

QJsonObject FindingJson(const Finding &f)
{
    return QJsonObject{
        {QStringLiteral("severity"), IsBrokenReference(f.kind) ? QStringLiteral("error") : QStringLiteral("warning")},
        {QStringLiteral("code"), FindingCode(f.kind)},
        {QStringLiteral("page"), f.pageId},
        {QStringLiteral("item"), f.itemId},
        {QStringLiteral("macro"), f.macroId},
        {QStringLiteral("field"), f.field},
        {QStringLiteral("target"), f.target},
        {QStringLiteral("message"), Message(f)},
    };
}

QJsonObject LayoutJson(const LayoutFinding &f)
{
    return QJsonObject{
        {QStringLiteral("severity"), QStringLiteral("warning")},
        {QStringLiteral("code"), LayoutFindingCode(f.code)},
        {QStringLiteral("page"), f.pageId},
        {QStringLiteral("item"), f.itemId},
        {QStringLiteral("macro"), 0},
        {QStringLiteral("field"), QString()},
        {QStringLiteral("target"), 0},
        {QStringLiteral("message"), f.message},
    };
}

QString LayoutLine(const LayoutFinding &f)
{
    QStringList parts{QStringLiteral("warning"), LayoutFindingCode(f.code)};
    if (f.pageId != 0)
        parts << QStringLiteral("page %1").arg(f.pageId);
    if (f.itemId != 0)
        parts << QStringLiteral("item %1").arg(f.itemId);
    return parts.join(u' ') + QStringLiteral(": ") + f.message;
}

// The layout findings with the colour map and the size limit the editor would use; the
// pictures are painted from private copies in a folder of their own.
std::vector<LayoutFinding> LayoutFindings(const CLoadedProject &project, int safeArea,
                                          const QString &workFolder, Streams io)
{
    CColourMap map;
    QString why;
    const QString appFolder = QCoreApplication::applicationDirPath();
    if (!LoadStartupColourMap(map, appFolder, SettingsFolder(appFolder), &why))
        io.err << why << '\n';
    CWorkFolderImages images(map, workFolder);
    LayoutCheckOptions options;
    options.safeAreaPercent = safeArea;
    options.sizeLimitKb = project.SizeLimit();
    return FindLayoutProblems(project.model, project.settings, map, images, options);
}

QJsonArray PagesJson(const CContentModel &model, const NavigationAnalysis &a)
{
    QJsonArray pages;
    for (const PageNavigation &page : a.pages) {
        QJsonArray edges;
        for (const PageEdge &e : a.edges) {
            if (e.from == page.pageId)
                edges.append(QJsonObject{{QStringLiteral("to"), e.to},
                                         {QStringLiteral("item"), e.itemId},
                                         {QStringLiteral("macro"), e.macroId},
                                         {QStringLiteral("via"), e.via}});
        }
        QJsonArray moves;
        for (const FocusMove &m : page.focusMoves)
            moves.append(QJsonObject{{QStringLiteral("from"), m.from},
                                     {QStringLiteral("to"), m.to},
                                     {QStringLiteral("macro"), m.macroId},
                                     {QStringLiteral("via"), m.via}});
        const bool reachable = std::find(a.reachablePages.begin(), a.reachablePages.end(),
                                         page.pageId) != a.reachablePages.end();
        Q_UNUSED(model)
        pages.append(QJsonObject{{QStringLiteral("id"), page.pageId},
                                 {QStringLiteral("reachable"), reachable},
                                 {QStringLiteral("startFocus"), page.startFocus},
                                 {QStringLiteral("edges"), edges},
                                 {QStringLiteral("focusMoves"), moves}});
    }
    return pages;
}

} // namespace

int Check(const QStringList &argsIn, Streams io)
{
    QStringList args = argsIn;
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    int safeArea = kTitleSafePercent;
    if (const qsizetype at = args.indexOf(QStringLiteral("--safe-area")); at >= 0) {
        bool ok = false;
        safeArea = at + 1 < args.size() ? args.at(at + 1).toInt(&ok) : -1;
        if (!ok || safeArea < 0 || safeArea > kMaxSafeArea) {
            io.err << "--safe-area takes a margin of 0 to 45 percent\n";
            return kExitUsage;
        }
        args.remove(at, 2);
    }
    if (args.size() != 1 || args.first().startsWith(u"--")) {
        io.err << "check takes one FILE, --safe-area PERCENT and --json\n";
        return kExitUsage;
    }
    CLoadedProject project;
    if (const int code = project.Load(args.first(), io); code != kExitOk)
        return code;
    const NavigationAnalysis analysis = AnalyseNavigation(project.model, project.settings);
    const QTemporaryDir work;
    if (!work.isValid()) {
        io.err << "cannot make a work folder: " << work.errorString() << '\n';
        return kExitFileError;
    }
    const std::vector<LayoutFinding> layout = LayoutFindings(project, safeArea, work.path(), io);
    const int broken = analysis.BrokenCount();
    const int warnings = int(analysis.findings.size()) - broken + int(layout.size());
    if (json) {
        QJsonArray findings;
        for (const Finding &f : analysis.findings)
            findings.append(FindingJson(f));
        for (const LayoutFinding &f : layout)
            findings.append(LayoutJson(f));
        const QJsonObject o{
            {QStringLiteral("file"), QFileInfo(args.first()).absoluteFilePath()},
            {QStringLiteral("broken"), broken},
            {QStringLiteral("warnings"), warnings},
            {QStringLiteral("findings"), findings},
            {QStringLiteral("pages"), PagesJson(project.model, analysis)},
        };
        io.out << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented));
    } else {
        for (const Finding &f : analysis.findings) {
            io.out << (IsBrokenReference(f.kind) ? "error " : "warning ") << FindingCode(f.kind)
                   << ' ' << Location(f) << ": " << Message(f) << '\n';
        }
        for (const LayoutFinding &f : layout)
            io.out << LayoutLine(f) << '\n';
        io.out << broken << " broken references, " << warnings << " warnings\n";
    }
    return broken > 0 ? kExitFileError : kExitOk;
}

} // namespace orin::cli
