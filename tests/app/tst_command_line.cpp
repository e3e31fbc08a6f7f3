// SPDX-License-Identifier: MIT
#include "test_registry.h"

#include "test_paths.h"

#include "app/command_line.h"
#include "orin_version.h"

#include <QtTest>

using namespace orin;

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("startFile");
        QTest::addColumn<bool>("autoSend");
        QTest::addColumn<bool>("autoExit");

        auto row = [](const char *name, QStringList args, const char *file, bool send,
                      bool exit) {
            QTest::newRow(name) << args << QString::fromUtf8(file) << send << exit;
        };
        row("nothing", {}, "", false, false);
        row("file only", {QStringLiteral("news.bjpx")}, "news.bjpx", false, false);
        row("-s", {QStringLiteral("-s")}, "", true, false);
        row("-S upper case", {QStringLiteral("-S")}, "", true, false);
        row("-sx two characters count", {QStringLiteral("-sx")}, "", true, false);
        row("-e", {QStringLiteral("-E")}, "", false, true);
        row("both switches", {QStringLiteral("-s"), QStringLiteral("-e"), QStringLiteral("a.bjp")},
            "a.bjp", true, true);
        row("-v value then file",
            {QStringLiteral("-v"), QStringLiteral("1"), QStringLiteral("news.bjpx")},
            "news.bjpx", false, false);
        row("-v takes the file as its value",
            {QStringLiteral("-v"), QStringLiteral("news.bjpx")}, "", false, false);
        row("-V upper case takes a value",
            {QStringLiteral("-V"), QStringLiteral("-s")}, "", false, false);
        row("-v at the end", {QStringLiteral("a.bjpx"), QStringLiteral("-v")}, "a.bjpx", false,
            false);
        row("later file wins", {QStringLiteral("a.bjpx"), QStringLiteral("b.bjpx")}, "b.bjpx",
            false, false);
        row("other options do nothing",
            {QStringLiteral("-h"), QStringLiteral("-p"), QStringLiteral("-x"), QStringLiteral("-")},
            "", false, false);
        row("-h takes no value", {QStringLiteral("-h"), QStringLiteral("c.bjpx")}, "c.bjpx", false,
            false);
        row("long options are no start file",
            {QStringLiteral("a.bjpx"), QStringLiteral("--help"), QStringLiteral("--version")},
            "a.bjpx", false, false);
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, startFile);
        QFETCH(bool, autoSend);
        QFETCH(bool, autoExit);
        const CommandLine result = ParseCommandLine(arguments);
        QCOMPARE(result.startFile, startFile);
        QCOMPARE(result.autoSend, autoSend);
        QCOMPARE(result.autoExit, autoExit);
    }

    void textOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("help");
        QTest::addColumn<bool>("version");
        QTest::newRow("help") << QStringList{QStringLiteral("--help")} << true << false;
        QTest::newRow("version after a file")
            << QStringList{QStringLiteral("a.bjpx"), QStringLiteral("--version")} << false << true;
        QTest::newRow("only the exact spelling") << QStringList{QStringLiteral("--HELP"),
                                                              QStringLiteral("--versions")}
                                                 << false << false;
        QTest::newRow("value of -v") << QStringList{QStringLiteral("-v"), QStringLiteral("--help")}
                                     << false << false;
    }

    void textOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, help);
        QFETCH(bool, version);
        const CommandLine result = ParseCommandLine(arguments);
        QCOMPARE(result.showHelp, help);
        QCOMPARE(result.showVersion, version);
    }

    void textOptionsPrintAndEndWithoutADisplay_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("expected");
        QTest::newRow("help") << QStringLiteral("--help") << CommandLineUsage();
        QTest::newRow("version") << QStringLiteral("--version")
                                 << QStringLiteral("orinedit %1\n").arg(QLatin1String(kVersion));
    }

    void textOptionsPrintAndEndWithoutADisplay()
    {
        QFETCH(QString, option);
        QFETCH(QString, expected);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(test::BinDir() + QStringLiteral("/orinedit"), {option});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), expected);
    }
};

ORIN_TEST_CLASS(TestCommandLine)
#include "tst_command_line.moc"
