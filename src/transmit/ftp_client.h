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

// What went wrong with a transfer, in the operator's terms.
enum class FtpFailure {
    None,
    Cancelled,      // the cancel flag was raised
    BadProfile,     // port or address unusable: nothing was sent
    Connect,        // the server cannot be reached
    Login,          // the server refused the user or password
    TimedOut,       // no reply or no data within the time-outs
    Refused,        // the server answered a command with a refusal
    DiskFull,       // the server has no room for the upload
    ConnectionLost, // the connection broke off
    TooLarge,       // a download went past its limit and was stopped
    Local,          // the local file could not be read or written
    Other,
};

// The operator's text of each failure. The server's own reply, when there was one, follows
// as the detail (kFtpServerSaid).
inline constexpr char16_t kFtpCancelled[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "転送を中止しました");
inline constexpr char16_t kFtpConnectFailed[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "サーバーに接続できません");
inline constexpr char16_t kFtpLoginRefused[] = u"" QT_TRANSLATE_NOOP(
    "OrinEdit", "サーバーにログインできません（ユーザー名またはパスワードが違います）");
inline constexpr char16_t kFtpTimedOut[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "サーバーの応答がありません（時間切れ）");
inline constexpr char16_t kFtpRefused[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "サーバーが要求を拒否しました");
inline constexpr char16_t kFtpDiskFull[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "サーバーのディスクに空きがありません");
inline constexpr char16_t kFtpConnectionLost[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "サーバーとの接続が切れました");
inline constexpr char16_t kFtpTooLarge[] = u"" QT_TRANSLATE_NOOP(
    "OrinEdit", "受信データが上限の %1 バイトを超えたため、受信を止めました");
inline constexpr char16_t kFtpLocalFailed[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "ファイルを読み書きできません: %1");
inline constexpr char16_t kFtpOtherFailure[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "FTP 転送に失敗しました");
inline constexpr char16_t kFtpServerSaid[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "%1（サーバーの応答: %2）");
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
    // an existing file only when the whole transfer succeeded. A download that goes past
    // `maxBytes` (when not negative) is stopped there and fails as FtpFailure::TooLarge: no
    // more than that reaches the disk. True on success.
    bool GetRemoteFile(const QString &remoteName, const QString &localPath,
                       qint64 maxBytes = -1);

    // Why the last call failed, for the operator: the text of its FtpFailure with the server's
    // reply as the detail; never holds the password.
    const QString &LastError() const { return m_lastError; }
    FtpFailure LastFailure() const { return m_lastFailure; }

private:
    friend std::unique_ptr<CFtpConnection> OpenFtp(const ConnectionProfile &,
                                                   const FtpOptions &, QString *,
                                                   FtpFailure *);
    struct Impl;
    explicit CFtpConnection(std::unique_ptr<Impl> impl);
    bool Perform();
    void SetFailure(FtpFailure failure, const QString &text);

    std::unique_ptr<Impl> m_impl;
    QString m_lastError;
    FtpFailure m_lastFailure = FtpFailure::None;
};

// Connects to the profile's server and logs in. Null on failure, with the reason in `error`
// (and its kind in `failure`).
std::unique_ptr<CFtpConnection> OpenFtp(const ConnectionProfile &profile,
                                        const FtpOptions &options = {},
                                        QString *error = nullptr,
                                        FtpFailure *failure = nullptr);

// Ends the session (QUIT) and releases the connection; null is ignored.
void CloseFtp(std::unique_ptr<CFtpConnection> &connection);

// The operator's text of a failure: its kind's text, and the server's reply (when there was
// one) as the detail. `limit` fills the TooLarge text, `local` the Local one.
QString FtpFailureText(FtpFailure failure, const QString &serverReply, qint64 limit = 0,
                       const QString &local = QString());

// The kind of failure of a libcurl result, with the last FTP reply code of the server.
FtpFailure ClassifyFtpFailure(int curlCode, long replyCode);

// The URL of a remote name on the profile's server: the name percent-encoded as one path
// segment ("@RECORDDATA2024/05/05 07:08:09" stays one name). No credentials in it.
QByteArray RemoteUrl(const ConnectionProfile &profile, const QString &remoteName);

} // namespace orin
