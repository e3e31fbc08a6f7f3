// SPDX-License-Identifier: MIT
#pragma once

#include "orin_version.h"
#include "transmit/ftp_client.h"
#include "transmit/server_content.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>

#include <atomic>

// Retrieval of content from the data-broadcast server ("サーバーから取得"): the content on
// air (type 0), a numbered content (type 1) or recorded content at a date and time (type 2),
// fetched by the server's "@" names into the work folder, and made into a project to edit.
// Everything here runs off the UI thread; the frame loads the result.

namespace orin {

class CIniStore;

inline constexpr char16_t kServerContentsFile[] = u"SeverContents";
inline constexpr char16_t kLabelContentsFile[] = u"LabelContents.xml";
inline constexpr char16_t kReceiveFailedMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "データを受信できません");
// Told after a retrieval whose project referred to files outside its own folder; "%1" is the
// list of the references that were emptied.
inline constexpr char16_t kDroppedReferencesMessage[] = u"" QT_TRANSLATE_NOOP(
    "OrinEdit",
    "受信したデータが受信フォルダの外のファイルを参照していたため、次の参照を外しました。\n%1");
inline constexpr char16_t kMoreDroppedReferences[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "ほか %1 件");
// Window title part of content from the server, and of recorded content.
inline constexpr char16_t kServerTitle[] = u"DATASERVER";
inline constexpr char16_t kRecordedTitle[] = u" 同録 ";

// The most a download of the retrieval may bring: the label contents and the channel list are
// stopped there (the content archive at the size limit of the edition, below), so that no
// server can fill the disk.
inline constexpr qint64 kLabelContentsMaxBytes = 4 * 1024 * 1024;
inline constexpr qint64 kChannelListMaxBytes = 64 * 1024;

struct RetrievalRequest {
    int type = 0;          // 0 on air, 1 numbered, 2 recorded
    int number = 1;        // the content number (type 1); the channel (type 2, edition 3)
    QDateTime recordTime;  // type 2
};

struct RemoteRequest {
    QString remoteName;
    QString localName; // in the work folder
};

// The record time as the server and the settings file write it: "%Y/%m/%d %H:%M:%S".
QString FormatRecordTime(const QDateTime &time);
// Reads that form exactly; anything else gives `fallback` (the current time at start-up).
QDateTime ParseRecordTime(const QString &text, const QDateTime &fallback);

// The downloads of the request in their order: label contents then content data of content 0
// (type 0) or of the number (type 1); for type 2 the recorded data "@RECORDDATA<time>", or in
// the online edition the recorded channel data "@RECORDCHANNEL<nn><time>". Another type gives
// none.
QList<RemoteRequest> RetrievalRequests(const RetrievalRequest &request, int edition = kEdition);

struct FetchResult {
    bool ok = false;
    bool cancelled = false;
    QString error;        // why a download failed (for the operator's details)
    QString contentPath;  // "SeverContents" in the work folder
    QString labelPath;    // "LabelContents.xml" (types 0 and 1), else empty
};

// Deletes both old downloads, then runs the downloads in order, each on a connection of its
// own, and stops at the first that fails. The content data is stopped at `contentLimit` bytes,
// the label contents at kLabelContentsMaxBytes.
FetchResult FetchContent(const RetrievalRequest &request, const ConnectionProfile &profile,
                         const QString &workFolder, qint64 contentLimit,
                         const FtpOptions &options, int edition = kEdition);

// The channel list of the online server: "@LISTCHANNEL" fetched into "ListChannel.xml" of the
// work folder (stopped at kChannelListMaxBytes), at most its first 1024 bytes taken unchanged,
// the file deleted. Empty when the download failed, with the reason in `error`.
QByteArray FetchChannelList(const ConnectionProfile &profile, const QString &workFolder,
                            const FtpOptions &options, QString *error = nullptr);

// Writes what the retrieval keeps in the settings file: NumberContents for type 1 whatever
// the result, RecordTime for type 2 after a success.
void WriteRetrievalSettings(CIniStore &store, const RetrievalRequest &request, bool fetched);

// The fetched content made ready to load: the archive unpacked into a fresh folder of the
// work folder and the label lists read (recorded content has none: it is read-only).
struct ServerContent {
    QString projectPath;
    QString folder;
    CLabelContents labels;
    // The references of the project that led outside its folder and were emptied
    // (ConfineServerProject), for the operator.
    QStringList droppedReferences;
};

// The most the unpacked content may hold, and the most its archive may be downloaded with:
// the size limit of the edition (KB) and room for the project file (18,548,736 bytes for the
// 1730 KB of the data-broadcast editions).
qint64 ServerContentSizeLimit(int sizeLimitKb);

// False, with the reason, when the archive or the labels cannot be used.
bool UnpackServerContent(const FetchResult &fetched, const QString &workFolder,
                         qint64 sizeLimit, ServerContent *content, QString *error);

// Everything the retrieval does off the UI thread: FetchContent, then UnpackServerContent.
struct RetrievalOutcome {
    FetchResult fetched;
    bool unpacked = false;
    ServerContent content;
    QString error;
};
RetrievalOutcome RetrieveServerContent(const RetrievalRequest &request,
                                       const ConnectionProfile &profile,
                                       const QString &workFolder, qint64 sizeLimit,
                                       const FtpOptions &options, int edition = kEdition);

// The operator's message for the dropped references: the first twenty, one a line, and how
// many more there were.
QString DroppedReferencesText(const QStringList &dropped);

// The window title after a retrieval: the base title, " - ", "DATASERVER", and for recorded
// content " 同録 " with the record time.
QString ServerWindowTitle(const QString &baseTitle, const RetrievalRequest &request);

} // namespace orin
