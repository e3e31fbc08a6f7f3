// SPDX-License-Identifier: MIT
#include "app/command_line.h"

#include "orin_version.h"

namespace orin {

QString CommandLineUsage()
{
    return QStringLiteral(
        "Usage: orinedit [OPTIONS] [PROJECT]\n"
        "\n"
        "Edits data-broadcast content; PROJECT (.bjpx or .bjp) is opened after start-up.\n"
        "\n"
        "Options:\n"
        "  -s           start the transmission 3 seconds after start-up\n"
        "  -e           close the program 30 seconds after start-up\n"
        "  -v VALUE     accepted for older callers; the value is not used\n"
        "  --lang LANG  the language of the texts: ja or en (default: the system's)\n"
        "  --help       show this text\n"
        "  --version    show the version\n");
}

QString VersionLine()
{
    return QStringLiteral("orinedit ") + QLatin1String(kVersion) + u'\n';
}

CommandLine ParseCommandLine(const QStringList &arguments)
{
    CommandLine result;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!argument.startsWith(u'-')) {
            result.startFile = argument;
            continue;
        }
        if (argument == u"--help") {
            result.showHelp = true;
            continue;
        }
        if (argument == u"--version") {
            result.showVersion = true;
            continue;
        }
        if (argument == u"--lang") {
            if (i + 1 < arguments.size())
                result.language = arguments.at(++i);
            continue;
        }
        if (argument.startsWith(u"--lang=")) {
            result.language = argument.mid(7);
            continue;
        }
        const QString option = argument.left(2).toLower();
        if (option == u"-s")
            result.autoSend = true;
        else if (option == u"-e")
            result.autoExit = true;
        else if (option == u"-v")
            ++i; // the value belongs to the option and is never a start file
    }
    return result;
}

} // namespace orin
