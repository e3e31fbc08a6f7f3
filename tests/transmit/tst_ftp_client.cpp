// SPDX-License-Identifier: MIT
// The FTP client against a real server: what goes over the wire, and how failures end.

#include "ftp_test_server.h"
#include "test_registry.h"
#include "transmit/ftp_client.h"

#include <QElapsedTimer>
#include <QtTest>

#include <chrono>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace orin;
using orin::test::CTestFtpServer;

namespace {

QByteArray Pattern(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 256) & 0xff);
    return bytes;
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ReadFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A TCP port on 127.0.0.1 that takes connections (the system completes them) but never says
// a word: a server that stopped answering before its greeting.
class CSilentListener {
public:
    CSilentListener()
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
            && ::listen(m_socket, 4) == 0
            && ::getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~CSilentListener() { ::close(m_socket); }
    int Port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};

// A port on which nothing listens.
int ClosedPort()
{
    CSilentListener listener;
    return listener.Port(); // closed again when the listener goes
}

} // namespace

class FtpClientTest : public QObject {
    Q_OBJECT

private slots:
    void transfersBinaryInBothModes_data()
    {
        QTest::addColumn<bool>("passive");
        QTest::addColumn<QString>("modeCommand");
        QTest::newRow("passive") << true << QStringLiteral("PASV");
        QTest::newRow("active") << false << QStringLiteral("PORT");
    }
    void transfersBinaryInBothModes()
    {
        QFETCH(bool, passive);
        QFETCH(QString, modeCommand);
        CTestFtpServer server;
        QVERIFY(server.Start());
        QTemporaryDir dir;
        const QByteArray up = Pattern(70000) + QByteArray("\r\n\n\r\x1a", 5);
        WriteFile(dir.filePath(QStringLiteral("up.bin")), up);
        const QByteArray served = Pattern(5000) + QByteArray("\r\n", 2);
        WriteFile(dir.filePath(QStringLiteral("served.bin")), served);
        const QString special = QStringLiteral("@RECORDDATA2024/05/05 07:08:09");
        server.Serve({{special, dir.filePath(QStringLiteral("served.bin"))}});

        QString error;
        auto c = OpenFtp(server.Profile(passive), {}, &error);
        QVERIFY2(c, qPrintable(error));
        QVERIFY2(c->PutLocalFile(dir.filePath(QStringLiteral("up.bin")),
                                 QStringLiteral("xmldata1305.tar")),
                 qPrintable(c->LastError()));
        const QString down = dir.filePath(QStringLiteral("SeverContents"));
        QVERIFY2(c->GetRemoteFile(special, down), qPrintable(c->LastError()));
        CloseFtp(c);

        QCOMPARE(ReadFile(server.Root() + QStringLiteral("/xmldata1305.tar")), up);
        QCOMPARE(ReadFile(down), served);
        const QStringList commands = server.Commands();
        QStringList expected{QStringLiteral("USER admin"), QStringLiteral("PASS s3cret pass"),
                             QStringLiteral("PWD")};
        QStringList got = commands;
        // The argument of PORT is the client's address and port.
        for (QString &line : got) {
            if (line.startsWith(u"PORT "))
                line = QStringLiteral("PORT");
        }
        expected << modeCommand << QStringLiteral("TYPE I")
                 << QStringLiteral("STOR xmldata1305.tar") << modeCommand
                 << QStringLiteral("RETR ") + special << QStringLiteral("QUIT");
        QCOMPARE(got, expected);
    }

    void commandsThatMayFailDoNotStopTheUpload_data()
    {
        QTest::addColumn<bool>("folderExists");
        QTest::addColumn<bool>("errorFileExists");
        QTest::newRow("folder and old error file") << true << true;
        QTest::newRow("no such folder") << false << false;
    }
    void commandsThatMayFailDoNotStopTheUpload()
    {
        QFETCH(bool, folderExists);
        QFETCH(bool, errorFileExists);
        CTestFtpServer server;
        QVERIFY(server.Start());
        if (folderExists)
            QVERIFY(QDir().mkpath(server.Root() + QStringLiteral("/default")));
        if (errorFileExists)
            WriteFile(server.Root() + QStringLiteral("/default/config.err"), "old");
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("config.txt")), "mode=1\n");
        auto c = OpenFtp(server.Profile());
        QVERIFY(c);
        QVERIFY2(c->PutLocalFile(dir.filePath(QStringLiteral("config.txt")),
                                 QStringLiteral("config.txt"),
                                 {QStringLiteral("CWD /default"), QStringLiteral("DELE config.err")}),
                 qPrintable(c->LastError()));
        CloseFtp(c);
        const QString folder = server.Root() + (folderExists ? QStringLiteral("/default") : QString());
        QCOMPARE(ReadFile(folder + QStringLiteral("/config.txt")), QByteArray("mode=1\n"));
        QVERIFY(!QFile::exists(server.Root() + QStringLiteral("/default/config.err")));
        QCOMPARE(server.Commands().mid(3),
                 (QStringList{QStringLiteral("CWD /default"), QStringLiteral("DELE config.err"),
                              QStringLiteral("PASV"), QStringLiteral("TYPE I"),
                              QStringLiteral("STOR config.txt"), QStringLiteral("QUIT")}));
    }

    void failuresEndWithAReason()
    {
        CTestFtpServer server;
        QVERIFY(server.Start({QStringLiteral("--refuse"), QStringLiteral("STOR")}));
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("up.bin")), "data");

        // Wrong password: no connection, and the reason names neither password.
        ConnectionProfile wrong = server.Profile();
        wrong.password = QStringLiteral("not-it");
        QString error;
        QVERIFY(!OpenFtp(wrong, {}, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!error.contains(u"not-it"));

        // No server at all.
        ConnectionProfile nobody = server.Profile();
        nobody.port = ClosedPort();
        error.clear();
        QVERIFY(!OpenFtp(nobody, {}, &error));
        QVERIFY(!error.isEmpty());

        // Unusable ports and addresses are refused before anything is sent.
        for (const int port : {0, 65536, -21}) {
            ConnectionProfile p = server.Profile();
            p.port = port;
            QVERIFY(!OpenFtp(p, {}, &error));
            QCOMPARE(error, QString::fromUtf16(kFtpBadPort));
        }
        ConnectionProfile badHost = server.Profile();
        badHost.address = QStringLiteral("host/evil@x");
        QVERIFY(!OpenFtp(badHost, {}, &error));
        QCOMPARE(error, QString::fromUtf16(kFtpBadAddress));

        // A refused STOR is a failed upload; a missing "@" name is a failed download that
        // leaves the local file as it was.
        auto c = OpenFtp(server.Profile(), {}, &error);
        QVERIFY2(c, qPrintable(error));
        QVERIFY(!c->PutLocalFile(dir.filePath(QStringLiteral("up.bin")), QStringLiteral("x.tar")));
        QVERIFY(c->LastError().contains(u"550"));
        const QString local = dir.filePath(QStringLiteral("SeverContents"));
        WriteFile(local, "previous");
        QVERIFY(!c->GetRemoteFile(QStringLiteral("@CURRENTDATA3"), local));
        QCOMPARE(ReadFile(local), QByteArray("previous"));
        QVERIFY(!c->PutLocalFile(dir.filePath(QStringLiteral("missing.bin")), QStringLiteral("y")));
        CloseFtp(c);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    // Each kind of failure reaches the operator as a text of the program's own, with the
    // server's reply as the detail when it refused something; never libcurl's English.
    void eachFailureIsToldInTheOperatorsWords_data()
    {
        QTest::addColumn<QStringList>("serverOptions");
        QTest::addColumn<QString>("step"); // "connect", "login", "put" or "get"
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reply");
        QTest::newRow("cannot connect") << QStringList() << QStringLiteral("connect")
            << int(FtpFailure::Connect) << QString::fromUtf16(kFtpConnectFailed) << QString();
        QTest::newRow("login refused") << QStringList() << QStringLiteral("login")
            << int(FtpFailure::Login) << QString::fromUtf16(kFtpLoginRefused)
            << QStringLiteral("530 Authentication failed.");
        QTest::newRow("no reply") << QStringList{QStringLiteral("--stall"), QStringLiteral("RETR")}
            << QStringLiteral("get") << int(FtpFailure::TimedOut)
            << QString::fromUtf16(kFtpTimedOut) << QString();
        // The data connection stays open but stops after some bytes: the no-data time-out
        // ends it, nothing of it is kept.
        QTest::newRow("data stalls")
            << QStringList{QStringLiteral("--stall-data-after"), QStringLiteral("5000")}
            << QStringLiteral("get") << int(FtpFailure::TimedOut)
            << QString::fromUtf16(kFtpTimedOut) << QString();
        QTest::newRow("refused") << QStringList{QStringLiteral("--refuse"), QStringLiteral("STOR")}
            << QStringLiteral("put") << int(FtpFailure::Refused)
            << QString::fromUtf16(kFtpRefused) << QStringLiteral("550 Refused by the test.");
        QTest::newRow("missing name") << QStringList() << QStringLiteral("get")
            << int(FtpFailure::Refused) << QString::fromUtf16(kFtpRefused)
            << QStringLiteral("550 No such content.");
        QTest::newRow("disk full")
            << QStringList{QStringLiteral("--refuse"), QStringLiteral("STOR:452")}
            << QStringLiteral("put") << int(FtpFailure::DiskFull)
            << QString::fromUtf16(kFtpDiskFull) << QStringLiteral("452 Insufficient storage space.");
        QTest::newRow("connection lost")
            << QStringList{QStringLiteral("--hangup"), QStringLiteral("RETR")}
            << QStringLiteral("get") << int(FtpFailure::ConnectionLost)
            << QString::fromUtf16(kFtpConnectionLost) << QString();
    }
    void eachFailureIsToldInTheOperatorsWords()
    {
        QFETCH(QStringList, serverOptions);
        QFETCH(QString, step);
        QFETCH(int, failure);
        QFETCH(QString, text);
        QFETCH(QString, reply);
        CTestFtpServer server;
        QVERIFY(server.Start(serverOptions));
        QTemporaryDir dir;
        WriteFile(dir.filePath(QStringLiteral("up.bin")), Pattern(3000));
        WriteFile(dir.filePath(QStringLiteral("served.bin")), Pattern(200000));
        server.Serve({{QStringLiteral("@CURRENTDATA0"), dir.filePath(QStringLiteral("served.bin"))}});
        FtpOptions options;
        options.connectTimeoutMs = 1500;
        options.noDataTimeoutMs = 1500;
        ConnectionProfile profile = server.Profile();
        if (step == u"connect")
            profile.port = ClosedPort();
        if (step == u"login")
            profile.password = QStringLiteral("not-it");

        QElapsedTimer timer;
        timer.start();
        QString error;
        FtpFailure got = FtpFailure::None;
        auto c = OpenFtp(profile, options, &error, &got);
        const QString local = dir.filePath(QStringLiteral("SeverContents"));
        if (c) {
            QVERIFY2(step == u"put" || step == u"get", qPrintable(step));
            const bool ok = step == u"put"
                                ? c->PutLocalFile(dir.filePath(QStringLiteral("up.bin")),
                                                  QStringLiteral("x.tar"))
                                : c->GetRemoteFile(step == u"get" && reply.contains(u"No such")
                                                       ? QStringLiteral("@CURRENTDATA9")
                                                       : QStringLiteral("@CURRENTDATA0"),
                                                   local);
            QVERIFY(!ok);
            error = c->LastError();
            got = c->LastFailure();
        }
        QCOMPARE(int(got), failure);
        const QString expected =
            reply.isEmpty() ? text : QString::fromUtf16(kFtpServerSaid).arg(text, reply);
        QCOMPARE(error, expected);
        QVERIFY2(timer.elapsed() < 15000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!QFile::exists(local));
    }

    // A download stops at its limit while it runs: a file of exactly the limit arrives, one
    // byte more is refused, and the transfer is not carried on to its end.
    void downloadsStopAtTheirLimit_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("fits");
        QTest::newRow("at the limit") << 100000 << true;
        QTest::newRow("one byte over") << 100001 << false;
        QTest::newRow("far over") << 30000000 << false;
    }
    void downloadsStopAtTheirLimit()
    {
        QFETCH(int, size);
        QFETCH(bool, fits);
        constexpr qint64 kLimit = 100000;
        CTestFtpServer server;
        QVERIFY(server.Start());
        QTemporaryDir dir;
        const QString served = dir.filePath(QStringLiteral("served.bin"));
        {
            QFile f(served);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(size)); // a sparse file: large without filling the disk
        }
        server.Serve({{QStringLiteral("@CURRENTDATA0"), served}});
        qint64 seen = 0;
        FtpOptions options;
        options.progress = [&seen](qint64 done, qint64) { seen = std::max(seen, done); };
        auto c = OpenFtp(server.Profile(), options);
        QVERIFY(c);
        const QString local = dir.filePath(QStringLiteral("SeverContents"));
        QCOMPARE(c->GetRemoteFile(QStringLiteral("@CURRENTDATA0"), local, kLimit), fits);
        if (fits) {
            QCOMPARE(QFileInfo(local).size(), kLimit);
            return;
        }
        QCOMPARE(c->LastFailure(), FtpFailure::TooLarge);
        QCOMPARE(c->LastError(), QString::fromUtf16(kFtpTooLarge).arg(kLimit));
        QVERIFY(!QFile::exists(local));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("served.bin")});
        QVERIFY2(seen < kLimit + (1 << 20), qPrintable(QString::number(seen)));
        CloseFtp(c);
    }

    void silentServersTimeOut_data()
    {
        QTest::addColumn<QString>("stall"); // empty: no greeting at all
        QTest::newRow("no greeting") << QString();
        QTest::newRow("no reply to PASS") << QStringLiteral("PASS");
        QTest::newRow("no reply to RETR") << QStringLiteral("RETR");
    }
    void silentServersTimeOut()
    {
        QFETCH(QString, stall);
        FtpOptions options;
        options.connectTimeoutMs = 1500;
        options.noDataTimeoutMs = 1500;
        CSilentListener silent;
        CTestFtpServer server;
        ConnectionProfile profile;
        if (stall.isEmpty()) {
            profile = {QStringLiteral("127.0.0.1"), silent.Port(), QStringLiteral("u"),
                       QStringLiteral("p"), true};
        } else {
            QVERIFY(server.Start({QStringLiteral("--stall"), stall}));
            profile = server.Profile();
        }
        QTemporaryDir dir;
        QElapsedTimer timer;
        timer.start();
        QString error;
        auto c = OpenFtp(profile, options, &error);
        if (c) {
            QCOMPARE(stall, QStringLiteral("RETR"));
            QVERIFY(!c->GetRemoteFile(QStringLiteral("@CURRENTDATA0"),
                                      dir.filePath(QStringLiteral("x"))));
            error = c->LastError();
        }
        QVERIFY(!error.isEmpty());
        // The time-out, not a hang: well under the 60 s default.
        QVERIFY2(timer.elapsed() < 15000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("x"))));
    }

    void cancelEndsAWaitingTransfer()
    {
        CTestFtpServer server;
        QVERIFY(server.Start({QStringLiteral("--stall"), QStringLiteral("RETR")}));
        std::atomic_bool cancel{false};
        FtpOptions options;
        options.cancel = &cancel;
        auto c = OpenFtp(server.Profile(), options);
        QVERIFY(c);
        QTemporaryDir dir;
        QElapsedTimer timer;
        timer.start();
        std::thread raiser([&cancel] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            cancel = true;
        });
        QVERIFY(!c->GetRemoteFile(QStringLiteral("@CURRENTDATA0"), dir.filePath(QStringLiteral("x"))));
        raiser.join();
        QCOMPARE(c->LastError(), QString::fromUtf16(kFtpCancelled));
        QVERIFY(timer.elapsed() < 5000);
        // Once cancelled, nothing more is sent.
        QVERIFY(!c->PutLocalFile(dir.filePath(QStringLiteral("x")), QStringLiteral("y")));
    }

    void remoteNamesTravelAsOneSegment()
    {
        const ConnectionProfile p{QStringLiteral("10.1.2.3"), 2122, QStringLiteral("u"),
                                  QStringLiteral("pw"), true};
        QCOMPARE(RemoteUrl(p, QStringLiteral("@RECORDCHANNEL042024/05/05 07:08:09")),
                 QByteArray("ftp://10.1.2.3:2122/%40RECORDCHANNEL042024%2F05%2F05%2007%3A08%3A09"));
    }
};

ORIN_TEST_CLASS(FtpClientTest)
#include "tst_ftp_client.moc"
