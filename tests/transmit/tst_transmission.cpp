// SPDX-License-Identifier: MIT
// The transmission command's rules, the uploads of the worker modes against a real server,
// and the worker that runs them.

#include "ftp_test_server.h"
#include "settings/app_settings.h"
#include "test_registry.h"
#include "transmit/content_upload.h"
#include "transmit/transmission.h"
#include "transmit/transmission_runner.h"
#include "transmit_fixtures.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

// Settings whose data-broadcast and online server are both the test server.
AppSettings SettingsFor(const CTestFtpServer &server)
{
    AppSettings s;
    s.FTPDataAddress = s.FTPNetAddress = QStringLiteral("127.0.0.1");
    s.FTPDataPort = s.FTPNetPort = server.Port();
    s.ServerUser = s.FTPNetUser = QLatin1String(CTestFtpServer::kUser);
    s.ServerPassword = s.FTPNetPassword = QLatin1String(CTestFtpServer::kPassword);
    s.PASV2 = 1;
    return s;
}

const QDateTime kNow(QDate(2024, 5, 5), QTime(7, 13, 5));

QStringList Upload(const QString &remote)
{
    return {QStringLiteral("USER admin"), QStringLiteral("PASS s3cret pass"),
            QStringLiteral("PWD"), QStringLiteral("PASV"), QStringLiteral("TYPE I"),
            QStringLiteral("STOR ") + remote, QStringLiteral("QUIT")};
}

} // namespace


class TransmissionTest : public QObject {
    Q_OBJECT

private slots:
    void decisions_data()
    {
        QTest::addColumn<int>("edition");
        QTest::addColumn<int>("modeAccess");
        QTest::addColumn<int>("exPng");
        QTest::addColumn<int>("pictureType"); // -1: no general image
        QTest::addColumn<int>("materialType");
        QTest::addColumn<bool>("pages");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("question");
        QTest::addColumn<int>("workerMode");
        const QString none = QString::fromUtf16(kNoTransmissionMessage);
        const QString png = QString::fromUtf16(kGeneralPngMessage);
        const QString server = QStringLiteral("データを送信サーバーに送信しますか？");
        QTest::newRow("0 refuses") << 0 << 2 << 0 << -1 << -1 << true << none << QString() << 0;
        QTest::newRow("4 refuses, no pages") << 4 << 0 << 0 << -1 << -1 << false << none << QString() << 0;
        QTest::newRow("4 refuses, general image") << 4 << 2 << 1 << 3 << -1 << true << none << QString() << 0;
        QTest::newRow("1 modulator") << 1 << 0 << 0 << -1 << -1 << true << QString()
                                     << QStringLiteral("データをOFDM変調器に送信しますか？") << 3;
        QTest::newRow("1 control") << 1 << 1 << 0 << -1 << -1 << true << QString()
                                   << QStringLiteral("データを制御ソフトに送信しますか？") << 10;
        QTest::newRow("1 server") << 1 << 2 << 0 << -1 << -1 << true << QString() << server << 11;
        QTest::newRow("1 access 5 is the server") << 1 << 5 << 0 << -1 << -1 << true << QString() << server << 11;
        QTest::newRow("1 gif picture") << 1 << 2 << 0 << 4 << -1 << true << png << QString() << 0;
        QTest::newRow("1 gif material") << 1 << 2 << 0 << -1 << 4 << true << png << QString() << 0;
        QTest::newRow("1 colour-map png is fine") << 1 << 2 << 0 << 1 << 1 << true << QString() << server << 11;
        QTest::newRow("1 ExPNG on") << 1 << 2 << 1 << -1 << -1 << true << png << QString() << 0;
        QTest::newRow("1 no pages") << 1 << 2 << 0 << -1 << -1 << false << QString() << QString() << 0;
        QTest::newRow("2 ftp") << 2 << 1 << 0 << -1 << -1 << true << QString()
                               << QStringLiteral("データをFTPサーバーに送信しますか？") << 3;
        QTest::newRow("2 ExPNG on") << 2 << 0 << 1 << -1 << -1 << true << png << QString() << 0;
        QTest::newRow("3 online") << 3 << 2 << 0 << -1 << -1 << true << QString() << server << 15;
        QTest::newRow("3 general png, ExPNG off") << 3 << 2 << 0 << -1 << 3 << true << png << QString() << 0;
        QTest::newRow("3 general png, ExPNG on") << 3 << 2 << 1 << 3 << 4 << true << QString() << server << 15;
    }
    void decisions()
    {
        QFETCH(int, edition);
        QFETCH(int, modeAccess);
        QFETCH(int, exPng);
        QFETCH(int, pictureType);
        QFETCH(int, materialType);
        QFETCH(bool, pages);
        CContentModel model;
        if (pages)
            model.pages.Add(std::make_unique<CMyProgramInfo>());
        auto picture = std::make_unique<CMyPictureInfo>();
        picture->type = pictureType < 0 ? kImageJpeg : pictureType;
        model.pictures.Add(std::move(picture));
        auto material = std::make_unique<CMyPictureInfo>();
        material->type = materialType < 0 ? kImageColourMapPng : materialType;
        model.materials.Add(std::move(material));
        const TransmitDecision d = DecideTransmission(model, exPng, modeAccess, edition);
        QTEST(d.refusal, "refusal");
        QTEST(d.question, "question");
        QTEST(d.workerMode, "workerMode");
    }

    void packageNamesCarryMinuteAndSecond()
    {
        QCOMPARE(PackageName(kWorkerServer, QTime(7, 13, 5)), QStringLiteral("xmldata1305"));
        QCOMPARE(PackageName(kWorkerServer, QTime(19, 13, 5)), QStringLiteral("xmldata1305"));
        QCOMPARE(PackageName(kWorkerServer, QTime(0, 0, 9)), QStringLiteral("xmldata0009"));
        QCOMPARE(PackageName(kWorkerOnline, QTime(7, 13, 5)), QStringLiteral("xmldata"));
    }

    // Every edition through the command's rules, then the worker's upload on the real server.
    void uploadsOfEveryEdition_data()
    {
        QTest::addColumn<int>("edition");
        QTest::addColumn<int>("modeAccess");
        QTest::addColumn<QString>("remote"); // empty: nothing is sent
        QTest::newRow("0") << 0 << 2 << QString();
        QTest::newRow("1 modulator") << 1 << 0 << QString();
        QTest::newRow("1 control") << 1 << 1 << QString();
        QTest::newRow("1 server") << 1 << 2 << QStringLiteral("xmldata1305.tar");
        QTest::newRow("2") << 2 << 2 << QString();
        QTest::newRow("3") << 3 << 0 << QStringLiteral("xmldata.tar");
        QTest::newRow("4") << 4 << 2 << QString();
    }
    void uploadsOfEveryEdition()
    {
        QFETCH(int, edition);
        QFETCH(int, modeAccess);
        QFETCH(QString, remote);
        CTestFtpServer server;
        QVERIFY(server.Start());
        QTemporaryDir dir;
        CContentModel model;
        ProgramSettings programSettings;
        MakeContent(model, programSettings, dir.filePath(QStringLiteral("content")));
        const QString work = dir.filePath(QStringLiteral("work"));
        const TransmitDecision decision = DecideTransmission(model, 0, modeAccess, edition);
        if (decision.workerMode == kWorkerNone) {
            QVERIFY(remote.isEmpty());
            QVERIFY(!decision.refusal.isEmpty());
            return;
        }
        UploadJob job;
        QString error;
        QVERIFY2(PrepareUpload(model, programSettings, SettingsFor(server), work,
                               decision.workerMode, kNow, &job, &error),
                 qPrintable(error));
        // The package is kept while the upload runs, with its project inside.
        const QList<ArchivedEntry> package = job.packagePath.isEmpty() ? QList<ArchivedEntry>()
                                                                  : ReadTar(job.packagePath);
        const TransmitResult result = RunUpload(job);
        QCOMPARE(result.confirmed, !remote.isEmpty());
        if (remote.isEmpty()) {
            QVERIFY(!result.attempted);
            QCOMPARE(result.status, QString::fromUtf16(kStatusNothingSent));
            QCOMPARE(server.Commands(false), QStringList());
            return;
        }
        QCOMPARE(result.remoteName, remote);
        QCOMPARE(result.status, QString::fromUtf16(kStatusUploaded).arg(remote));
        QCOMPARE(server.Commands(), Upload(remote));
        // The server holds the package as built, and the package is gone here.
        const QList<ArchivedEntry> stored = ReadTar(server.Root() + u'/' + remote);
        QCOMPARE(stored.size(), 6);
        QCOMPARE(stored.size(), package.size());
        for (int i = 0; i < stored.size(); ++i) {
            QCOMPARE(stored.at(i).name, package.at(i).name);
            QCOMPARE(stored.at(i).bytes, package.at(i).bytes);
        }
        QCOMPARE(QDir(work + QStringLiteral("/xmldata")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void failedUploadsAreReportedAndLeaveNoPackage_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("no server") << QStringLiteral("no server");
        QTest::newRow("wrong password") << QStringLiteral("password");
        QTest::newRow("STOR refused") << QStringLiteral("STOR");
        QTest::newRow("STOR unanswered") << QStringLiteral("stall");
    }
    void failedUploadsAreReportedAndLeaveNoPackage()
    {
        QFETCH(QString, failure);
        CTestFtpServer server;
        QStringList options;
        if (failure == u"STOR")
            options << QStringLiteral("--refuse") << QStringLiteral("STOR");
        if (failure == u"stall")
            options << QStringLiteral("--stall") << QStringLiteral("STOR");
        QVERIFY(server.Start(options));
        QTemporaryDir dir;
        CContentModel model;
        ProgramSettings programSettings;
        MakeContent(model, programSettings, dir.filePath(QStringLiteral("content")));
        AppSettings settings = SettingsFor(server);
        if (failure == u"no server")
            settings.FTPDataPort = 1; // nothing listens on port 1 here
        if (failure == u"password")
            settings.ServerPassword = QStringLiteral("wrong");
        UploadJob job;
        QVERIFY(PrepareUpload(model, programSettings, settings, dir.path(), kWorkerServer, kNow,
                              &job, nullptr));
        job.options.connectTimeoutMs = 2000;
        job.options.noDataTimeoutMs = 1000;
        const TransmitResult result = RunUpload(job);
        QVERIFY(result.attempted);
        QVERIFY(!result.confirmed);
        QCOMPARE(result.connectFailed, failure == u"no server" || failure == u"password");
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(result.status, QString::fromUtf16(kStatusUploadFailed).arg(result.error));
        QVERIFY(!QFileInfo::exists(job.packagePath));
        QVERIFY(!QFileInfo::exists(job.packageFolder + QStringLiteral("/xmldata1305.")));
    }

    void configurationUpload()
    {
        CTestFtpServer server;
        QVERIFY(server.Start());
        QDir().mkpath(server.Root() + QStringLiteral("/default"));
        QTemporaryDir dir;
        const QString bcml = dir.filePath(QStringLiteral("bcml/y.bcml"));
        const QString local = ConfigFilePath(bcml);
        QCOMPARE(local, dir.filePath(QStringLiteral("bcml/config.txt")));
        QVERIFY(WriteBytes(local, "PID=352\n"));
        AppSettings settings;
        settings.FTPAddress4 = QStringLiteral("127.0.0.1");
        settings.FTPPort4 = server.Port();
        settings.FTPName4 = QLatin1String(CTestFtpServer::kUser);
        settings.FTPPass4 = QLatin1String(CTestFtpServer::kPassword);
        settings.PASV1 = 1;
        settings.PASV2 = 0; // only PASV1 governs the modulator
        TransmitResult r = RunConfigurationUpload(ModulatorProfile(settings), local);
        QCOMPARE(r.status, QString::fromUtf16(kStatusSuccess));
        QCOMPARE(ReadBytes(server.Root() + QStringLiteral("/default/config.txt")), QByteArray("PID=352\n"));
        QCOMPARE(server.Commands(),
                 (QStringList{QStringLiteral("USER admin"), QStringLiteral("PASS s3cret pass"),
                              QStringLiteral("PWD"), QStringLiteral("CWD /default"),
                              QStringLiteral("DELE config.err"), QStringLiteral("PASV"),
                              QStringLiteral("TYPE I"), QStringLiteral("STOR config.txt"),
                              QStringLiteral("QUIT")}));

        QVERIFY(QFile::remove(local));
        r = RunConfigurationUpload(ModulatorProfile(settings), local);
        QCOMPARE(r.status, QString::fromUtf16(kStatusFailure));

        settings.FTPPort4 = 1;
        r = RunConfigurationUpload(ModulatorProfile(settings), local);
        QCOMPARE(r.status, QString::fromUtf16(kStatusConnectFailed));
    }

    void runnerRunsOneAtATimeAndCancels()
    {
        CTestFtpServer server;
        QVERIFY(server.Start({QStringLiteral("--stall"), QStringLiteral("STOR")}));
        QTemporaryDir dir;
        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("p.tar")), "package"));
        const ConnectionProfile profile = server.Profile();
        const QString path = dir.filePath(QStringLiteral("p.tar"));
        auto work = [profile, path](const std::atomic_bool &cancel) {
            TransmitResult r;
            FtpOptions options;
            options.cancel = &cancel;
            auto c = OpenFtp(profile, options, &r.error);
            if (c) {
                r.confirmed = c->PutLocalFile(path, QStringLiteral("p.tar"));
                r.error = c->LastError();
            }
            r.status = r.error;
            return r;
        };

        // The result arrives on this thread, by a queued signal.
        {
            CTransmissionRunner runner;
            QSignalSpy finished(&runner, &CTransmissionRunner::Finished);
            QVERIFY(runner.Start([](const std::atomic_bool &) {
                TransmitResult r;
                r.status = QStringLiteral("done");
                return r;
            }));
            QVERIFY(runner.IsRunning());
            QVERIFY(finished.wait(5000));
            QCOMPARE(finished.first().first().value<TransmitResult>().status, QStringLiteral("done"));
            QVERIFY(!runner.IsRunning());
        }

        auto runner = std::make_unique<CTransmissionRunner>();
        QSignalSpy finished(runner.get(), &CTransmissionRunner::Finished);
        QVERIFY(runner->Start(work));
        QVERIFY(!runner->Start(work)); // one at a time
        QTRY_VERIFY(server.Commands(false).contains(QStringLiteral("STOR p.tar")));
        QElapsedTimer timer;
        timer.start();
        runner.reset(); // the window closes: cancel and wait
        QVERIFY(timer.elapsed() < 3000);
        QCOMPARE(finished.size(), 0);
    }
};

ORIN_TEST_CLASS(TransmissionTest)
#include "tst_transmission.moc"
