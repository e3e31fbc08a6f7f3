// SPDX-License-Identifier: MIT
#include "app/command_line.h"
#include "app/orin_edit_app.h"
#include "app/ui_language.h"

#include <QLocale>
#include <QTranslator>

#include <cstdio>

int main(int argc, char **argv)
{
    // The texts asked for on the command line need no window, nor a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const orin::CommandLine options = orin::ParseCommandLine(arguments);
    if (options.showHelp || options.showVersion) {
        const QString text = options.showHelp ? orin::CommandLineUsage() : orin::VersionLine();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    orin::COrinEditContentsApp app(argc, argv);
    // The texts are written in Japanese; the English translation is installed here only, so
    // that everything else (and every test) sees the Japanese texts unless asked otherwise.
    QTranslator english;
    if (orin::ChooseUiLanguage(QLocale::system().name(), options.language)
            == orin::UiLanguage::English
        && english.load(QString::fromUtf16(orin::kEnglishTranslation)))
        app.installTranslator(&english);
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
