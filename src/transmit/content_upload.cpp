// SPDX-License-Identifier: MIT
#include "transmit/content_upload.h"

#include "model/ui_text.h"
#include "settings/app_settings.h"
#include "transmit/package_builder.h"

#include <QDir>
#include <QFileInfo>

namespace orin {

QString PackageName(int workerMode, const QTime &now)
{
    const QString base = QString::fromUtf16(kPackageFolderName);
    if (workerMode != kWorkerServer)
        return base;
    return base + QStringLiteral("%1%2").arg(now.minute(), 2, 10, QChar(u'0')).arg(now.second(), 2, 10, QChar(u'0'));
}

bool PrepareUpload(const CContentModel &model, const ProgramSettings &programSettings,
                   const AppSettings &settings, const QString &workFolder, int workerMode,
                   const QDateTime &now, UploadJob *job, QString *error)
{
    *job = UploadJob();
    job->workerMode = workerMode;
    if (!WorkerModeUploads(workerMode))
        return true;
    job->profile = workerMode == kWorkerOnline ? OnlineServerProfile(settings)
                                               : DataServerProfile(settings);
    job->packageFolder = QDir(workFolder).filePath(QString::fromUtf16(kPackageFolderName));
    // The time is read once: the package and the remote name carry the same minute and second.
    job->packageName = PackageName(workerMode, now.time());
    job->remoteName = job->packageName + QStringLiteral(".tar");
    job->packagePath = BuildPackage(model, programSettings, job->packageFolder,
                                    job->packageName, error);
    return !job->packagePath.isEmpty();
}

TransmitResult RunUpload(const UploadJob &job, const std::atomic_bool *cancel)
{
    TransmitResult result;
    result.workerMode = job.workerMode;
    result.remoteName = job.remoteName;
    if (!WorkerModeUploads(job.workerMode)) {
        result.status = UiText(kStatusNothingSent);
        return result;
    }
    FtpOptions options = job.options;
    options.cancel = cancel;
    result.attempted = true;
    QString error;
    auto connection = OpenFtp(job.profile, options, &error);
    if (!connection) {
        result.connectFailed = true;
        result.error = error;
    } else {
        result.confirmed = connection->PutLocalFile(job.packagePath, job.remoteName);
        if (!result.confirmed)
            result.error = connection->LastError();
        CloseFtp(connection);
    }
    // The package is of no use after the attempt, whatever became of it.
    DeletePackage(job.packageFolder, job.packageName);
    result.status = result.confirmed ? UiText(kStatusUploaded).arg(job.remoteName)
                                     : UiText(kStatusUploadFailed).arg(result.error);
    return result;
}

QString ConfigFilePath(const QString &bcmlPath)
{
    return QFileInfo(QDir::fromNativeSeparators(bcmlPath)).absolutePath()
           + QStringLiteral("/config.txt");
}

TransmitResult RunConfigurationUpload(const ConnectionProfile &modulator,
                                      const QString &localPath, FtpOptions options,
                                      const std::atomic_bool *cancel)
{
    TransmitResult result;
    result.remoteName = QFileInfo(localPath).fileName();
    result.attempted = true;
    options.cancel = cancel;
    QString error;
    auto connection = OpenFtp(modulator, options, &error);
    if (!connection) {
        result.connectFailed = true;
        result.error = error;
        result.status = UiText(kStatusConnectFailed);
        return result;
    }
    // Only the upload counts: a server without "/default" takes the file in its login
    // folder, and an old "config.err" may well be missing.
    result.confirmed = connection->PutLocalFile(
        localPath, result.remoteName,
        {QStringLiteral("CWD /default"), QStringLiteral("DELE config.err")});
    if (!result.confirmed)
        result.error = connection->LastError();
    CloseFtp(connection);
    result.status = UiText(result.confirmed ? kStatusSuccess : kStatusFailure);
    return result;
}

} // namespace orin
