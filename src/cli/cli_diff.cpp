// SPDX-License-Identifier: MIT
// The content difference from the command line: the same comparison as the editor's
// comparison dock.
#include "cli/cli_diff.h"

#include "actions/content_diff.h"
#include "cli/cli_project.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace orin::cli {

int Diff(const QStringList &argsIn, Streams io)
{
    QStringList args = argsIn;
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    if (args.size() != 2 || args.at(0).startsWith(u"--") || args.at(1).startsWith(u"--")) {
        io.err << "diff takes BEFORE AFTER and --json\n";
        return kExitUsage;
    }
    // A file that cannot be read is trouble, not a difference: exit 2, as diff does. Load has
    // said why on stderr.
    CLoadedProject before;
    if (before.Load(args.at(0), io) != kExitOk)
        return kExitUsage;
    CLoadedProject after;
    if (after.Load(args.at(1), io) != kExitOk)
        return kExitUsage;
    const QString beforePath = AbsolutePath(args.at(0));
    const QString afterPath = AbsolutePath(args.at(1));
    const ContentDiff diff = DiffContent({before.model, before.settings, beforePath},
                                         {after.model, after.settings, afterPath});
    if (json) {
        QJsonObject o = DiffJson(diff);
        o.insert(QStringLiteral("before"), beforePath);
        o.insert(QStringLiteral("after"), afterPath);
        io.out << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented));
    } else {
        const QStringList lines = DiffReportLines(diff);
        for (const QString &line : lines)
            io.out << line << '\n';
        if (lines.isEmpty())
            io.out << "no differences\n";
        else if (lines.size() == 1)
            io.out << "1 difference\n";
        else
            io.out << lines.size() << " differences\n";
    }
    return diff.IsEmpty() ? kExitOk : kExitFileError;
}

} // namespace orin::cli
