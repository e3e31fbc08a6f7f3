// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace orin {

// What the command line asks for.
struct CommandLine {
    QString startFile;     // project to open after start-up; empty for none
    bool autoSend = false; // "-s": run the transmission command 3 s after start-up
    bool autoExit = false; // "-e": close the main window 30 s after start-up
    bool showHelp = false;    // "--help": print the usage and end
    bool showVersion = false; // "--version": print the version and end
    QString language;         // "--lang ja|en" (or "--lang=en"): the language of the texts
};

// Parses the arguments that follow the program name, left to right. An argument beginning
// with "-" is an option, recognised by its first two characters without regard to case
// ("-S" and "-sx" are "-s"); "-v" takes the next argument as its value, which is not used;
// other options have no effect. Any other argument is the start file; a later one replaces
// an earlier one. "--help" and "--version", written exactly so, ask for a text instead of a
// window; "--lang" takes the next argument as the language of the texts, never as a start file.
CommandLine ParseCommandLine(const QStringList &arguments);

// What "--help" prints.
QString CommandLineUsage();
// What "--version" prints: "orinedit " + the version.
QString VersionLine();

} // namespace orin
