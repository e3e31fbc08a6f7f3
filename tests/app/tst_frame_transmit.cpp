// SPDX-License-Identifier: MIT
// The frame's transmission and retrieval commands headless, against a real FTP server: what the
// operator is asked and told, the modified flag, one transmission at a time, closing.
#include "test_registry.h"

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/status_panes.h"
#include "transmit_content.h"
#include "document/document.h"
#include "ftp_test_server.h"
#include "server_archive.h"
#include "prompt_fixtures.h"
#include "settings/app_settings.h"
#include "settings/ini_store.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

struct TransmitFixture {
    QTemporaryDir dir;
    CScriptedPrompt prompt;
    CTestFtpServer server;
    std::unique_ptr<CMainFrame> frame;
    int askedType = 1;
    int askedNumber = 3;
    int asked = 0;

    // A frame of the edition whose servers are the test server, with a small content set
    // open.
    bool Make(int edition, int modeAccess, const QStringList &serverOptions = {})
    {
        if (!server.Start(serverOptions))
            return false;
        CIniStore store(SettingsFilePath(dir.path(), edition));
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

        FrameSetup setup;
        setup.appFolder = dir.path();
        setup.edition = edition;
        setup.workArea = QRect(0, 0, 1920, 1080);
        setup.prompt = &prompt;
        setup.workFolderSeed = 11;
        setup.openUrl = [](const QUrl &) { return false; };
        setup.ftpOptions.connectTimeoutMs = 3000;
        setup.ftpOptions.noDataTimeoutMs = 30000;
        setup.askRetrieval = [this](int &type, int &number, QDateTime &time) {
            ++asked;
            type = askedType;
            number = askedNumber;
            time = QDateTime(QDate(2024, 5, 5), QTime(7, 8, 9));
            return true;
        };
        frame = std::make_unique<CMainFrame>(setup);
        CContentModel model;
        ProgramSettings settings;
        MakeContent(model, settings, dir.filePath(QStringLiteral("content")));
        const QString path = dir.filePath(QStringLiteral("news.bjpx"));
        return SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), settings).ok
               && frame->Document().OpenProjectFile(path);
    }

    void Transmit(PromptAnswer answer = PromptAnswer::Yes)
    {
        prompt.answers.append(answer);
        frame->Action(cmd::kTransmit)->trigger();
    }
    QString Status() const { return frame->StatusText(kPaneTransmit); }

    // Presses Esc on the progress dialog once the server has received `command` and keeps
    // silent; notes what the dialog was like and when the key went.
    QString progressTitle;
    bool progressWasModal = false;
    QElapsedTimer sinceEscape;
    void EscapeOnceAsked(const QString &command)
    {
        QTimer::singleShot(0, [this, command] {
            QTRY_VERIFY(qobject_cast<QProgressDialog *>(QApplication::activeModalWidget()));
            auto *progress = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
            progressTitle = progress->windowTitle();
            progressWasModal = progress->isModal();
            QTRY_VERIFY_WITH_TIMEOUT(server.Commands().contains(command), 15000);
            sinceEscape.start();
            QTest::keyClick(progress, Qt::Key_Escape);
        });
    }
    // The work stopped soon after the Esc (the no-data time-out is 30 s).
    bool StoppedByEscape() const { return sinceEscape.isValid() && sinceEscape.elapsed() < 5000; }
};

} // namespace

class FrameTransmitTest : public QObject {
    Q_OBJECT

private slots:
    void confirmedUploadClearsTheModifiedFlag_data()
    {
        QTest::addColumn<int>("edition");
        QTest::addColumn<bool>("editDuringUpload");
        QTest::addColumn<QString>("remotePattern");
        QTest::newRow("1 server") << 1 << false << QStringLiteral("xmldata\\d{4}\\.tar");
        QTest::newRow("1 edited meanwhile") << 1 << true << QStringLiteral("xmldata\\d{4}\\.tar");
        QTest::newRow("3 online") << 3 << false << QStringLiteral("xmldata\\.tar");
    }
    void confirmedUploadClearsTheModifiedFlag()
    {
        QFETCH(int, edition);
        QFETCH(bool, editDuringUpload);
        QFETCH(QString, remotePattern);
        TransmitFixture f;
        QVERIFY(f.Make(edition, 2));
        f.frame->Document().SetModified();
        QVERIFY(f.frame->windowTitle().endsWith(u'*'));
        f.Transmit();
        QCOMPARE(f.prompt.records.last().text, QStringLiteral("データを送信サーバーに送信しますか？"));
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("データ送信"));
        QVERIFY(f.frame->IsTransmitting());
        if (editDuringUpload)
            f.frame->Document().SetModified();
        QTRY_VERIFY_WITH_TIMEOUT(!f.frame->IsTransmitting(), 20000);
        const QRegularExpression status(QStringLiteral("^伝送完了 (") + remotePattern + u')');
        const auto match = status.match(f.Status());
        QVERIFY2(match.hasMatch(), qPrintable(f.Status()));
        QVERIFY(f.server.Commands().contains(QStringLiteral("STOR ") + match.captured(1)));
        QCOMPARE(f.frame->Document().IsModified(), editDuringUpload);
        QCOMPARE(f.frame->windowTitle().endsWith(u'*'), editDuringUpload);
        QCOMPARE(f.prompt.Messages().size(), 1); // the question alone
        // The package went with the attempt.
        QCOMPARE(QDir(f.frame->Folders().work + QStringLiteral("xmldata"))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void failuresAreToldAndKeepTheFlag()
    {
        TransmitFixture f;
        QVERIFY(f.Make(1, 2, {QStringLiteral("--refuse"), QStringLiteral("STOR")}));
        f.frame->Document().SetModified();
        f.Transmit();
        QTRY_VERIFY_WITH_TIMEOUT(!f.frame->IsTransmitting(), 20000);
        QVERIFY2(f.Status().startsWith(QStringLiteral("伝送失敗 ")), qPrintable(f.Status()));
        QVERIFY(f.frame->Document().IsModified());
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("エラー"));
        QVERIFY(f.prompt.records.last().text.contains(u"550"));

        // "No" sends nothing.
        f.server.ClearLog();
        f.Transmit(PromptAnswer::No);
        QVERIFY(!f.frame->IsTransmitting());
        QCOMPARE(f.server.Commands(false), QStringList());
    }

    void modesThatSendNothingSaySo()
    {
        TransmitFixture f;
        QVERIFY(f.Make(1, 0));
        f.Transmit();
        QCOMPARE(f.prompt.records.last().text, QStringLiteral("データをOFDM変調器に送信しますか？"));
        QTRY_VERIFY(!f.frame->IsTransmitting());
        QCOMPARE(f.Status(), QStringLiteral("この伝送先へのデータ転送は行いません"));
        QCOMPARE(f.server.Commands(false), QStringList());
    }

    void oneTransmissionAtATimeAndClosingStopsIt()
    {
        TransmitFixture f;
        QVERIFY(f.Make(1, 2, {QStringLiteral("--stall"), QStringLiteral("STOR")}));
        f.Transmit();
        QVERIFY(f.frame->IsTransmitting());
        QTRY_VERIFY(f.server.Commands(false).filter(QStringLiteral("STOR")).size() == 1);
        f.frame->Action(cmd::kTransmit)->trigger();
        QCOMPARE(f.prompt.records.last().text, QStringLiteral("伝送中です。終了してから実行してください"));
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("ERROR"));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(f.frame->close());
        QVERIFY(!f.frame->IsTransmitting());
        QVERIFY(timer.elapsed() < 5000);
    }

    void retrievalFailureKeepsTheContent()
    {
        TransmitFixture f;
        QVERIFY(f.Make(1, 2));
        const QString title = f.frame->windowTitle();
        f.frame->Action(cmd::kServerRetrieve)->trigger();
        QCOMPARE(f.asked, 1);
        // Why, in the operator's words, with the server's own as the detail.
        QCOMPARE(f.prompt.Messages(),
                 QStringList{QStringLiteral("データを受信できません\n@CURRENTLABEL3: "
                                            "サーバーが要求を拒否しました"
                                            "（サーバーの応答: 550 No such content.）")});
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("エラー"));
        QCOMPARE(f.server.Commands(), (QStringList{QStringLiteral("USER admin"),
                                                   QStringLiteral("PASS s3cret pass"),
                                                   QStringLiteral("PWD"), QStringLiteral("PASV"),
                                                   QStringLiteral("TYPE I"),
                                                   QStringLiteral("RETR @CURRENTLABEL3"),
                                                   QStringLiteral("QUIT")}));
        QCOMPARE(f.frame->windowTitle(), title);
        QCOMPARE(f.frame->Model().pages.Count(), 2);
        const CIniStore store(SettingsFilePath(f.dir.path(), 1));
        QCOMPARE(store.GetInt(QStringLiteral("Config"), QStringLiteral("TypeContents"), -1), 1);
        QCOMPARE(store.GetInt(QStringLiteral("Config"), QStringLiteral("NumberContents"), -1), 3);

        // A modified content set is given up only when the operator agrees.
        f.prompt.Clear();
        f.server.ClearLog();
        f.frame->Document().SetModified();
        f.prompt.answers.append(PromptAnswer::No);
        f.frame->Action(cmd::kServerRetrieve)->trigger();
        QCOMPARE(f.prompt.Messages(), QStringList{QStringLiteral("ファイルを破棄しますか？")});
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("警告"));
        QCOMPARE(f.server.Commands(false), QStringList());
        QVERIFY(f.frame->Document().IsModified());
    }

    // The online edition's channel list comes from its server behind a progress dialog; a
    // server that does not answer is left with Cancel, not after the time-out.
    void channelListIsFetchedOffTheWindowsThread()
    {
        const QByteArray bytes = QByteArray("<ListChannel>") + QByteArray(1200, 'x');
        TransmitFixture f;
        QVERIFY(f.Make(3, 2));
        const QString list = f.dir.filePath(QStringLiteral("channels.xml"));
        WriteBytes(list, bytes);
        f.server.Serve({{QStringLiteral("@LISTCHANNEL"), list}});
        QCOMPARE(f.frame->RequestChannelList(), bytes.left(1024));
        QVERIFY(f.server.Commands().contains(QStringLiteral("RETR @LISTCHANNEL")));

        TransmitFixture stalled;
        QVERIFY(stalled.Make(3, 2, {QStringLiteral("--stall"), QStringLiteral("RETR")}));
        stalled.EscapeOnceAsked(QStringLiteral("RETR @LISTCHANNEL"));
        QCOMPARE(stalled.frame->RequestChannelList(), QByteArray());
        QVERIFY(stalled.StoppedByEscape());
        QCOMPARE(stalled.progressTitle, QStringLiteral("チャンネルリスト"));
        QVERIFY(stalled.progressWasModal);
    }

    void stoppedRetrievalKeepsTheContent()
    {
        TransmitFixture f;
        QVERIFY(f.Make(1, 2, {QStringLiteral("--stall"), QStringLiteral("RETR")}));
        const QString title = f.frame->windowTitle();
        f.EscapeOnceAsked(QStringLiteral("RETR @CURRENTLABEL3"));
        f.frame->Action(cmd::kServerRetrieve)->trigger();
        QVERIFY(f.StoppedByEscape());
        QCOMPARE(f.progressTitle, QStringLiteral("サーバーロード"));
        // A stop is the operator's own choice: no error, the content set as it was.
        QCOMPARE(f.prompt.Messages(), QStringList());
        QCOMPARE(f.frame->windowTitle(), title);
        QCOMPARE(f.frame->Model().pages.Count(), 2);
    }

    // A served project that names files of this computer: those references are dropped and
    // the operator is told which; nothing of them is shown or sent on.
    void referencesOutsideTheRetrievedContentAreDroppedAndTold()
    {
        TransmitFixture f;
        QVERIFY(f.Make(1, 2));
        const QString secret = f.dir.filePath(QStringLiteral("secret.jpg"));
        QVERIFY(WriteBytes(secret, ImageBytes("JPG", 0xff123456) + "SECRET"));
        const QString archive = f.dir.filePath(QStringLiteral("hostile.tar"));
        const QString climb = QStringLiteral("./news.") + QStringLiteral("/..").repeated(30) + secret;
        QVERIFY(WriteBytes(archive, ServerArchive(f.dir.filePath(QStringLiteral("stage")),
                                                  {{QStringLiteral("./news./pic.jpg"), secret},
                                                   {QStringLiteral("./news./mat.png"), climb}})));
        const QString labels = f.dir.filePath(QStringLiteral("labels.xml"));
        WriteBytes(labels, "<LabelContents/>");
        f.server.Serve({{QStringLiteral("@CURRENTDATA0"), archive},
                        {QStringLiteral("@CURRENTLABEL0"), labels}});
        f.askedType = 0;
        f.frame->Action(cmd::kServerRetrieve)->trigger();
        QCOMPARE(f.prompt.Messages(),
                 QStringList{QStringLiteral("受信したデータが受信フォルダの外のファイルを参照していたため、"
                                            "次の参照を外しました。\n素材 200: ")
                             + climb + QStringLiteral("\n画像 1: ") + secret});
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("警告"));
        QCOMPARE(f.frame->windowTitle(), QStringLiteral("OrinEditContents - DATASERVER"));
        QCOMPARE(f.frame->Model().pictures.At(0)->path, QString());
        QCOMPARE(f.frame->Model().materials.At(0)->path, QString());
        QVERIFY(!f.frame->Model().sounds.At(0)->path.isEmpty());

        // The next transmission sends what arrived and nothing of this computer.
        f.prompt.Clear();
        f.Transmit();
        QTRY_VERIFY_WITH_TIMEOUT(!f.frame->IsTransmitting(), 20000);
        const QString remote = f.Status().section(u' ', 1);
        const QByteArray sent = ReadBytes(f.server.Root() + u'/' + remote);
        QVERIFY2(sent.size() > 5000, qPrintable(remote));
        QVERIFY(!sent.contains("SECRET"));
    }

    void retrievedContentIsEditedFromTheServer()
    {
        TransmitFixture f;
        QVERIFY(f.Make(1, 2));
        // What this frame uploads is what the server then has on air.
        f.Transmit();
        QTRY_VERIFY_WITH_TIMEOUT(!f.frame->IsTransmitting(), 20000);
        const QString remote = f.Status().section(u' ', 1);
        const QString labels = f.dir.filePath(QStringLiteral("labels.xml"));
        WriteBytes(labels, "<LabelContents><Text label=\"見出し\"/><Background/></LabelContents>");
        f.server.Serve({{QStringLiteral("@CURRENTDATA0"), f.server.Root() + u'/' + remote},
                        {QStringLiteral("@CURRENTLABEL0"), labels}});
        f.askedType = 0;
        f.prompt.Clear();
        f.frame->Action(cmd::kServerRetrieve)->trigger();
        QCOMPARE(f.prompt.Messages(), QStringList());
        QCOMPARE(f.frame->windowTitle(), QStringLiteral("OrinEditContents - DATASERVER"));
        QVERIFY(!f.frame->Document().IsModified());
        QCOMPARE(f.frame->Model().pages.Count(), 2);
        QCOMPARE(f.frame->CurrentPageIndex(), 0);
        QCOMPARE(f.frame->ServerLabels().texts, QStringList{QStringLiteral("見出し")});
        QVERIFY(f.frame->ServerLabels().background);
    }
};

ORIN_TEST_CLASS(FrameTransmitTest)
#include "tst_frame_transmit.moc"
