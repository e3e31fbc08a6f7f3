// SPDX-License-Identifier: MIT
#pragma once

#include "test_paths.h"
#include "transmit/connection_profile.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// A real FTP server for the tests: tests/common/ftp_server.py under Debian's python (which
// has pyftpdlib), on 127.0.0.1 with a port the system chose, writing every command it
// receives to a log.

namespace orin::test {

class CTestFtpServer {
public:
    static constexpr const char *kUser = "admin";
    static constexpr const char *kPassword = "s3cret pass";

    // Starts the server; `extra` adds "--refuse CMD" / "--stall CMD" options. False (with a
    // warning) when it did not come up.
    bool Start(const QStringList &extra = {})
    {
        if (!m_dir.isValid())
            return false;
        QDir().mkpath(Root());
        Serve({});
        m_process.setProgram(QStringLiteral("/usr/bin/python3"));
        m_process.setArguments(QStringList{SourceDir() + QStringLiteral("/tests/common/ftp_server.py"),
                                           QStringLiteral("--root"), Root(),
                                           QStringLiteral("--log"), LogPath(),
                                           QStringLiteral("--serve"), ServePath(),
                                           QStringLiteral("--user"), QLatin1String(kUser),
                                           QStringLiteral("--password"), QLatin1String(kPassword)}
                               + extra);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        if (!m_process.waitForStarted(10000))
            return false;
        QByteArray line;
        while (!line.contains('\n')) {
            if (!m_process.waitForReadyRead(10000))
                return false;
            line += m_process.readAll();
        }
        if (!line.startsWith("PORT "))
            return false;
        m_port = line.mid(5).trimmed().toInt();
        return m_port > 0;
    }

    ~CTestFtpServer()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    int Port() const { return m_port; }
    QString Root() const { return m_dir.filePath(QStringLiteral("root")); }
    QString Folder() const { return m_dir.path(); }

    ConnectionProfile Profile(bool passive = true) const
    {
        return {QStringLiteral("127.0.0.1"), m_port, QLatin1String(kUser),
                QLatin1String(kPassword), passive};
    }

    // The names answered on RETR and the files that answer them.
    void Serve(const QJsonObject &names)
    {
        QFile file(ServePath());
        if (file.open(QIODevice::WriteOnly))
            file.write(QJsonDocument(names).toJson());
    }

    // Every command line received so far, in order. The server writes each line before it
    // answers; the last (QUIT) may still be on its way when the client returns, so this waits
    // a little for a log that does not end in QUIT.
    QStringList Commands(bool waitForQuit = true) const
    {
        QStringList lines;
        for (int attempt = 0; attempt < 50; ++attempt) {
            QFile file(LogPath());
            lines.clear();
            if (file.open(QIODevice::ReadOnly))
                lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
            if (!waitForQuit || (!lines.isEmpty() && lines.last() == u"QUIT"))
                break;
            QTest::qWait(20);
        }
        return lines;
    }

    void ClearLog() const { QFile(LogPath()).resize(0); }

private:
    QString LogPath() const { return m_dir.filePath(QStringLiteral("commands.log")); }
    QString ServePath() const { return m_dir.filePath(QStringLiteral("serve.json")); }

    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};

} // namespace orin::test
