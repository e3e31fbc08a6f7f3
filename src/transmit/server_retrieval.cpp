// SPDX-License-Identifier: MIT
#include "transmit/server_retrieval.h"

#include "model/ui_text.h"
#include "settings/app_settings.h"
#include "settings/ini_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

namespace orin {
namespace {

const QString &RecordTimeQtFormat()
{
    static const QString format = QStringLiteral("yyyy/MM/dd HH:mm:ss");
    return format;
}

} // namespace

QString FormatRecordTime(const QDateTime &time)
{
    return time.toString(RecordTimeQtFormat());
}

QDateTime ParseRecordTime(const QString &text, const QDateTime &fallback)
{
    const QDateTime parsed = QDateTime::fromString(text, RecordTimeQtFormat());
    return parsed.isValid() ? parsed : fallback;
}

QList<RemoteRequest> RetrievalRequests(const RetrievalRequest &request, int edition)
{
    const QString content = QString::fromUtf16(kServerContentsFile);
    const QString labels = QString::fromUtf16(kLabelContentsFile);
    switch (request.type) {
    case 0:
    case 1: {
        const int n = request.type == 0 ? 0 : request.number;
        return {{QStringLiteral("@CURRENTLABEL%1").arg(n), labels},
                {QStringLiteral("@CURRENTDATA%1").arg(n), content}};
    }
    case 2: {
        const QString time = FormatRecordTime(request.recordTime);
        if (edition == 3) {
            return {{QStringLiteral("@RECORDCHANNEL%1%2")
                         .arg(request.number, 2, 10, QChar(u'0'))
                         .arg(time),
                     content}};
        }
        return {{QStringLiteral("@RECORDDATA") + time, content}};
    }
    default:
        return {};
    }
}

FetchResult FetchContent(const RetrievalRequest &request, const ConnectionProfile &profile,
                         const QString &workFolder, qint64 contentLimit,
                         const FtpOptions &options, int edition)
{
    FetchResult result;
    const QDir work(workFolder);
    result.contentPath = work.filePath(QString::fromUtf16(kServerContentsFile));
    // Nothing of an earlier retrieval may pass for this one's.
    QFile::remove(result.contentPath);
    QFile::remove(work.filePath(QString::fromUtf16(kLabelContentsFile)));
    const QList<RemoteRequest> requests = RetrievalRequests(request, edition);
    if (requests.isEmpty()) {
        result.error = UiText(kReceiveFailedMessage);
        return result;
    }
    for (const RemoteRequest &r : requests) {
        QString error;
        auto connection = OpenFtp(profile, options, &error);
        bool ok = false;
        if (connection) {
            const bool labels = r.localName == QString::fromUtf16(kLabelContentsFile);
            ok = connection->GetRemoteFile(r.remoteName, work.filePath(r.localName),
                                           labels ? kLabelContentsMaxBytes
                                                  : std::max<qint64>(0, contentLimit));
            error = connection->LastError();
            CloseFtp(connection);
        }
        if (!ok) {
            result.error = r.remoteName + QStringLiteral(": ") + error;
            result.cancelled = options.cancel && options.cancel->load();
            return result;
        }
        if (r.localName == QString::fromUtf16(kLabelContentsFile))
            result.labelPath = work.filePath(r.localName);
    }
    result.ok = true;
    return result;
}

QByteArray FetchChannelList(const ConnectionProfile &profile, const QString &workFolder,
                            const FtpOptions &options, QString *error)
{
    constexpr qint64 kChannelListBytes = 1024;
    const QString local = QDir(workFolder).filePath(QStringLiteral("ListChannel.xml"));
    const QString remote = QStringLiteral("@LISTCHANNEL");
    QByteArray bytes;
    QString why;
    auto connection = OpenFtp(profile, options, &why);
    if (connection) {
        if (connection->GetRemoteFile(remote, local, kChannelListMaxBytes)) {
            QFile file(local);
            if (file.open(QIODevice::ReadOnly))
                bytes = file.read(kChannelListBytes);
        } else {
            why = connection->LastError();
        }
    }
    if (error)
        *error = why.isEmpty() ? QString() : remote + QStringLiteral(": ") + why;
    CloseFtp(connection);
    QFile::remove(local);
    return bytes;
}

void WriteRetrievalSettings(CIniStore &store, const RetrievalRequest &request, bool fetched)
{
    if (request.type == 1)
        WriteNumberContents(store, request.number);
    if (request.type == 2 && fetched)
        WriteRecordTime(store, FormatRecordTime(request.recordTime));
}

qint64 ServerContentSizeLimit(int sizeLimitKb)
{
    constexpr qint64 kProjectRoom = 16 * 1024 * 1024;
    return qint64(std::max(0, sizeLimitKb)) * 1024 + kProjectRoom;
}

bool UnpackServerContent(const FetchResult &fetched, const QString &workFolder,
                         qint64 sizeLimit, ServerContent *content, QString *error)
{
    *content = ServerContent();
    // A fresh folder for every retrieval: the project just loaded keeps its files.
    QTemporaryDir folder(QDir(workFolder).filePath(QStringLiteral("server-XXXXXX")));
    if (!folder.isValid()) {
        if (error)
            *error = folder.errorString();
        return false;
    }
    folder.setAutoRemove(false);
    content->folder = folder.path();
    // What arrived may refer only to what arrived with it.
    if (!ExtractServerContent(fetched.contentPath, content->folder, sizeLimit,
                              &content->projectPath, error)
        || !ConfineServerProject(content->projectPath, &content->droppedReferences, error)) {
        QDir(content->folder).removeRecursively();
        content->folder.clear();
        content->projectPath.clear();
        return false;
    }
    if (fetched.labelPath.isEmpty())
        return true;
    QFile labels(fetched.labelPath);
    if (!labels.open(QIODevice::ReadOnly)) {
        if (error)
            *error = labels.errorString();
        return false;
    }
    return ParseLabelContents(labels.readAll(), &content->labels, error);
}

RetrievalOutcome RetrieveServerContent(const RetrievalRequest &request,
                                       const ConnectionProfile &profile,
                                       const QString &workFolder, qint64 sizeLimit,
                                       const FtpOptions &options, int edition)
{
    RetrievalOutcome outcome;
    outcome.fetched = FetchContent(request, profile, workFolder, sizeLimit, options, edition);
    if (!outcome.fetched.ok) {
        outcome.error = outcome.fetched.error;
        return outcome;
    }
    outcome.unpacked = UnpackServerContent(outcome.fetched, workFolder, sizeLimit,
                                           &outcome.content, &outcome.error);
    return outcome;
}

QString DroppedReferencesText(const QStringList &dropped)
{
    constexpr int kShown = 20;
    QStringList lines = dropped.mid(0, kShown);
    if (dropped.size() > kShown)
        lines.append(UiText(kMoreDroppedReferences).arg(dropped.size() - kShown));
    return UiText(kDroppedReferencesMessage).arg(lines.join(u'\n'));
}

QString ServerWindowTitle(const QString &baseTitle, const RetrievalRequest &request)
{
    QString title = baseTitle + QStringLiteral(" - ") + QString::fromUtf16(kServerTitle);
    if (request.type == 2)
        title += QString::fromUtf16(kRecordedTitle) + FormatRecordTime(request.recordTime);
    return title;
}

} // namespace orin
