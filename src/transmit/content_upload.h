// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"
#include "transmit/ftp_client.h"
#include "transmit/transmission.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

#include <atomic>

// The work of the transmission worker: the server upload (mode 11, a time-stamped package to
// the data-broadcast server), the online upload (mode 15, "xmldata.tar" to the online server),
// the modes that transfer nothing (3 and 10), and the configuration upload to the modulator.
// The package is built on the thread that owns the model; the worker gets a job of plain
// values and gives back a result of plain values.

namespace orin {

struct AppSettings;

// The folder beside the work folder's files that packages are built in.
inline constexpr char16_t kPackageFolderName[] = u"xmldata";

// Texts for status pane 2.
inline constexpr char16_t kStatusConnectFailed[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "FTP転送失敗");
inline constexpr char16_t kStatusSuccess[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "成功");
inline constexpr char16_t kStatusFailure[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "失敗");
inline constexpr char16_t kStatusNothingSent[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "この伝送先へのデータ転送は行いません");
inline constexpr char16_t kStatusUploaded[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "伝送完了 %1");
inline constexpr char16_t kStatusUploadFailed[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "伝送失敗 %1");

// The package name of an upload: "xmldata" followed by the minute and the second of `now`
// ("%s%02d%02d", "xmldata1305") for the server upload, "xmldata" for the online upload.
QString PackageName(int workerMode, const QTime &now);

struct UploadJob {
    int workerMode = kWorkerNone;
    ConnectionProfile profile;
    QString packageFolder;
    QString packageName;
    QString packagePath; // the archive BuildPackage made
    QString remoteName;  // the package name + ".tar"
    FtpOptions options;  // time-outs; the cancel flag is the worker's
};

struct TransmitResult {
    int workerMode = kWorkerNone;
    bool attempted = false; // a connection was tried
    bool confirmed = false; // the server confirmed the transfer
    bool connectFailed = false;
    QString remoteName;
    QString error;  // why it failed
    QString status; // the text for status pane 2
};

// Makes the job of the worker mode on the calling thread: the profile (data-broadcast server
// for 11, online server for 15), the package folder (work folder + "xmldata"), the names from
// `now` taken once, and for the uploading modes the package itself. False, with the reason,
// when the package could not be built (nothing is sent then).
bool PrepareUpload(const CContentModel &model, const ProgramSettings &programSettings,
                   const AppSettings &settings, const QString &workFolder, int workerMode,
                   const QDateTime &now, UploadJob *job, QString *error);

// The work of the worker: opens the connection, puts the package under its remote name and
// closes; the package is deleted after every attempt. The modes 3 and 10 send nothing and
// say so.
TransmitResult RunUpload(const UploadJob &job, const std::atomic_bool *cancel = nullptr);

// The local file of the configuration upload: "config.txt" in the folder of the BCML file.
QString ConfigFilePath(const QString &bcmlPath);

// The configuration upload: CWD "/default" and DELE "config.err", either of which may fail,
// then the file under its own name. Status "FTP転送失敗" when no connection was made, else
// "成功" or "失敗" by the upload.
TransmitResult RunConfigurationUpload(const ConnectionProfile &modulator,
                                      const QString &localPath, FtpOptions options = {},
                                      const std::atomic_bool *cancel = nullptr);

} // namespace orin
