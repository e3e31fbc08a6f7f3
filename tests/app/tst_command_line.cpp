// SPDX-License-Identifier: MIT
#include "test_registry.h"

#include "app/command_line.h"

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
};

ORIN_TEST_CLASS(TestCommandLine)
#include "tst_command_line.moc"
