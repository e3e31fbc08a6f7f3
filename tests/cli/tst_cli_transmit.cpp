// SPDX-License-Identifier: MIT
// orinedit-cli transmit and fetch against a real FTP server, in every edition.

#include "cli_runner.h"
#include "transmit_content.h"
#include "ftp_test_server.h"
#include "server_archive.h"
#include "settings/app_settings.h"
#include "settings/ini_store.h"
#include "test_files.h"
#include "test_registry.h"

#include <QRegularExpression>
#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

// A settings file whose data-broadcast and online servers are the test server.
QString WriteSettings(const QTemporaryDir &dir, const CTestFtpServer &server, int modeAccess)
{
    const QString path = dir.filePath(QStringLiteral("net.ini"));
    CIniStore store(path);
    for (const char *key : {"FTPDataAddress", "FTPNetAddress"})
        WriteStringSetting(store, QLatin1String(key), QStringLiteral("127.0.0.1"));
    for (const char *key : {"FTPDataPort", "FTPNetPort"})
        WriteIntSetting(store, QLatin1String(key), server.Port());
    for (const char *key : {"ServerUser", "FTPNetUser"})
        WriteStringSetting(store, QLatin1String(key), QLatin1String(CTestFtpServer::kUser));
    for (const char *key : {"ServerPassword", "FTPNetPassword"})
        WritePasswordSetting(store, QLatin1String(key), QLatin1String(CTestFtpServer::kPassword));
    WriteIntSetting(store, QStringLiteral("PASV2"), 1);
    WriteIntSetting(store, QStringLiteral("ModeAccess"), modeAccess);
    return path;
}

// A content set that every transmitting edition may send (no general PNG), saved in `dir`.
QString MakeProject(const QTemporaryDir &dir)
{
    CContentModel model;
    ProgramSettings settings;
    MakeContent(model, settings, dir.filePath(QStringLiteral("content")));
    const QString path = dir.filePath(QStringLiteral("news.bjpx"));
    SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), settings);
    return path;
}

} // namespace

class CliTransmitTest : public QObject {
    Q_OBJECT

private slots:
    void transmitInEveryEdition_data()
    {
        QTest::addColumn<int>("edition");
        QTest::addColumn<int>("modeAccess");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("remote"); // a pattern; empty: nothing reaches the server
        QTest::addColumn<QString>("message");
        const QString refused = QStringLiteral("本アプリケーションはデータを伝送できません");
        QTest::newRow("0") << 0 << 2 << 1 << QString() << refused;
        QTest::newRow("1 server") << 1 << 2 << 0 << QStringLiteral("xmldata\\d{4}\\.tar") << QString();
        QTest::newRow("1 modulator") << 1 << 0 << 1 << QString()
                                     << QStringLiteral("この伝送先へのデータ転送は行いません");
        QTest::newRow("2") << 2 << 2 << 1 << QString()
                           << QStringLiteral("この伝送先へのデータ転送は行いません");
        QTest::newRow("3") << 3 << 0 << 0 << QStringLiteral("xmldata\\.tar") << QString();
        QTest::newRow("4") << 4 << 2 << 1 << QString() << refused;
    }
    void transmitInEveryEdition()
    {
        QFETCH(int, edition);
        QFETCH(int, modeAccess);
        QFETCH(int, code);
        QFETCH(QString, remote);
        QFETCH(QString, message);
        CTestFtpServer server;
        QVERIFY(server.Start());
        QTemporaryDir dir;
        const QString project = MakeProject(dir);
        const CliOutcome o = RunCli({QStringLiteral("transmit"), project,
                                     QStringLiteral("--edition"), QString::number(edition),
                                     QStringLiteral("--settings"), WriteSettings(dir, server, modeAccess)});
        QVERIFY2(o.code == code, qPrintable(o.out + o.err));
        QVERIFY2((o.out + o.err).contains(message), qPrintable(o.out + o.err));
        if (remote.isEmpty()) {
            QCOMPARE(server.Commands(false), QStringList());
            return;
        }
        const QRegularExpression line(QStringLiteral("^Remote name: (") + remote
                                      + QStringLiteral(")\nResult: 伝送完了 \\1\n$"));
        const auto match = line.match(o.out);
        QVERIFY2(match.hasMatch(), qPrintable(o.out));
        QCOMPARE(server.Commands().mid(5),
                 (QStringList{QStringLiteral("STOR ") + match.captured(1), QStringLiteral("QUIT")}));
        QVERIFY(QFileInfo(server.Root() + u'/' + match.captured(1)).size() > 5000);
    }

    void transmitFailures()
    {
        CTestFtpServer server;
        QVERIFY(server.Start({QStringLiteral("--refuse"), QStringLiteral("STOR")}));
        QTemporaryDir dir;
        const QString project = MakeProject(dir);
        const QString ini = WriteSettings(dir, server, 2);
        CliOutcome o = RunCli({QStringLiteral("transmit"), project, QStringLiteral("--edition"),
                               QStringLiteral("1"), QStringLiteral("--settings"), ini});
        QCOMPARE(o.code, 1);
        QVERIFY2(o.out.contains(QStringLiteral("Result: 伝送失敗")), qPrintable(o.out));
        // The operator's words, with the server's own as the detail.
        QVERIFY2(o.err.contains(QStringLiteral("サーバーが要求を拒否しました（サーバーの応答: 550 ")),
                 qPrintable(o.err));

        CIniStore store(ini);
        WriteIntSetting(store, QStringLiteral("FTPDataPort"), 1);
        o = RunCli({QStringLiteral("transmit"), project, QStringLiteral("--edition"),
                    QStringLiteral("1"), QStringLiteral("--settings"), ini});
        QCOMPARE(o.code, 1);
        QVERIFY(!o.err.isEmpty());

        o = RunCli({QStringLiteral("transmit"), project, QStringLiteral("--edition"),
                    QStringLiteral("7")});
        QCOMPARE(o.code, 2);
    }

    void fetchRequestsAndFailures()
    {
        CTestFtpServer server;
        QVERIFY(server.Start());
        QTemporaryDir dir;
        const QString ini = WriteSettings(dir, server, 2);
        const QString out = dir.filePath(QStringLiteral("fetched.bjpx"));
        const QStringList base{QStringLiteral("fetch"), out, QStringLiteral("--settings"), ini};

        // Nothing served: the label request fails, nothing else is asked, nothing is written.
        CliOutcome o = RunCli(base + QStringList{QStringLiteral("--type"), QStringLiteral("1"),
                                                 QStringLiteral("--number"), QStringLiteral("3"),
                                                 QStringLiteral("--edition"), QStringLiteral("1")});
        QCOMPARE(o.code, 1);
        QVERIFY(o.err.contains(QStringLiteral("データを受信できません")));
        QVERIFY(o.out.contains(QStringLiteral("Remote name: @CURRENTLABEL3\nRemote name: @CURRENTDATA3\n")));
        QCOMPARE(server.Commands().last(2),
                 (QStringList{QStringLiteral("RETR @CURRENTLABEL3"), QStringLiteral("QUIT")}));
        QVERIFY(!QFile::exists(out));

        server.ClearLog();
        o = RunCli(base + QStringList{QStringLiteral("--type"), QStringLiteral("2"),
                                      QStringLiteral("--number"), QStringLiteral("12"),
                                      QStringLiteral("--time"), QStringLiteral("2024/05/05 07:08:09"),
                                      QStringLiteral("--edition"), QStringLiteral("3")});
        QCOMPARE(o.code, 1);
        QVERIFY(server.Commands().contains(QStringLiteral("RETR @RECORDCHANNEL122024/05/05 07:08:09")));

        const QList<QStringList> usage{
            {QStringLiteral("--type"), QStringLiteral("3")},
            {QStringLiteral("--type"), QStringLiteral("1"), QStringLiteral("--number"), QStringLiteral("9")},
            {QStringLiteral("--type"), QStringLiteral("2"), QStringLiteral("--time"), QStringLiteral("2024-05-05 07:08:09")},
            {QStringLiteral("--number"), QStringLiteral("2")},
        };
        for (const QStringList &extra : usage)
            QCOMPARE(RunCli(base + extra + QStringList{QStringLiteral("--edition"), QStringLiteral("1")}).code, 2);
    }

    // A served project that names a file of this computer: the reference is dropped and
    // said, the rest is saved, and the file is not copied.
    void fetchDropsReferencesOutsideWhatArrived()
    {
        CTestFtpServer server;
        QVERIFY(server.Start());
        QTemporaryDir dir;
        const QString secret = dir.filePath(QStringLiteral("secret.jpg"));
        QVERIFY(WriteBytes(secret, ImageBytes("JPG", 0xff123456) + "SECRET"));
        const QString archive = dir.filePath(QStringLiteral("hostile.tar"));
        QVERIFY(WriteBytes(archive, ServerArchive(dir.filePath(QStringLiteral("stage")),
                                                  {{QStringLiteral("./news./pic.jpg"), secret}})));
        WriteBytes(dir.filePath(QStringLiteral("labels.xml")), "<LabelContents/>");
        server.Serve({{QStringLiteral("@CURRENTDATA0"), archive},
                      {QStringLiteral("@CURRENTLABEL0"), dir.filePath(QStringLiteral("labels.xml"))}});
        const QString out = dir.filePath(QStringLiteral("back/fetched.bjpx"));
        QDir().mkpath(dir.filePath(QStringLiteral("back")));
        const CliOutcome o = RunCli({QStringLiteral("fetch"), out, QStringLiteral("--type"),
                                     QStringLiteral("0"), QStringLiteral("--edition"),
                                     QStringLiteral("1"), QStringLiteral("--settings"),
                                     WriteSettings(dir, server, 2)});
        QVERIFY2(o.code == 0, qPrintable(o.err));
        QVERIFY2(o.err.contains(QStringLiteral("Dropped reference (outside the fetched content): 画像 1: ")
                                + secret + u'\n'),
                 qPrintable(o.err));
        const QDir saved(ContentFolderOf(out));
        const QStringList files = saved.entryList(QDir::Files);
        QCOMPARE(files.size(), 3); // background, material, sound
        for (const QString &name : files)
            QVERIFY2(!ReadBytes(saved.filePath(name)).contains("SECRET"), qPrintable(name));
    }

    // transmit, then serve what arrived as the content on air and fetch it back.
    void transmitThenFetch()
    {
        CTestFtpServer server;
        QVERIFY(server.Start());
        QTemporaryDir dir;
        const QString project = MakeProject(dir);
        const QString ini = WriteSettings(dir, server, 2);
        CliOutcome o = RunCli({QStringLiteral("transmit"), project, QStringLiteral("--edition"),
                               QStringLiteral("3"), QStringLiteral("--settings"), ini});
        QCOMPARE(o.code, 0);
        WriteBytes(dir.filePath(QStringLiteral("labels.xml")), "<LabelContents><Text label=\"a\"/></LabelContents>");
        server.Serve({{QStringLiteral("@CURRENTDATA0"), server.Root() + QStringLiteral("/xmldata.tar")},
                      {QStringLiteral("@CURRENTLABEL0"), dir.filePath(QStringLiteral("labels.xml"))}});
        const QString out = dir.filePath(QStringLiteral("back/fetched.bjpx"));
        QDir().mkpath(dir.filePath(QStringLiteral("back")));
        o = RunCli({QStringLiteral("fetch"), out, QStringLiteral("--type"), QStringLiteral("0"),
                    QStringLiteral("--edition"), QStringLiteral("1"), QStringLiteral("--settings"), ini});
        QVERIFY2(o.code == 0, qPrintable(o.err));
        QVERIFY(o.out.contains(QStringLiteral("Editable texts: a\n")));
        const CliOutcome original = RunCli({QStringLiteral("info"), project, QStringLiteral("--json")});
        const CliOutcome fetched = RunCli({QStringLiteral("info"), out, QStringLiteral("--json")});
        QCOMPARE(fetched.out, original.out);
    }
};

ORIN_TEST_CLASS(CliTransmitTest)
#include "tst_cli_transmit.moc"
