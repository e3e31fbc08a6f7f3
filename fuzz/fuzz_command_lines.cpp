// SPDX-License-Identifier: MIT
// Both programs' command lines. The first byte picks the program; then words from each
// program's vocabulary (commands, options, values, the names of files in a scratch folder) or
// any text without a "/", so that nothing outside the scratch folder can be named.
//   orinedit:     ParseCommandLine gives a start file that is one of the arguments and no
//                 option; an option put in front changes nothing else; a file name or "--help"
//                 put at the end is the start file or asks for help.
//   orinedit-cli: the exit status is 0, 1 or 2; a usage error says why; a command that fails
//                 leaves every file as it was; a file no argument names never changes; a
//                 project written with status 0 reads back whole; --json prints JSON.
// "render" and "export-web" are left out (fuzz_render covers the renderer and the export has
// tests of its own). The target runs under the off-screen GUI application that the CLI starts
// for its drawing commands, since "check" and "simulate" lay out text and draw placeholders;
// a command that needs none runs the same under it.
// "transmit" and "fetch" would reach for a server and are left out.

#include "fuzz_check.h"
#include "fuzz_gui.h"

#include "app/command_line.h"
#include "cli/cli_commands.h"
#include "model/project_integrity.h"
#include "model/project_reader.h"
#include "images/load_services.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QMap>
#include <QTextStream>

#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

using namespace orin;

namespace {

QString Scratch()
{
    static const QString path =
        FuzzScratchDir() + QStringLiteral("/orin-fuzz-cli-%1").arg(::getpid());
    return path;
}

// The files every input starts with, copied once from fuzz/cli_fixtures/
// (a project whose pictures are missing, a code page 932 project, a damaged one, a copy
// document, a PNG and a colour map).
struct Fixture {
    QString name;
    QByteArray bytes;
};

QList<Fixture> &Fixtures()
{
    static QList<Fixture> fixtures;
    return fixtures;
}

void Reset()
{
    QDir(Scratch()).removeRecursively();
    QDir().mkpath(Scratch() + QStringLiteral("/dir"));
    for (const Fixture &fixture : Fixtures()) {
        QFile file(Scratch() + u'/' + fixture.name);
        ORIN_FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(fixture.bytes)
                        == fixture.bytes.size());
    }
}

using Snapshot = QMap<QString, QByteArray>;

Snapshot Take()
{
    Snapshot files;
    QDirIterator it(Scratch(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        const QString name = path.mid(Scratch().size() + 1);
        files.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll()
                                                           : QByteArrayLiteral("<folder>"));
    }
    return files;
}

QString FreeText(FuzzedDataProvider &input)
{
    const std::string bytes = input.ConsumeRandomLengthString(40);
    QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    text.replace(u'/', u'_');
    return text;
}

QString Word(FuzzedDataProvider &input, const QStringList &vocabulary)
{
    const int pick = input.ConsumeIntegralInRange<int>(0, int(vocabulary.size()));
    return pick == vocabulary.size() ? FreeText(input) : vocabulary.at(pick);
}

void CheckEditorCommandLine(FuzzedDataProvider &input)
{
    static const QStringList words = {
        QStringLiteral("-s"),     QStringLiteral("-e"),        QStringLiteral("-v"),
        QStringLiteral("-S"),     QStringLiteral("-ex"),       QStringLiteral("--help"),
        QStringLiteral("--version"), QStringLiteral("--lang"), QStringLiteral("--lang=en"),
        QStringLiteral("ja"),     QStringLiteral("a.bjpx"),    QStringLiteral("-"),
        QString(),
    };
    QStringList args;
    const int count = input.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < count; ++i)
        args << Word(input, words);
    const CommandLine parsed = ParseCommandLine(args);
    ORIN_FUZZ_CHECK(parsed.startFile.isEmpty()
                    || (args.contains(parsed.startFile) && !parsed.startFile.startsWith(u'-')));
    const CommandLine sending = ParseCommandLine(QStringList{QStringLiteral("-s")} + args);
    ORIN_FUZZ_CHECK(sending.autoSend && sending.startFile == parsed.startFile
                    && sending.autoExit == parsed.autoExit && sending.showHelp == parsed.showHelp
                    && sending.showVersion == parsed.showVersion
                    && sending.language == parsed.language);
    // The last word takes no value when it is no value-taking option.
    const bool pending = !args.isEmpty()
                         && (args.last() == u"--lang" || args.last().left(2).toLower() == u"-v");
    if (!pending) {
        ORIN_FUZZ_CHECK(ParseCommandLine(args + QStringList{QStringLiteral("z.bjpx")}).startFile
                        == u"z.bjpx");
        ORIN_FUZZ_CHECK(ParseCommandLine(args + QStringList{QStringLiteral("--help")}).showHelp);
    }
}

bool WritesProject(const QString &command)
{
    return command == u"convert" || command == u"portable" || command == u"renumber"
           || command == u"slim" || command == u"merge";
}

void CheckToolCommandLine(FuzzedDataProvider &input)
{
    static const QStringList commands = {
        QStringLiteral("info"),     QStringLiteral("convert"), QStringLiteral("portable"),
        QStringLiteral("renumber"), QStringLiteral("slim"),    QStringLiteral("simulate"),
        QStringLiteral("check"),    QStringLiteral("clut"),    QStringLiteral("palette"),
        QStringLiteral("copydoc"),  QStringLiteral("merge"),   QStringLiteral("--help"),
        QStringLiteral("help"),     QStringLiteral("--version"),
    };
    static const QStringList words = {
        QStringLiteral("a.bjpx"),  QStringLiteral("b.bjp"),     QStringLiteral("broken.bjpx"),
        QStringLiteral("copy.txt"), QStringLiteral("missing.bjpx"), QStringLiteral("out.bjpx"),
        QStringLiteral("out.bjp"), QStringLiteral("out.png"),   QStringLiteral("out.txt"),
        QStringLiteral("a.clt"),   QStringLiteral("pic.png"),   QStringLiteral("dir"),
        QStringLiteral("--json"),  QStringLiteral("--page"),    QStringLiteral("--keys"),
        QStringLiteral("--clock"), QStringLiteral("--trace"),   QStringLiteral("--pages"),
        QStringLiteral("--clut"),  QStringLiteral("1"),         QStringLiteral("2"),
        QStringLiteral("-1"),      QStringLiteral("enter,down,right,blue"),
        QStringLiteral("digit:3,wait:600,click:100:160,back"), QStringLiteral("12:30"),
        QStringLiteral("1,2"),
    };
    QString command = Word(input, commands);
    if (command == u"render" || command == u"export-web" || command == u"transmit"
        || command == u"fetch")
        command = QStringLiteral("info");
    QStringList args{command};
    const int count = input.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < count; ++i)
        args << Word(input, words);

    Reset();
    const Snapshot before = Take();
    QString out;
    QString err;
    int code = 0;
    {
        // The names are relative to the scratch folder; libFuzzer's own paths are relative to
        // the folder it started in, which is current again before anything else happens.
        const QString home = QDir::currentPath();
        ORIN_FUZZ_CHECK(QDir::setCurrent(Scratch()));
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        code = cli::Run(args, {outStream, errStream});
        outStream.flush();
        errStream.flush();
        ORIN_FUZZ_CHECK(QDir::setCurrent(home));
    }
    const Snapshot after = Take();
    ORIN_FUZZ_CHECK(code == cli::kExitOk || code == cli::kExitFileError
                    || code == cli::kExitUsage);
    if (code == cli::kExitUsage)
        ORIN_FUZZ_CHECK(!err.isEmpty());
    if (code != cli::kExitOk)
        ORIN_FUZZ_CHECK(after == before);
    for (auto it = before.begin(); it != before.end(); ++it) {
        // A file's own name, or the project whose content folder holds it ("a./x" is a.bjpx's).
        const QString top = it.key().section(u'/', 0, 0);
        bool named = false;
        for (const QString &arg : args)
            named = named || arg == top || (top.endsWith(u'.') && arg.startsWith(top));
        if (!named)
            ORIN_FUZZ_CHECK(after.value(it.key()) == it.value());
    }
    if (code == cli::kExitOk && WritesProject(command)) {
        const QString written = args.last();
        ORIN_FUZZ_CHECK(after.contains(written));
        CContentModel model;
        ProgramSettings settings;
        qint64 used = 0;
        ProjectIntegrity integrity = ProjectIntegrity::NoRoot;
        ORIN_FUZZ_CHECK(LoadProject(Scratch() + u'/' + written, written.endsWith(u".bjpx"),
                                    settings, used, model, StandardLoadServices(), &integrity));
        ORIN_FUZZ_CHECK(integrity == ProjectIntegrity::Complete);
    }
    if ((code == cli::kExitOk || code == cli::kExitFileError) && args.contains(u"--json")
        && (command == u"info" || command == u"check") && !out.isEmpty()) {
        QJsonParseError error;
        QJsonDocument::fromJson(out.toUtf8(), &error);
        ORIN_FUZZ_CHECK(error.error == QJsonParseError::NoError);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::StartGuiApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orinedit"));
    // The fixtures lie beside the seeds: fuzz/corpus/fuzz_command_lines/../../cli_fixtures.
    const QString folder = QStringLiteral(ORIN_FUZZ_CLI_FIXTURES);
    for (const QString &name : QDir(folder).entryList(QDir::Files)) {
        QFile file(folder + u'/' + name);
        if (file.open(QIODevice::ReadOnly))
            Fixtures().append({name, file.readAll()});
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool())
        CheckEditorCommandLine(input);
    else
        CheckToolCommandLine(input);
    return 0;
}
