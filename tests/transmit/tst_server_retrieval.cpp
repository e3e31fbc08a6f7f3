// SPDX-License-Identifier: MIT
// Retrieval from the data-broadcast server: the requests of every type and edition on a real
// server, what is kept in the settings, and the round trip of an uploaded package.

#include "ftp_test_server.h"
#include "settings/app_settings.h"
#include "settings/ini_store.h"
#include "test_registry.h"
#include "transmit/content_upload.h"
#include "transmit/server_retrieval.h"
#include "transmit_fixtures.h"

#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

const QDateTime kRecordTime(QDate(2024, 5, 5), QTime(7, 8, 9));

QStringList Download(const QString &name)
{
    return {QStringLiteral("USER admin"), QStringLiteral("PASS s3cret pass"),
            QStringLiteral("PWD"), QStringLiteral("PASV"), QStringLiteral("TYPE I"),
            QStringLiteral("RETR ") + name, QStringLiteral("QUIT")};
}

// Settings whose content server for the edition is the test server, and whose other server
// is unreachable, so that a request over the wrong profile fails.
AppSettings SettingsFor(const CTestFtpServer &server, int edition)
{
    AppSettings s;
    s.FTPDataAddress = s.FTPNetAddress = QStringLiteral("127.0.0.1");
    s.FTPDataPort = edition == 3 ? 1 : server.Port();
    s.FTPNetPort = edition == 3 ? server.Port() : 1;
    s.ServerUser = s.FTPNetUser = QLatin1String(CTestFtpServer::kUser);
    s.ServerPassword = s.FTPNetPassword = QLatin1String(CTestFtpServer::kPassword);
    s.PASV2 = 1;
    return s;
}

} // namespace

class ServerRetrievalTest : public QObject {
    Q_OBJECT

private slots:
    void requestsOfEveryTypeAndEdition_data()
    {
        QTest::addColumn<int>("edition");
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("names");
        for (int edition = 0; edition <= 4; ++edition) {
            const QByteArray e = QByteArray::number(edition);
            QTest::newRow(e + " on air") << edition << 0
                << QStringList{QStringLiteral("@CURRENTLABEL0"), QStringLiteral("@CURRENTDATA0")};
            QTest::newRow(e + " number 3") << edition << 1
                << QStringList{QStringLiteral("@CURRENTLABEL3"), QStringLiteral("@CURRENTDATA3")};
            QTest::newRow(e + " recorded") << edition << 2
                << QStringList{edition == 3 ? QStringLiteral("@RECORDCHANNEL032024/05/05 07:08:09")
                                            : QStringLiteral("@RECORDDATA2024/05/05 07:08:09")};
        }
    }
    void requestsOfEveryTypeAndEdition()
    {
        QFETCH(int, edition);
        QFETCH(int, type);
        QFETCH(QStringList, names);
        CTestFtpServer server;
        QVERIFY(server.Start());
        QTemporaryDir dir;
        const QString labels = dir.filePath(QStringLiteral("labels.xml"));
        const QString data = dir.filePath(QStringLiteral("data.tar"));
        WriteBytes(labels, "<LabelContents/>");
        WriteBytes(data, QByteArray(3000, 'd'));
        QJsonObject served;
        for (const QString &name : names)
            served.insert(name, name.contains(u"LABEL") ? labels : data);
        server.Serve(served);
        const QString work = dir.filePath(QStringLiteral("work"));
        QDir().mkpath(work);

        const RetrievalRequest request{type, 3, kRecordTime};
        const FetchResult r = FetchContent(request,
                                           ContentServerProfile(SettingsFor(server, edition), edition),
                                           work, {}, edition);
        QVERIFY2(r.ok, qPrintable(r.error));
        QStringList expected;
        for (const QString &name : names)
            expected += Download(name);
        QCOMPARE(server.Commands(), expected);
        QCOMPARE(ReadBytes(work + QStringLiteral("/SeverContents")), QByteArray(3000, 'd'));
        QCOMPARE(r.contentPath, work + QStringLiteral("/SeverContents"));
        QCOMPARE(r.labelPath.isEmpty(), type == 2);
        if (type != 2)
            QCOMPARE(ReadBytes(r.labelPath), QByteArray("<LabelContents/>"));
    }

    void failedLabelsStopTheRetrieval()
    {
        CTestFtpServer server;
        QVERIFY(server.Start());
        QTemporaryDir dir;
        WriteBytes(dir.filePath(QStringLiteral("SeverContents")), "old content");
        WriteBytes(dir.filePath(QStringLiteral("LabelContents.xml")), "old labels");
        WriteBytes(dir.filePath(QStringLiteral("data.tar")), "new");
        server.Serve({{QStringLiteral("@CURRENTDATA0"), dir.filePath(QStringLiteral("data.tar"))}});
        const FetchResult r = FetchContent({0, 1, kRecordTime}, server.Profile(), dir.path(), {});
        QVERIFY(!r.ok);
        QVERIFY(r.error.startsWith(QStringLiteral("@CURRENTLABEL0: ")));
        // The content data is not asked for, and no old download is left to pass for new.
        QCOMPARE(server.Commands(), Download(QStringLiteral("@CURRENTLABEL0")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("SeverContents"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("LabelContents.xml"))));

        // No server: a failed download too.
        ConnectionProfile nobody = server.Profile();
        nobody.port = 1;
        QVERIFY(!FetchContent({2, 1, kRecordTime}, nobody, dir.path(), {}).ok);
    }

    void channelListIsCutAt1024Bytes()
    {
        CTestFtpServer server;
        QVERIFY(server.Start());
        QTemporaryDir dir;
        QByteArray list(3000, 'c');
        WriteBytes(dir.filePath(QStringLiteral("list.xml")), list);
        server.Serve({{QStringLiteral("@LISTCHANNEL"), dir.filePath(QStringLiteral("list.xml"))}});
        QCOMPARE(FetchChannelList(server.Profile(), dir.path(), {}), list.left(1024));
        QCOMPARE(server.Commands(), Download(QStringLiteral("@LISTCHANNEL")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("ListChannel.xml"))));
        server.Serve({});
        QCOMPARE(FetchChannelList(server.Profile(), dir.path(), {}), QByteArray());
    }

    void settingsKeptByTheRetrieval()
    {
        QTemporaryDir dir;
        CIniStore store(dir.filePath(QStringLiteral("OrinEditContents.ini")));
        WriteRetrievalSettings(store, {1, 3, kRecordTime}, false);
        QCOMPARE(store.GetInt(QStringLiteral("Config"), QStringLiteral("NumberContents"), 0), 3);
        WriteRetrievalSettings(store, {2, 7, kRecordTime}, false);
        QCOMPARE(store.GetString(QStringLiteral("Config"), QStringLiteral("RecordTime")), QString());
        WriteRetrievalSettings(store, {2, 7, kRecordTime}, true);
        QCOMPARE(store.GetString(QStringLiteral("Config"), QStringLiteral("RecordTime")),
                 QStringLiteral("2024/05/05 07:08:09"));
        QCOMPARE(store.GetInt(QStringLiteral("Config"), QStringLiteral("NumberContents"), 0), 3);
    }

    void recordTimeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime fallback(QDate(2030, 1, 2), QTime(3, 4, 5));
        QTest::newRow("exact") << QStringLiteral("2024/05/05 07:08:09") << kRecordTime;
        QTest::newRow("empty") << QString() << fallback;
        QTest::newRow("dashes") << QStringLiteral("2024-05-05 07:08:09") << fallback;
        QTest::newRow("month 13") << QStringLiteral("2024/13/05 07:08:09") << fallback;
        QTest::newRow("no seconds") << QStringLiteral("2024/05/05 07:08") << fallback;
    }
    void recordTimeText()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        QCOMPARE(ParseRecordTime(text, QDateTime(QDate(2030, 1, 2), QTime(3, 4, 5))), expected);
        QCOMPARE(FormatRecordTime(kRecordTime), QStringLiteral("2024/05/05 07:08:09"));
    }

    void windowTitles()
    {
        QCOMPARE(ServerWindowTitle(QStringLiteral("OrinEditContents"), {1, 3, kRecordTime}),
                 QStringLiteral("OrinEditContents - DATASERVER"));
        QCOMPARE(ServerWindowTitle(QStringLiteral("OrinEditContents"), {2, 3, kRecordTime}),
                 QStringLiteral("OrinEditContents - DATASERVER 同録 2024/05/05 07:08:09"));
    }

    // Upload, serve the uploaded package as the content on air, retrieve: the same content.
    void roundTrip()
    {
        CTestFtpServer server;
        QVERIFY(server.Start());
        QTemporaryDir dir;
        CContentModel model;
        ProgramSettings programSettings;
        MakeContent(model, programSettings, dir.filePath(QStringLiteral("content")));
        const QString work = dir.filePath(QStringLiteral("work"));
        QDir().mkpath(work);
        AppSettings settings = SettingsFor(server, 1);
        UploadJob job;
        QVERIFY(PrepareUpload(model, programSettings, settings, work, kWorkerServer,
                              QDateTime(QDate(2024, 5, 5), QTime(7, 13, 5)), &job, nullptr));
        QVERIFY(RunUpload(job).confirmed);
        const QString uploaded = server.Root() + QStringLiteral("/xmldata1305.tar");
        WriteBytes(dir.filePath(QStringLiteral("labels.xml")),
                   "<LabelContents><Text label=\"見出し\"/><Picture label=\"写真\"/>"
                   "<Background/></LabelContents>");
        server.Serve({{QStringLiteral("@CURRENTDATA0"), uploaded},
                      {QStringLiteral("@CURRENTLABEL0"), dir.filePath(QStringLiteral("labels.xml"))}});

        const RetrievalOutcome outcome = RetrieveServerContent(
            {0, 1, kRecordTime}, ContentServerProfile(settings, 1), work,
            ServerContentSizeLimit(1730), {}, 1);
        QVERIFY2(outcome.fetched.ok, qPrintable(outcome.fetched.error));
        QCOMPARE(ReadBytes(outcome.fetched.contentPath), ReadBytes(uploaded));
        QVERIFY2(outcome.unpacked, qPrintable(outcome.error));
        QVERIFY(outcome.content.projectPath.startsWith(outcome.content.folder + u'/'));
        QVERIFY(outcome.content.folder.startsWith(work + u'/'));
        CContentModel back;
        ProgramSettings backSettings;
        QVERIFY(LoadContent(outcome.content.projectPath, back, backSettings));
        QCOMPARE(CanonicalText(back, backSettings), CanonicalText(model, programSettings));
        QCOMPARE(outcome.content.labels.texts, QStringList{QStringLiteral("見出し")});
        QCOMPARE(outcome.content.labels.pictures, QStringList{QStringLiteral("写真")});
        QVERIFY(outcome.content.labels.background);
    }
};

ORIN_TEST_CLASS(ServerRetrievalTest)
#include "tst_server_retrieval.moc"
