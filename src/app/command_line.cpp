// SPDX-License-Identifier: MIT
#include "app/command_line.h"

namespace orin {

CommandLine ParseCommandLine(const QStringList &arguments)
{
    CommandLine result;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!argument.startsWith(u'-')) {
            result.startFile = argument;
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
