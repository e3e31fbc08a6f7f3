// SPDX-License-Identifier: MIT
#include "cli/cli_commands.h"

#include "actions/action_strings.h"
#include "actions/data_slimming.h"
#include "cli/cli_check.h"
#include "cli/cli_diff.h"
#include "cli/cli_images.h"
#include "cli/cli_pages.h"
#include "cli/cli_preview.h"
#include "cli/cli_project.h"
#include "cli/cli_transmit.h"
#include "cli/cli_webexport.h"
#include "images/size_accounting.h"
#include "model/project_writer.h"
#include "model/settings_json.h"
#include "orin_version.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>

namespace orin::cli {
namespace {

const char kUsage[] =
    "Usage: orinedit-cli COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  info FILE [--json]     print the program settings, the counts of pages, items and\n"
    "                         records, the used size and the size line\n"
    "  convert IN OUT         load IN and save it as OUT (.bjpx: UTF-16, .bjp: code page 932);\n"
    "                         an existing OUT is kept as OUT.bak; OUT may be IN\n"
    "  portable IN OUT        load IN and save a portable copy to OUT, copying every image and\n"
    "                         sound into OUT's content folder; OUT must not exist\n"
    "  renumber IN OUT        number the pages 1, 2, 3... in list order, with every page\n"
    "                         reference following, and save to OUT\n"
    "  slim IN OUT            remove the pictures and materials that nothing refers to, save\n"
    "                         to OUT and print the removed ids\n"
    "  render FILE OUT.png [--page ID] [--size WxH] [--frames] [--keys KEYS]\n"
    "                         draw the page as the editor's canvas shows it (default: the\n"
    "                         first page at 1920x1080), after running KEYS as simulate does\n"
    "  simulate FILE [--page ID] [--keys KEYS] [--clock HH:MM] [--json] [--trace]\n"
    "                         try the page with the remote control on a simulated clock and\n"
    "                         print the state after the start and after each key. KEYS is a\n"
    "                         comma-separated list of enter, up, down, left, right, d, back,\n"
    "                         blue, red, green, yellow, refresh, digit:N (1-10), click:X:Y\n"
    "                         (page coordinates) and wait:MS. --trace also prints, before each\n"
    "                         state, every action entry that ran and what it changed, indented\n"
    "                         by depth (with --json: a \"trace\" array in each state)\n"
    "  check FILE [--safe-area PERCENT] [--json]\n"
    "                         print the navigation findings: broken references (\"error\"),\n"
    "                         pages no path from the first page reaches, items the focus\n"
    "                         never reaches and focus dead ends (\"warning\"), then the\n"
    "                         layout findings (\"warning\"): text-overflow, off-page,\n"
    "                         outside-safe-area (title-safe margin PERCENT a side, default\n"
    "                         5), low-contrast (below 4.5:1, 3:1 for large text),\n"
    "                         picture-cut and size-near-limit (above 90 %), one a line as\n"
    "                         \"SEVERITY CODE LOCATION: MESSAGE\", then the line \"N broken\n"
    "                         references, M warnings\"; exit 1 when there is a broken\n"
    "                         reference. --json prints one object: broken, warnings,\n"
    "                         findings (severity, code, page, item, macro, field, target,\n"
    "                         message) and pages (id, reachable, startFocus, edges, focusMoves)\n"
    "  diff BEFORE AFTER [--json]\n"
    "                         print what changed from BEFORE to AFTER: settings, pages added,\n"
    "                         removed, moved or renumbered, their changed attributes and\n"
    "                         items (added, removed, moved, resized, fields with a word-level\n"
    "                         difference \"[-old-]{+new+}\"), and the changed records, one a\n"
    "                         line, then \"N differences\" (or \"no differences\"). Pages and\n"
    "                         records pair by id and content, so a renumbered copy shows only\n"
    "                         as renumbered. --json prints one object. Exit 0 equal, 1 they\n"
    "                         differ, 2 usage or a file that cannot be read or is damaged\n"
    "  clut [FILE.clt]        print the colour map the editor uses with FILE as its\n"
    "                         default.clt (without FILE: the built-in map), one line\n"
    "                         \"INDEX R G B A\" for each index 0-255; a file that cannot be\n"
    "                         read or is refused prints the built-in map and exits 1\n"
    "  palette IN.png OUT.png [--clut FILE.clt]\n"
    "                         write OUT as IN with the colour map (built-in, or FILE) inserted\n"
    "                         as its palette, so that any viewer shows a colour-map PNG; a PNG\n"
    "                         that has its own palette is copied unchanged; exit 1 when IN is\n"
    "                         not a readable PNG, OUT cannot be written or FILE cannot be used\n"
    "  copydoc IN OUT --pages ID[,ID...]\n"
    "                         write the copy document that dragging those pages out of the\n"
    "                         page list carries (page-table order), as UTF-8 text to OUT\n"
    "  merge IN COPYDOC OUT   merge a copy document (UTF-8, or UTF-16 with its byte-order\n"
    "                         mark) into IN as a drop on the page list does, save to OUT and\n"
    "                         print the new page ids and the page, image, text and macro maps\n"
    "  transmit FILE [--edition N] [--settings FILE.ini]\n"
    "                         send FILE as the transmission command of edition N (default:\n"
    "                         this build's) does, without asking, with the connection\n"
    "                         settings of the editor's settings file (or FILE.ini); prints\n"
    "                         the remote name and the result; exit 0 only when the server\n"
    "                         confirmed the upload\n"
    "  fetch OUT --type T [--number N] [--time \"YYYY/MM/DD hh:mm:ss\"] [--edition N]\n"
    "        [--settings FILE.ini]\n"
    "                         retrieve content from the data-broadcast server as \"サーバー\n"
    "                         から取得\" does (T: 0 on air, 1 number N, 2 recorded at the\n"
    "                         time) and save it as the project OUT with its content folder;\n"
    "                         OUT must not exist\n"
    "  export-web FILE OUTDIR write the web player of FILE into OUTDIR (which must not exist\n"
    "                         or must be empty): index.html, the player, content.js and a\n"
    "                         copy of every picture, material, background and sound; files\n"
    "                         that cannot be read are listed as warnings and shown as the\n"
    "                         placeholder picture; a failed export leaves nothing behind.\n"
    "                         Prints the path of index.html\n"
    "  --help                 show this text\n"
    "  --version              show the version\n"
    "\n"
    "A damaged input (cut short, not a <BMLCAST> project, markup inside it that cannot be\n"
    "read, a page with more than 256 items) is never written anywhere: the writing commands\n"
    "refuse it; info shows what could be read and says it is damaged. merge refuses a copy\n"
    "document damaged the same way and writes nothing.\n"
    "\n"
    "Exit status: 0 success, 1 a file could not be read or written, or is not a complete\n"
    "project (check: also a broken reference; diff: the sets differ, while a file that\n"
    "cannot be read or is damaged exits 2; transmit, fetch: the transfer did not\n"
    "succeed; export-web: OUTDIR is not an empty folder), 2 usage error.\n";

int Usage(Streams io, const QString &problem)
{
    if (!problem.isEmpty())
        io.err << problem << '\n';
    io.err << kUsage;
    return kExitUsage;
}

int UsedItemSlots(const CContentModel &model)
{
    int items = 0;
    for (const auto &page : model.pages)
        items += std::clamp(page->itemCount, 0, kItemSlots);
    return items;
}

int Info(const QStringList &args, Streams io)
{
    const bool json = args.contains(QStringLiteral("--json"));
    QStringList files = args;
    files.removeAll(QStringLiteral("--json"));
    if (files.size() != 1)
        return Usage(io, QStringLiteral("info takes one FILE"));

    CLoadedProject project;
    if (const int code = project.Load(files.first(), io, true); code != kExitOk)
        return code;
    // What could be read of a damaged file is shown all the same; the status says it is not
    // a project to rely on.
    const int status = project.damage.isEmpty() ? kExitOk : kExitFileError;
    if (status != kExitOk)
        io.err << files.first() << ": " << project.damage << "; only what could be read is shown\n";
    const CContentModel &m = project.model;
    const ProgramSettings &s = project.settings;
    const int limit = project.SizeLimit();
    const qint64 used = m.usedSize;

    if (json) {
        QJsonObject o{
            {QStringLiteral("pages"), m.pages.Count()},
            {QStringLiteral("items"), UsedItemSlots(m)},
            {QStringLiteral("materials"), m.materials.Count()},
            {QStringLiteral("pictures"), m.pictures.Count()},
            {QStringLiteral("texts"), m.texts.Count()},
            {QStringLiteral("channels"), m.channels.Count()},
            {QStringLiteral("webPages"), m.webPages.Count()},
            {QStringLiteral("macros"), m.macros.Count()},
            {QStringLiteral("sounds"), m.sounds.Count()},
            {QStringLiteral("functions"), m.functions.Count()},
            {QStringLiteral("usedSize"), used},
            {QStringLiteral("sizeLimit"), limit},
            {QStringLiteral("sizeLine"), FormatSizeLine(used, limit, SizeForm::Binary)},
            {QStringLiteral("sizeLineDecimal"), FormatSizeLine(used, limit, SizeForm::Decimal)},
            {QStringLiteral("settings"), SettingsJson(s)},
        };
        io.out << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented));
        return status;
    }

    io.out << "File: " << QFileInfo(files.first()).absoluteFilePath() << '\n';
    io.out << "Program settings:\n";
    const QJsonObject settings = SettingsJson(s);
    static const char *const kOrder[] = {"TransChannel", "TimerMode", "CursorSize", "FileIDName",
                                         "ModeScreen", "BackImagePage", "ExPNG", "Vertical",
                                         "ConvertAAC", "NumAAC", "IDConv", "homeID"};
    for (const char *key : kOrder) {
        const QJsonValue v = settings.value(QLatin1String(key));
        io.out << "  " << key << ": "
               << (v.isString() ? v.toString() : QString::number(v.toInt())) << '\n';
    }
    io.out << "Pages: " << m.pages.Count() << '\n'
           << "Items: " << UsedItemSlots(m) << '\n'
           << "Materials: " << m.materials.Count() << '\n'
           << "Pictures: " << m.pictures.Count() << '\n'
           << "Texts: " << m.texts.Count() << '\n'
           << "Channels: " << m.channels.Count() << '\n'
           << "Web pages: " << m.webPages.Count() << '\n'
           << "Macros: " << m.macros.Count() << '\n'
           << "Sounds: " << m.sounds.Count() << '\n'
           << "Functions: " << m.functions.Count() << '\n'
           << "Used size: " << used << " bytes\n"
           << "Size limit: " << limit << " KB\n"
           << "Size: " << FormatSizeLine(used, limit, SizeForm::Binary) << '\n'
           << "Size (decimal): " << FormatSizeLine(used, limit, SizeForm::Decimal) << '\n';
    return status;
}

// Loads IN, lets `change` work on it, and saves OUT the way the Save command does.
int Transform(const QString &command, const QStringList &args, Streams io,
              const std::function<void(CLoadedProject &)> &change)
{
    if (args.size() != 2)
        return Usage(io, command + QStringLiteral(" takes IN and OUT"));
    if (!IsProjectPath(args.at(1)))
        return Usage(io, QStringLiteral("OUT must end in .bjpx or .bjp: ") + args.at(1));
    CLoadedProject project;
    if (const int code = project.Load(args.at(0), io); code != kExitOk)
        return code;
    if (change)
        change(project);
    return project.Save(args.at(1), SaveMode::Plain, io);
}

int Portable(const QStringList &args, Streams io)
{
    if (args.size() != 2)
        return Usage(io, QStringLiteral("portable takes IN and OUT"));
    const QString out = AbsolutePath(args.at(1));
    if (!IsProjectPath(out))
        return Usage(io, QStringLiteral("OUT must end in .bjpx or .bjp: ") + args.at(1));
    if (QFileInfo::exists(out)) {
        io.err << QStringLiteral("ポータブル保存の上書き保存はできません") << '\n';
        return kExitFileError;
    }
    CLoadedProject project;
    if (const int code = project.Load(args.at(0), io); code != kExitOk)
        return code;
    if (!CreateFolderPath(ContentFolderOf(out))) {
        io.err << ContentFolderOf(out) << QStringLiteral(" を作成できません") << '\n';
        return kExitFileError;
    }
    return project.Save(out, SaveMode::Portable, io);
}

} // namespace

int Run(const QStringList &args, Streams io)
{
    if (args.isEmpty())
        return Usage(io, QString());
    const QString command = args.first();
    const QStringList rest = args.mid(1);
    if (command == u"--help" || command == u"-h" || command == u"help") {
        io.out << kUsage;
        return kExitOk;
    }
    if (command == u"--version") {
        io.out << "orinedit-cli " << kVersion << '\n';
        return kExitOk;
    }
    if (command == u"info")
        return Info(rest, io);
    if (command == u"clut")
        return Clut(rest, io);
    if (command == u"palette")
        return Palette(rest, io);
    if (command == u"convert")
        return Transform(command, rest, io, nullptr);
    if (command == u"portable")
        return Portable(rest, io);
    if (command == u"render")
        return Render(rest, io);
    if (command == u"simulate")
        return Simulate(rest, io);
    if (command == u"check")
        return Check(rest, io);
    if (command == u"diff")
        return Diff(rest, io);
    if (command == u"renumber")
        return Transform(command, rest, io, [](CLoadedProject &p) { RenumberPages(p.model); });
    if (command == u"slim") {
        // The removed ids are printed once the slimmer set is saved.
        QStringList removedLines;
        const int code = Transform(command, rest, io, [&removedLines](CLoadedProject &p) {
            for (const RemovedImage &r : SlimUnusedImages(p.model))
                removedLines << (r.material ? QStringLiteral("material %1") : QStringLiteral("picture %1")).arg(r.id);
        });
        if (code == kExitOk)
            io.out << (removedLines.isEmpty() ? QStringLiteral("nothing to remove") : removedLines.join(u'\n')) << '\n';
        return code;
    }
    if (command == u"copydoc")
        return CopyDocCommand(rest, io);
    if (command == u"merge")
        return MergeCommand(rest, io);
    if (command == u"transmit")
        return TransmitCommand(rest, io);
    if (command == u"fetch")
        return FetchCommand(rest, io);
    if (command == u"export-web")
        return ExportWebCommand(rest, io);
    return Usage(io, QStringLiteral("unknown command: ") + command);
}

} // namespace orin::cli
