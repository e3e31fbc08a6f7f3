// SPDX-License-Identifier: MIT
#include "cli/cli_transmit.h"

#include "cli/cli_project.h"
#include "settings/app_settings.h"
#include "settings/size_limits.h"
#include "transmit/connection_profile.h"
#include "transmit/content_upload.h"
#include "transmit/server_retrieval.h"
#include "transmit/transmission.h"
#include "transmit/transmission_runner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>

#include <optional>

namespace orin::cli {
namespace {

int UsageError(Streams io, const QString &problem)
{
    io.err << problem << '\n' << "Run orinedit-cli --help for the commands.\n";
    return kExitUsage;
}

// The options "--name value" of a command; the remaining words in `positional`.
struct Options {
    QStringList positional;
    QHash<QString, QString> values;
    QString problem;
};

Options ParseOptions(const QStringList &args, const QStringList &known)
{
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (!a.startsWith(QStringLiteral("--"))) {
            o.positional << a;
            continue;
        }
        if (!known.contains(a) || i + 1 >= args.size()) {
            o.problem = known.contains(a) ? a + QStringLiteral(" needs a value")
                                          : QStringLiteral("unknown option: ") + a;
            return o;
        }
        o.values.insert(a, args.at(++i));
    }
    return o;
}

std::optional<int> IntOption(const Options &o, const QString &name, int fallback)
{
    if (!o.values.contains(name))
        return fallback;
    bool ok = false;
    const int value = o.values.value(name).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// The settings of the edition: the file named with --settings, or the editor's own.
AppSettings EditionSettings(const Options &o, int edition)
{
    const QString appFolder = QCoreApplication::applicationDirPath();
    const QString path = o.values.value(QStringLiteral("--settings"),
                                        SettingsFileForReading(appFolder, edition));
    return ReadSettingsFile(path, appFolder, edition);
}

// Runs the work on the transmission worker and waits for its result, as the editor does.
TransmitResult RunOnWorker(CTransmissionRunner::Work work)
{
    CTransmissionRunner runner;
    TransmitResult result;
    QEventLoop loop;
    QObject::connect(&runner, &CTransmissionRunner::Finished, &loop,
                     [&](const TransmitResult &r) {
                         result = r;
                         loop.quit();
                     });
    runner.Start(std::move(work));
    loop.exec();
    return result;
}

} // namespace

int TransmitCommand(const QStringList &args, Streams io)
{
    const Options o = ParseOptions(args, {QStringLiteral("--edition"), QStringLiteral("--settings")});
    if (!o.problem.isEmpty())
        return UsageError(io, o.problem);
    if (o.positional.size() != 1)
        return UsageError(io, QStringLiteral("transmit takes one FILE"));
    const std::optional<int> edition = IntOption(o, QStringLiteral("--edition"), kEdition);
    if (!edition || *edition < 0 || *edition > 4)
        return UsageError(io, QStringLiteral("--edition takes 0 to 4"));

    CLoadedProject project;
    if (const int code = project.Load(o.positional.first(), io); code != kExitOk)
        return code;
    const AppSettings settings = EditionSettings(o, *edition);
    const TransmitDecision decision =
        DecideTransmission(project.model, project.settings.ExPNG, settings.ModeAccess, *edition);
    if (!decision.refusal.isEmpty()) {
        io.err << decision.refusal << '\n';
        return kExitFileError;
    }
    if (decision.workerMode == kWorkerNone) {
        io.err << "the content set has no pages: nothing is sent\n";
        return kExitFileError;
    }
    // The package is built in a folder of this run alone.
    QTemporaryDir work;
    UploadJob job;
    QString error;
    if (!work.isValid()
        || !PrepareUpload(project.model, project.settings, settings, work.path(),
                          decision.workerMode, QDateTime::currentDateTime(), &job, &error)) {
        io.err << QStringLiteral("伝送データを作成できません: ") << error << '\n';
        return kExitFileError;
    }
    const TransmitResult result = RunOnWorker(
        [job](const std::atomic_bool &cancel) { return RunUpload(job, &cancel); });
    if (!result.remoteName.isEmpty())
        io.out << "Remote name: " << result.remoteName << '\n';
    io.out << "Result: " << result.status << '\n';
    if (!result.confirmed) {
        if (!result.error.isEmpty())
            io.err << result.error << '\n';
        else
            io.err << "nothing was sent to a server\n";
        return kExitFileError;
    }
    return kExitOk;
}

int FetchCommand(const QStringList &args, Streams io)
{
    const Options o = ParseOptions(args, {QStringLiteral("--type"), QStringLiteral("--number"),
                                          QStringLiteral("--time"), QStringLiteral("--edition"),
                                          QStringLiteral("--settings")});
    if (!o.problem.isEmpty())
        return UsageError(io, o.problem);
    if (o.positional.size() != 1)
        return UsageError(io, QStringLiteral("fetch takes one OUT"));
    const QString out = AbsolutePath(o.positional.first());
    if (!IsProjectPath(out))
        return UsageError(io, QStringLiteral("OUT must end in .bjpx or .bjp: ") + o.positional.first());
    const std::optional<int> edition = IntOption(o, QStringLiteral("--edition"), kEdition);
    if (!edition || *edition < 0 || *edition > 4)
        return UsageError(io, QStringLiteral("--edition takes 0 to 4"));
    const AppSettings settings = EditionSettings(o, *edition);
    if (!o.values.contains(QStringLiteral("--type")))
        return UsageError(io, QStringLiteral("fetch needs --type 0, 1 or 2"));
    const std::optional<int> type = IntOption(o, QStringLiteral("--type"), 0);
    if (!type || *type < 0 || *type > 2)
        return UsageError(io, QStringLiteral("--type takes 0, 1 or 2"));
    // The dialogs' ranges: 1 to 15 in the online edition, else 1 to 8.
    const int maxNumber = *edition == 3 ? 15 : 8;
    const std::optional<int> number =
        IntOption(o, QStringLiteral("--number"), settings.NumberContents);
    if (!number || *number < 1 || *number > maxNumber)
        return UsageError(io, QStringLiteral("--number takes 1 to %1").arg(maxNumber));
    RetrievalRequest request{*type, *number, QDateTime()};
    const QDateTime now = QDateTime::currentDateTime();
    if (o.values.contains(QStringLiteral("--time"))) {
        const QDateTime invalid;
        request.recordTime = ParseRecordTime(o.values.value(QStringLiteral("--time")), invalid);
        if (!request.recordTime.isValid())
            return UsageError(io, QStringLiteral("--time takes \"YYYY/MM/DD hh:mm:ss\""));
    } else {
        request.recordTime = ParseRecordTime(settings.RecordTime, now);
    }
    if (QFileInfo::exists(out)) {
        io.err << out << ": exists; fetch does not write over a project\n";
        return kExitFileError;
    }

    QTemporaryDir work;
    if (!work.isValid()) {
        io.err << work.errorString() << '\n';
        return kExitFileError;
    }
    for (const RemoteRequest &r : RetrievalRequests(request, *edition))
        io.out << "Remote name: " << r.remoteName << '\n';
    const ConnectionProfile profile = ContentServerProfile(settings, *edition);
    const qint64 limit = ServerContentSizeLimit(
        SelectSizeLimit(SizeLimitsOf(settings), 0, *edition));
    RetrievalOutcome outcome;
    RunOnWorker([&](const std::atomic_bool &cancel) {
        FtpOptions options;
        options.cancel = &cancel;
        outcome = RetrieveServerContent(request, profile, work.path(), limit, options, *edition);
        return TransmitResult();
    });
    if (!outcome.fetched.ok || !outcome.unpacked) {
        io.err << QString::fromUtf16(kReceiveFailedMessage) << ": " << outcome.error << '\n';
        return kExitFileError;
    }
    // References that led outside what arrived were emptied before the project was read.
    for (const QString &dropped : outcome.content.droppedReferences)
        io.err << "Dropped reference (outside the fetched content): " << dropped << '\n';
    CLoadedProject project;
    if (const int code = project.Load(outcome.content.projectPath, io); code != kExitOk)
        return code;
    if (!CreateFolderPath(ContentFolderOf(out))) {
        io.err << ContentFolderOf(out) << QStringLiteral(" を作成できません") << '\n';
        return kExitFileError;
    }
    // A portable save: the unpacked files go with the run's folder.
    if (const int code = project.Save(out, SaveMode::Portable, io); code != kExitOk)
        return code;
    const CLabelContents &labels = outcome.content.labels;
    io.out << "Saved: " << out << '\n'
           << "Editable texts: " << labels.texts.join(QStringLiteral(", ")) << '\n'
           << "Editable pictures: " << labels.pictures.join(QStringLiteral(", ")) << '\n'
           << "Background editable: " << (labels.background ? "yes" : "no") << '\n';
    return kExitOk;
}

} // namespace orin::cli
