// SPDX-License-Identifier: MIT
#pragma once

#include "transmit/connection_profile.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

// The FTP client of every exchange with the broadcast side, on libcurl: one connection is
// opened, used for its transfers in binary mode and closed again within one operation. Remote
// names go to the server as they are (the server's special names hold "/", blanks and "@"),
// never through a change of folder. Calls block the calling thread; a transfer that is waiting
// or moving no data ends at the time-outs below, or when the cancel flag is raised.

namespace orin {

struct FtpOptions {
    int connectTimeoutMs = 15000; // reaching the server and logging in
    int noDataTimeoutMs = 60000;  // a reply or data that does not come
    // Raised by another thread to end the transfer that runs (and any that would follow).
    const std::atomic_bool *cancel = nullptr;
    // Told the bytes moved so far and the expected total (0 when unknown), from the
    // transferring thread.
    std::function<void(qint64 done, qint64 total)> progress;
};

// Texts of the failures that have no text of libcurl's.
inline constexpr char16_t kFtpCancelled[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "転送を中止しました");
inline constexpr char16_t kFtpBadPort[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "ポート番号が正しくありません");
inline constexpr char16_t kFtpBadAddress[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "アドレスが正しくありません");

class CFtpConnection {
public:
    ~CFtpConnection();
    CFtpConnection(const CFtpConnection &) = delete;
    CFtpConnection &operator=(const CFtpConnection &) = delete;

    // Uploads the local file under the remote name (in the server's current folder). The
    // commands of `mayFail` ("CWD /default", "DELE config.err") are sent first, in order; a
    // refusal of one of them does not stop the upload. True when the server confirmed the
    // transfer.
    bool PutLocalFile(const QString &localPath, const QString &remoteName,
                      const QStringList &mayFail = {});

    // Downloads the remote file into the local path, through a temporary file that replaces
    // an existing file only when the whole transfer succeeded. True on success.
    bool GetRemoteFile(const QString &remoteName, const QString &localPath);

    // Why the last call failed (libcurl's text with the server's reply); never holds the
    // password.
    const QString &LastError() const { return m_lastError; }

private:
    friend std::unique_ptr<CFtpConnection> OpenFtp(const ConnectionProfile &,
                                                   const FtpOptions &, QString *);
    struct Impl;
    explicit CFtpConnection(std::unique_ptr<Impl> impl);
    bool Perform();

    std::unique_ptr<Impl> m_impl;
    QString m_lastError;
};

// Connects to the profile's server and logs in. Null on failure, with the reason in `error`.
std::unique_ptr<CFtpConnection> OpenFtp(const ConnectionProfile &profile,
                                        const FtpOptions &options = {},
                                        QString *error = nullptr);

// Ends the session (QUIT) and releases the connection; null is ignored.
void CloseFtp(std::unique_ptr<CFtpConnection> &connection);

// The URL of a remote name on the profile's server: the name percent-encoded as one path
// segment ("@RECORDDATA2024/05/05 07:08:09" stays one name). No credentials in it.
QByteArray RemoteUrl(const ConnectionProfile &profile, const QString &remoteName);

} // namespace orin
