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

struct CFtpConnection::Impl {
    ConnectionProfile profile;
    FtpOptions options;
    CURLM *multi = nullptr;
    CURL *easy = nullptr;
    char errorBuffer[CURL_ERROR_SIZE] = {};

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
        errorBuffer[0] = '\0';
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
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
    m_lastError.clear();
    if (d.options.cancel && d.options.cancel->load()) {
        m_lastError = UiText(kFtpCancelled);
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
        m_lastError = UiText(kFtpCancelled);
        return false;
    }
    if (done && code == CURLE_OK)
        return true;
    m_lastError = QString::fromUtf8(d.errorBuffer).trimmed();
    if (m_lastError.isEmpty())
        m_lastError = QString::fromUtf8(curl_easy_strerror(code));
    return false;
}

bool CFtpConnection::PutLocalFile(const QString &localPath, const QString &remoteName,
                                  const QStringList &mayFail)
{
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_lastError = localPath + QStringLiteral(": ") + file.errorString();
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

bool CFtpConnection::GetRemoteFile(const QString &remoteName, const QString &localPath)
{
    QSaveFile file(localPath);
    if (!file.open(QIODevice::WriteOnly)) {
        m_lastError = localPath + QStringLiteral(": ") + file.errorString();
        return false;
    }
    Impl &d = *m_impl;
    d.Prepare(RemoteUrl(d.profile, remoteName));
    // The server's special names answer only RETR, not SIZE.
    curl_easy_setopt(d.easy, CURLOPT_IGNORE_CONTENT_LENGTH, 1L);
    curl_easy_setopt(
        d.easy, CURLOPT_WRITEFUNCTION,
        +[](char *data, size_t size, size_t count, void *target) -> size_t {
            const qint64 bytes = qint64(size * count);
            return static_cast<QSaveFile *>(target)->write(data, bytes) == bytes
                       ? size * count
                       : 0;
        });
    curl_easy_setopt(d.easy, CURLOPT_WRITEDATA, &file);
    if (!Perform()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        m_lastError = localPath + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

std::unique_ptr<CFtpConnection> OpenFtp(const ConnectionProfile &profile,
                                        const FtpOptions &options, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return std::unique_ptr<CFtpConnection>();
    };
    if (profile.port < 1 || profile.port > 65535)
        return fail(UiText(kFtpBadPort));
    if (!UsableHost(profile.address))
        return fail(UiText(kFtpBadAddress));
    GlobalInitOnce();
    auto impl = std::make_unique<CFtpConnection::Impl>();
    impl->profile = profile;
    impl->options = options;
    impl->multi = curl_multi_init();
    impl->easy = curl_easy_init();
    if (!impl->multi || !impl->easy)
        return fail(QString::fromUtf8(curl_easy_strerror(CURLE_FAILED_INIT)));
    std::unique_ptr<CFtpConnection> connection(new CFtpConnection(std::move(impl)));
    // Logging in without a transfer: the connection stays for the requests that follow.
    CFtpConnection::Impl &d = *connection->m_impl;
    d.Prepare(RemoteUrl(profile, QString()));
    curl_easy_setopt(d.easy, CURLOPT_NOBODY, 1L);
    if (!connection->Perform())
        return fail(connection->LastError());
    return connection;
}

void CloseFtp(std::unique_ptr<CFtpConnection> &connection)
{
    connection.reset();
}

} // namespace orin
