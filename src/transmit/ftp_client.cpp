// SPDX-License-Identifier: MIT
#include "transmit/ftp_client.h"

#include "model/ui_text.h"

#include <QFile>
#include <QSaveFile>
#include <QUrl>

#include <curl/curl.h>

#include <mutex>

namespace orin {
namespace {

// How often the transfer loop looks at the cancel flag.
constexpr int kPollIntervalMs = 100;

void GlobalInitOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

long SecondsCeil(int ms)
{
    return std::max<long>(1, (static_cast<long>(ms) + 999) / 1000);
}

bool UsableHost(const QString &address)
{
    if (address.isEmpty())
        return false;
    // A host name or dotted address only: nothing that could change the URL's meaning.
    for (const QChar c : address) {
        if (!(c.isLetterOrNumber() || c == u'.' || c == u'-' || c == u'_'))
            return false;
    }
    return true;
}

struct SlistDeleter {
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};

} // namespace

// Where a download goes: the file, and the most it may take.
struct DownloadSink {
    QSaveFile *file = nullptr;
    qint64 limit = -1;
    qint64 written = 0;
    bool tooLarge = false;
};

struct CFtpConnection::Impl {
    ConnectionProfile profile;
    FtpOptions options;
    CURLM *multi = nullptr;
    CURL *easy = nullptr;
    // The server's last reply line of the request (its words for a refusal).
    QByteArray lastReply;
    DownloadSink *download = nullptr;

    // libcurl hands every reply line of the FTP server to the header function.
    static size_t Reply(char *data, size_t size, size_t count, void *self)
    {
        QByteArray line(data, qsizetype(size * count));
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            static_cast<Impl *>(self)->lastReply = line.left(512);
        return size * count;
    }

    ~Impl()
    {
        // The connection lives in the multi handle's cache; its clean-up says QUIT.
        if (easy)
            curl_easy_cleanup(easy);
        if (multi)
            curl_multi_cleanup(multi);
    }

    static int Progress(void *self, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t ulTotal,
                        curl_off_t ulNow)
    {
        const auto *impl = static_cast<Impl *>(self);
        if (impl->options.cancel && impl->options.cancel->load())
            return 1;
        if (impl->options.progress) {
            if (ulTotal > 0 || ulNow > 0)
                impl->options.progress(ulNow, ulTotal);
            else
                impl->options.progress(dlNow, dlTotal);
        }
        return 0;
    }

    // The options every request carries; the request adds its own.
    void Prepare(const QByteArray &url)
    {
        curl_easy_reset(easy);
        curl_easy_setopt(easy, CURLOPT_URL, url.constData());
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        // Proxy variables of the environment must not divert a transfer on the local network.
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
        if (!profile.user.isEmpty()) {
            curl_easy_setopt(easy, CURLOPT_USERNAME, profile.user.toUtf8().constData());
            curl_easy_setopt(easy, CURLOPT_PASSWORD, profile.password.toUtf8().constData());
        }
        curl_easy_setopt(easy, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
        curl_easy_setopt(easy, CURLOPT_FTP_USE_EPSV, 0L);
        curl_easy_setopt(easy, CURLOPT_FTP_USE_EPRT, 0L);
        if (!profile.passive)
            curl_easy_setopt(easy, CURLOPT_FTPPORT, "-");
        curl_easy_setopt(easy, CURLOPT_TRANSFERTEXT, 0L);
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                         static_cast<long>(options.connectTimeoutMs));
        curl_easy_setopt(easy, CURLOPT_ACCEPTTIMEOUT_MS,
                         static_cast<long>(options.noDataTimeoutMs));
        const long noData = SecondsCeil(options.noDataTimeoutMs);
        curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, noData);
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, noData);
        curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Impl::Progress);
        curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Impl::Reply);
        curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
        lastReply.clear();
        download = nullptr;
    }
};

QByteArray RemoteUrl(const ConnectionProfile &profile, const QString &remoteName)
{
    return QByteArrayLiteral("ftp://") + profile.address.toUtf8() + ':'
           + QByteArray::number(profile.port) + '/' + QUrl::toPercentEncoding(remoteName);
}

CFtpConnection::CFtpConnection(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

CFtpConnection::~CFtpConnection() = default;

bool CFtpConnection::Perform()
{
    Impl &d = *m_impl;
    SetFailure(FtpFailure::None, QString());
    if (d.options.cancel && d.options.cancel->load()) {
        SetFailure(FtpFailure::Cancelled, UiText(kFtpCancelled));
        return false;
    }
    curl_multi_add_handle(d.multi, d.easy);
    bool cancelled = false;
    int running = 1;
    // The multi interface keeps the connection between requests and lets the loop see the
    // cancel flag while the transfer waits for the server.
    while (true) {
        if (curl_multi_perform(d.multi, &running) != CURLM_OK || running == 0)
            break;
        if (d.options.cancel && d.options.cancel->load()) {
            cancelled = true;
            break;
        }
        curl_multi_poll(d.multi, nullptr, 0, kPollIntervalMs, nullptr);
    }
    CURLcode code = CURLE_FAILED_INIT;
    bool done = false;
    int queued = 0;
    while (CURLMsg *message = curl_multi_info_read(d.multi, &queued)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == d.easy) {
            code = message->data.result;
            done = true;
        }
    }
    curl_multi_remove_handle(d.multi, d.easy);
    if (cancelled || code == CURLE_ABORTED_BY_CALLBACK) {
        SetFailure(FtpFailure::Cancelled, UiText(kFtpCancelled));
        return false;
    }
    if (done && code == CURLE_OK)
        return true;
    if (d.download && d.download->tooLarge) {
        SetFailure(FtpFailure::TooLarge, FtpFailureText(FtpFailure::TooLarge, QString(),
                                                        d.download->limit));
        return false;
    }
    if (d.download && code == CURLE_WRITE_ERROR) {
        const QString why = d.download->file->fileName() + QStringLiteral(": ")
                            + d.download->file->errorString();
        SetFailure(FtpFailure::Local, FtpFailureText(FtpFailure::Local, QString(), 0, why));
        return false;
    }
    long replyCode = 0;
    curl_easy_getinfo(d.easy, CURLINFO_RESPONSE_CODE, &replyCode);
    const FtpFailure failure = ClassifyFtpFailure(code, replyCode);
    // Only a refusal is the server's word on the failure; a reply before a time-out or a
    // broken connection says nothing about it.
    QString reply;
    if (d.lastReply.size() >= 3 && (d.lastReply.at(0) == '4' || d.lastReply.at(0) == '5'))
        reply = QString::fromUtf8(d.lastReply).trimmed();
    SetFailure(failure, FtpFailureText(failure, reply));
    return false;
}

void CFtpConnection::SetFailure(FtpFailure failure, const QString &text)
{
    m_lastFailure = failure;
    m_lastError = text;
}

FtpFailure ClassifyFtpFailure(int curlCode, long replyCode)
{
    // The server's reply code says more than libcurl's summary of it.
    if (replyCode == 452 || replyCode == 552)
        return FtpFailure::DiskFull;
    switch (curlCode) {
    case CURLE_OK:
        return FtpFailure::None;
    case CURLE_ABORTED_BY_CALLBACK:
        return FtpFailure::Cancelled;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
        return FtpFailure::Connect;
    case CURLE_LOGIN_DENIED:
        return FtpFailure::Login;
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_FTP_ACCEPT_TIMEOUT:
        return FtpFailure::TimedOut;
    case CURLE_REMOTE_DISK_FULL:
        return FtpFailure::DiskFull;
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_FTP_COULDNT_SET_TYPE:
    case CURLE_FTP_PORT_FAILED:
    case CURLE_FTP_COULDNT_USE_REST:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_REMOTE_FILE_EXISTS:
        return FtpFailure::Refused;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
    case CURLE_FTP_WEIRD_SERVER_REPLY:
    case CURLE_FTP_CANT_GET_HOST:
        return FtpFailure::ConnectionLost;
    case CURLE_READ_ERROR:
    case CURLE_WRITE_ERROR:
        return FtpFailure::Local;
    default:
        // Any other refusal by the server still reads as one.
        return replyCode >= 400 ? FtpFailure::Refused : FtpFailure::Other;
    }
}

QString FtpFailureText(FtpFailure failure, const QString &serverReply, qint64 limit,
                       const QString &local)
{
    QString text;
    switch (failure) {
    case FtpFailure::None:
        return QString();
    case FtpFailure::Cancelled:
        text = UiText(kFtpCancelled);
        break;
    case FtpFailure::BadProfile:
        text = UiText(kFtpBadAddress);
        break;
    case FtpFailure::Connect:
        text = UiText(kFtpConnectFailed);
        break;
    case FtpFailure::Login:
        text = UiText(kFtpLoginRefused);
        break;
    case FtpFailure::TimedOut:
        text = UiText(kFtpTimedOut);
        break;
    case FtpFailure::Refused:
        text = UiText(kFtpRefused);
        break;
    case FtpFailure::DiskFull:
        text = UiText(kFtpDiskFull);
        break;
    case FtpFailure::ConnectionLost:
        text = UiText(kFtpConnectionLost);
        break;
    case FtpFailure::TooLarge:
        text = UiText(kFtpTooLarge).arg(limit);
        break;
    case FtpFailure::Local:
        text = UiText(kFtpLocalFailed).arg(local);
        break;
    case FtpFailure::Other:
        text = UiText(kFtpOtherFailure);
        break;
    }
    if (serverReply.isEmpty())
        return text;
    return UiText(kFtpServerSaid).arg(text, serverReply);
}

bool CFtpConnection::PutLocalFile(const QString &localPath, const QString &remoteName,
                                  const QStringList &mayFail)
{
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly)) {
        SetFailure(FtpFailure::Local,
                   FtpFailureText(FtpFailure::Local, QString(), 0,
                                  localPath + QStringLiteral(": ") + file.errorString()));
        return false;
    }
    Impl &d = *m_impl;
    d.Prepare(RemoteUrl(d.profile, remoteName));
    std::unique_ptr<curl_slist, SlistDeleter> quote;
    for (const QString &command : mayFail) {
        // "*" lets the transfer go on when the server refuses the command.
        const QByteArray line = '*' + command.toUtf8();
        quote.reset(curl_slist_append(quote.release(), line.constData()));
    }
    if (quote)
        curl_easy_setopt(d.easy, CURLOPT_QUOTE, quote.get());
    curl_easy_setopt(d.easy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(d.easy, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(file.size()));
    curl_easy_setopt(
        d.easy, CURLOPT_READFUNCTION,
        +[](char *buffer, size_t size, size_t count, void *source) -> size_t {
            const qint64 read = static_cast<QFile *>(source)->read(buffer, qint64(size * count));
            return read < 0 ? CURL_READFUNC_ABORT : static_cast<size_t>(read);
        });
    curl_easy_setopt(d.easy, CURLOPT_READDATA, &file);
    const bool ok = Perform();
    curl_easy_setopt(d.easy, CURLOPT_QUOTE, nullptr);
    return ok;
}

bool CFtpConnection::GetRemoteFile(const QString &remoteName, const QString &localPath,
                                   qint64 maxBytes)
{
    QSaveFile file(localPath);
    if (!file.open(QIODevice::WriteOnly)) {
        SetFailure(FtpFailure::Local,
                   FtpFailureText(FtpFailure::Local, QString(), 0,
                                  localPath + QStringLiteral(": ") + file.errorString()));
        return false;
    }
    Impl &d = *m_impl;
    d.Prepare(RemoteUrl(d.profile, remoteName));
    DownloadSink sink;
    sink.file = &file;
    sink.limit = maxBytes;
    d.download = &sink;
    // The server's special names answer only RETR, not SIZE.
    curl_easy_setopt(d.easy, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
    curl_easy_setopt(
        d.easy, CURLOPT_WRITEFUNCTION,
        +[](char *data, size_t size, size_t count, void *target) -> size_t {
            auto *into = static_cast<DownloadSink *>(target);
            const qint64 bytes = qint64(size * count);
            // Whatever the server sends, no more than the limit reaches the disk.
            if (into->limit >= 0 && bytes > into->limit - into->written) {
                into->tooLarge = true;
                return 0;
            }
            if (into->file->write(data, bytes) != bytes)
                return 0;
            into->written += bytes;
            return size * count;
        });
    curl_easy_setopt(d.easy, CURLOPT_WRITEDATA, &sink);
    const bool ok = Perform();
    d.download = nullptr;
    if (!ok) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        SetFailure(FtpFailure::Local,
                   FtpFailureText(FtpFailure::Local, QString(), 0,
                                  localPath + QStringLiteral(": ") + file.errorString()));
        return false;
    }
    return true;
}

std::unique_ptr<CFtpConnection> OpenFtp(const ConnectionProfile &profile,
                                        const FtpOptions &options, QString *error,
                                        FtpFailure *failure)
{
    auto fail = [error, failure](const QString &text, FtpFailure kind) {
        if (error)
            *error = text;
        if (failure)
            *failure = kind;
        return std::unique_ptr<CFtpConnection>();
    };
    if (profile.port < 1 || profile.port > 65535)
        return fail(UiText(kFtpBadPort), FtpFailure::BadProfile);
    if (!UsableHost(profile.address))
        return fail(UiText(kFtpBadAddress), FtpFailure::BadProfile);
    GlobalInitOnce();
    auto impl = std::make_unique<CFtpConnection::Impl>();
    impl->profile = profile;
    impl->options = options;
    impl->multi = curl_multi_init();
    impl->easy = curl_easy_init();
    if (!impl->multi || !impl->easy)
        return fail(UiText(kFtpOtherFailure), FtpFailure::Other);
    std::unique_ptr<CFtpConnection> connection(new CFtpConnection(std::move(impl)));
    // Logging in without a transfer: the connection stays for the requests that follow.
    CFtpConnection::Impl &d = *connection->m_impl;
    d.Prepare(RemoteUrl(profile, QString()));
    curl_easy_setopt(d.easy, CURLOPT_NOBODY, 1L);
    if (!connection->Perform())
        return fail(connection->LastError(), connection->LastFailure());
    if (failure)
        *failure = FtpFailure::None;
    return connection;
}

void CloseFtp(std::unique_ptr<CFtpConnection> &connection)
{
    connection.reset();
}

} // namespace orin
