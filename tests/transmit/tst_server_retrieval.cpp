// SPDX-License-Identifier: MIT
// Retrieval from the data-broadcast server: the requests of every type and edition on a real
// server, what is kept in the settings, and the round trip of an uploaded package.

#include "ftp_test_server.h"
#include "server_archive.h"
#include "transmit/entry_names.h"
#include "transmit/package_builder.h"
#include "transmit/server_content.h"
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
                                           work, ServerContentSizeLimit(1730), {}, edition);
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
        const FetchResult r = FetchContent({0, 1, kRecordTime}, server.Profile(), dir.path(),
                                           ServerContentSizeLimit(1730), {});
        QVERIFY(!r.ok);
        QVERIFY(r.error.startsWith(QStringLiteral("@CURRENTLABEL0: ")));
        // The content data is not asked for, and no old download is left to pass for new.
        QCOMPARE(server.Commands(), Download(QStringLiteral("@CURRENTLABEL0")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("SeverContents"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("LabelContents.xml"))));

        // No server: a failed download too.
        ConnectionProfile nobody = server.Profile();
        nobody.port = 1;
        QVERIFY(!FetchContent({2, 1, kRecordTime}, nobody, dir.path(), 1 << 20, {}).ok);
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

    // A server's project may refer only to files that arrived with it: every other reference
    // is emptied before anything reads it, the operator is told which, and no file from
    // outside reaches the content or the next transmission.
    void hostileReferencesAreDropped_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("hostile"); // "@SECRET@": the absolute path of a local file
        QTest::addColumn<QStringList>("dropped");
        const QString climb = QStringLiteral("./news.") + QStringLiteral("/..").repeated(24);
        QTest::newRow("picture, absolute path")
            << QStringLiteral("./news./pic.jpg") << QStringLiteral("@SECRET@")
            << QStringList{QStringLiteral("画像 1: @SECRET@")};
        QTest::newRow("material, climbing out of its folder")
            << QStringLiteral("./news./mat.png") << climb + QStringLiteral("@SECRET@")
            << QStringList{QStringLiteral("素材 200: ") + climb + QStringLiteral("@SECRET@")};
        QTest::newRow("sound, a bare relative name")
            << QStringLiteral("./news./chime.aac") << QStringLiteral("chime.aac")
            << QStringList{QStringLiteral("音声 1: chime.aac")};
        QTest::newRow("backgrounds, a climb written with character references")
            << QStringLiteral("./news./背景.jpg")
            << QStringLiteral("./news./&#46;&#46;/&#46;&#46;/&#46;&#46;/&#46;&#46;/&#46;&#46;/"
                              "&#46;&#46;/&#46;&#46;/&#46;&#46;/&#46;&#46;/&#46;&#46;/&#46;&#46;/"
                              "&#46;&#46;/&#46;&#46;/&#46;&#46;/&#46;&#46;/&#46;&#46;@SECRET@")
            << QStringList{QStringLiteral("ページ 1 の背景: ./news.") + QStringLiteral("/..").repeated(16)
                               + QStringLiteral("@SECRET@"),
                           QStringLiteral("ページ 2 の背景: ./news.") + QStringLiteral("/..").repeated(16)
                               + QStringLiteral("@SECRET@")};
        QTest::newRow("picture, a Windows path")
            << QStringLiteral("./news./pic.jpg") << QStringLiteral("C:\\secret.jpg")
            << QStringList{QStringLiteral("画像 1: C:\\secret.jpg")};
        QTest::newRow("picture, the folder itself")
            << QStringLiteral("./news./pic.jpg") << QStringLiteral("./news.")
            << QStringList{QStringLiteral("画像 1: ./news.")};
        QTest::newRow("picture, a climb that comes back inside")
            << QStringLiteral("./news./pic.jpg") << QStringLiteral("./news./../news./pic.jpg")
            << QStringList();
    }
    void hostileReferencesAreDropped()
    {
        QFETCH(QString, original);
        QFETCH(QString, hostile);
        QFETCH(QStringList, dropped);
        QTemporaryDir dir;
        const QString secret = dir.filePath(QStringLiteral("secret.jpg"));
        const QByteArray secretBytes = ImageBytes("JPG", 0xff123456) + "SECRET";
        QVERIFY(WriteBytes(secret, secretBytes));
        hostile.replace(QStringLiteral("@SECRET@"), secret);
        for (QString &line : dropped)
            line.replace(QStringLiteral("@SECRET@"), secret);
        const QString archive = dir.filePath(QStringLiteral("hostile.tar"));
        QVERIFY(WriteBytes(archive, ServerArchive(dir.filePath(QStringLiteral("stage")),
                                                  {{original, hostile}})));
        CTestFtpServer server;
        QVERIFY(server.Start());
        const QString work = dir.filePath(QStringLiteral("work"));
        QDir().mkpath(work);

        const AppSettings settings = SettingsFor(server, 1);
        WriteBytes(dir.filePath(QStringLiteral("labels.xml")), "<LabelContents/>");
        server.Serve({{QStringLiteral("@CURRENTDATA0"), archive},
                      {QStringLiteral("@CURRENTLABEL0"), dir.filePath(QStringLiteral("labels.xml"))}});
        const RetrievalOutcome fetched =
            RetrieveServerContent({0, 1, kRecordTime}, ContentServerProfile(settings, 1), work,
                                  ServerContentSizeLimit(1730), {}, 1);
        QVERIFY2(fetched.unpacked, qPrintable(fetched.error));
        QCOMPARE(fetched.content.droppedReferences, dropped);

        CContentModel model;
        ProgramSettings programSettings;
        QVERIFY(LoadContent(fetched.content.projectPath, model, programSettings));
        QStringList paths;
        for (const auto &page : model.pages)
            paths << page->background;
        for (const auto *table : {&model.pictures, &model.materials})
            for (const auto &r : *table)
                paths << r->path;
        for (const auto &r : model.sounds)
            paths << r->path;
        QCOMPARE(paths.size(), 5);
        int kept = 0;
        for (const QString &path : paths) {
            if (path.isEmpty())
                continue;
            ++kept;
            QVERIFY2(QDir::cleanPath(path).startsWith(fetched.content.folder + u'/'), qPrintable(path));
        }
        QCOMPARE(kept, 5 - dropped.size());

        // The next transmission sends what arrived, nothing of this computer.
        UploadJob job;
        QString error;
        QVERIFY2(PrepareUpload(model, programSettings, settings, work, kWorkerServer,
                               QDateTime(QDate(2024, 5, 5), QTime(7, 13, 5)), &job, &error),
                 qPrintable(error));
        const QList<ArchivedEntry> sent = ReadTar(job.packagePath);
        QVERIFY(!sent.isEmpty());
        for (const ArchivedEntry &entry : sent)
            QVERIFY2(!entry.bytes.contains("SECRET"), qPrintable(entry.name));
        DeletePackage(job.packageFolder, job.packageName);
    }

    // Every download stops at its bound while it runs, and says so: the content archive at
    // the size limit (18,548,736 bytes for 1730 KB), the label contents at 4 MiB, the channel
    // list at 64 KiB.
    void downloadsStopAtTheirBounds_data()
    {
        QTest::addColumn<QString>("remote");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<qint64>("bound"); // 0: within it
        const qint64 content = ServerContentSizeLimit(1730);
        QTest::newRow("content at the limit") << QStringLiteral("@CURRENTDATA0") << content << qint64(0);
        QTest::newRow("content one byte over")
            << QStringLiteral("@CURRENTDATA0") << content + 1 << qint64(18548736);
        QTest::newRow("labels over") << QStringLiteral("@CURRENTLABEL0")
                                     << kLabelContentsMaxBytes + 1 << qint64(4194304);
        QTest::newRow("channel list at the bound")
            << QStringLiteral("@LISTCHANNEL") << kChannelListMaxBytes << qint64(0);
        QTest::newRow("channel list over")
            << QStringLiteral("@LISTCHANNEL") << kChannelListMaxBytes + 1 << qint64(65536);
    }
    void downloadsStopAtTheirBounds()
    {
        QFETCH(QString, remote);
        QFETCH(qint64, size);
        QFETCH(qint64, bound);
        QTemporaryDir dir;
        const QString big = dir.filePath(QStringLiteral("big.bin"));
        {
            QFile f(big);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(size)); // sparse: large without filling the disk
        }
        const QString labels = dir.filePath(QStringLiteral("labels.xml"));
        WriteBytes(labels, "<LabelContents/>");
        CTestFtpServer server;
        QVERIFY(server.Start());
        server.Serve({{QStringLiteral("@CURRENTLABEL0"), remote.contains(u"LABEL") ? big : labels},
                      {QStringLiteral("@CURRENTDATA0"), big},
                      {QStringLiteral("@LISTCHANNEL"), big}});
        const QString work = dir.filePath(QStringLiteral("work"));
        QDir().mkpath(work);
        const QString tooLarge = QString::fromUtf16(kFtpTooLarge).arg(bound);
        if (remote == u"@LISTCHANNEL") {
            QString error = QStringLiteral("old");
            const QByteArray list = FetchChannelList(server.Profile(), work, {}, &error);
            QCOMPARE(list.size(), bound ? 0 : 1024);
            QCOMPARE(error, bound ? remote + QStringLiteral(": ") + tooLarge : QString());
        } else {
            const FetchResult r = FetchContent({0, 1, kRecordTime}, server.Profile(), work,
                                               ServerContentSizeLimit(1730), {});
            QCOMPARE(r.ok, bound == 0);
            if (bound) {
                QCOMPARE(r.error, remote + QStringLiteral(": ") + tooLarge);
                QVERIFY(!QFile::exists(r.contentPath));
            } else {
                QCOMPARE(QFileInfo(r.contentPath).size(), size);
            }
        }
        // Nothing of a stopped download is left in the work folder, no part and no temporary
        // file; the labels that arrived before the content stay.
        if (bound) {
            const QStringList kept = remote == u"@CURRENTDATA0"
                                         ? QStringList{QStringLiteral("LabelContents.xml")}
                                         : QStringList();
            QCOMPARE(QDir(work).entryList(QDir::Files | QDir::Hidden), kept);
        }
    }

    // A file whose name the archive rule forbids travels under a usable name and comes back.
    void forbiddenNamesTravelUnderUsableNames()
    {
        CTestFtpServer server;
        QVERIFY(server.Start());
        QTemporaryDir dir;
        CContentModel model;
        ProgramSettings programSettings;
        MakeContent(model, programSettings, dir.filePath(QStringLiteral("content")));
        const QString odd = dir.filePath(QStringLiteral("content/朝:7時:版.jpg"));
        const QString taken = dir.filePath(QStringLiteral("content/朝_7時_版.jpg"));
        QVERIFY(WriteBytes(odd, ImageBytes("JPG", 0xff0000ff)));
        QVERIFY(WriteBytes(taken, ImageBytes("JPG", 0xffff0000)));
        model.pictures.At(0)->path = odd;
        auto second = std::make_unique<CMyPictureInfo>();
        second->id = 2;
        second->path = taken;
        model.pictures.Add(std::move(second));
        const QString work = dir.filePath(QStringLiteral("work"));
        QDir().mkpath(work);
        const AppSettings settings = SettingsFor(server, 1);
        UploadJob job;
        QString error;
        QVERIFY2(PrepareUpload(model, programSettings, settings, work, kWorkerServer,
                               QDateTime(QDate(2024, 5, 5), QTime(7, 13, 5)), &job, &error),
                 qPrintable(error));
        for (const ArchivedEntry &entry : ReadTar(job.packagePath)) {
            for (const QString &part : entry.name.split(u'/', Qt::SkipEmptyParts))
                QVERIFY2(IsUsableEntryName(part), qPrintable(entry.name));
        }
        QVERIFY(RunUpload(job).confirmed);
        server.Serve({{QStringLiteral("@RECORDDATA2024/05/05 07:08:09"),
                       server.Root() + QStringLiteral("/xmldata1305.tar")}});
        const RetrievalOutcome outcome = RetrieveServerContent(
            {2, 1, kRecordTime}, ContentServerProfile(settings, 1), work,
            ServerContentSizeLimit(1730), {}, 1);
        QVERIFY2(outcome.unpacked, qPrintable(outcome.error));
        QVERIFY(outcome.content.droppedReferences.isEmpty());
        CContentModel back;
        ProgramSettings backSettings;
        QVERIFY(LoadContent(outcome.content.projectPath, back, backSettings));
        QCOMPARE(ReadBytes(back.pictures.At(0)->path), ReadBytes(odd));
        QCOMPARE(ReadBytes(back.pictures.At(1)->path), ReadBytes(taken));
        QVERIFY(back.pictures.At(0)->path != back.pictures.At(1)->path);
        QVERIFY(IsUsableEntryName(QFileInfo(back.pictures.At(0)->path).fileName()));
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
