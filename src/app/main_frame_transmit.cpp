// SPDX-License-Identifier: MIT
// The main frame's transmission commands: "伝送実行" with its worker, "サーバーから取得" with
// its progress dialog, the configuration upload and the online server's channel list.
#include "app/main_frame.h"
#include "model/ui_text.h"

#include "app/background_work.h"
#include "app/status_panes.h"
#include "dialogs/dlg_clist.h"
#include "dialogs/dlg_server.h"
#include "document/document.h"
#include "document/prompt.h"
#include "document/transmission_refusal.h"
#include "settings/edition_info.h"
#include "transmit/connection_profile.h"
#include "transmit/content_upload.h"
#include "transmit/server_content.h"
#include "transmit/server_retrieval.h"
#include "transmit/transmission.h"
#include "transmit/transmission_runner.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>

namespace orin {

namespace {

inline constexpr char16_t kRetrievingText[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "サーバーからデータを受信しています...");
inline constexpr char16_t kCancelText[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "キャンセル");

} // namespace

void CMainFrame::SetUpTransmission()
{
    m_transmission = std::make_unique<CTransmissionRunner>();
    connect(m_transmission.get(), &CTransmissionRunner::Finished, this,
            &CMainFrame::OnTransmissionFinished);
}

bool CMainFrame::IsTransmitting() const
{
    return m_transmission && m_transmission->IsRunning();
}

void CMainFrame::StopTransfers()
{
    if (m_retrievalCancel)
        m_retrievalCancel->store(true);
    if (m_transmission)
        m_transmission->CancelAndWait();
}

void CMainFrame::OnTransmit()
{
    // Typed text belongs in what is sent.
    CommitCanvasText();
    SetTransmissionStatus(QString());
    if (RefuseTransmission(*m_prompt, m_setup.edition))
        return;
    if (IsTransmitting()) {
        m_prompt->MessageBox(UiText(kBusyMessage), QString::fromUtf16(kRefusalCaption),
                             PromptButtons::Ok);
        return;
    }
    const TransmitDecision decision = DecideTransmission(
        m_model, m_document->Settings().ExPNG, m_settings.ModeAccess, m_setup.edition);
    if (!decision.refusal.isEmpty()) {
        m_prompt->MessageBox(decision.refusal, QString::fromUtf16(kRefusalCaption),
                             PromptButtons::Ok);
        return;
    }
    if (decision.workerMode == kWorkerNone)
        return;
    if (!m_autoSend
        && m_prompt->MessageBox(decision.question, UiText(kConfirmCaption), PromptButtons::YesNo)
               != PromptAnswer::Yes)
        return;
    // Everything the worker needs is taken here, on this thread; the package is the content
    // as it is now.
    UploadJob job;
    QString error;
    if (!PrepareUpload(m_model, m_document->Settings(), m_settings, m_folders.work,
                       decision.workerMode, QDateTime::currentDateTime(), &job, &error)) {
        SetTransmissionStatus(UiText(kStatusUploadFailed).arg(error));
        m_prompt->MessageBox(error, UiText(kErrorCaption), PromptButtons::Ok);
        return;
    }
    job.options = m_setup.ftpOptions;
    m_uploadEditCount = m_document->EditCount();
    m_transmission->Start(
        [job](const std::atomic_bool &cancel) { return RunUpload(job, &cancel); });
}

void CMainFrame::OnTransmissionFinished(const TransmitResult &result)
{
    if (m_closed)
        return;
    SetTransmissionStatus(result.status);
    if (!WorkerModeUploads(result.workerMode))
        return;
    if (!result.confirmed) {
        m_prompt->MessageBox(result.error, UiText(kErrorCaption), PromptButtons::Ok);
        return;
    }
    // The flag says whether the content on screen is the one that went out.
    if (m_document->EditCount() == m_uploadEditCount)
        m_document->ClearModified();
}

void CMainFrame::OnConfigurationUpload()
{
    if (IsTransmitting()) {
        m_prompt->MessageBox(UiText(kBusyMessage), QString::fromUtf16(kRefusalCaption),
                             PromptButtons::Ok);
        return;
    }
    const ConnectionProfile modulator = ModulatorProfile(m_settings);
    const QString local = ConfigFilePath(m_settings.BCML);
    const FtpOptions options = m_setup.ftpOptions;
    m_transmission->Start([modulator, local, options](const std::atomic_bool &cancel) {
        return RunConfigurationUpload(modulator, local, options, &cancel);
    });
}

void CMainFrame::OnServerRetrieve()
{
    if (m_document->AccessMode() != kServerAccessMode || m_retrievalCancel)
        return;
    int type = m_settings.TypeContents;
    int number = m_settings.NumberContents;
    QDateTime recordTime = ParseRecordTime(m_settings.RecordTime, QDateTime::currentDateTime());
    if (m_setup.askRetrieval) {
        if (!m_setup.askRetrieval(type, number, recordTime))
            return;
    } else if (m_setup.edition == 3) {
        CDlgOnline dialog(type, number, recordTime, *m_prompt,
                          [this](QWidget *parent) { OpenChannelList(parent); }, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        type = dialog.Type();
        number = dialog.Number();
        recordTime = dialog.RecordTime();
    } else {
        CDlgServer dialog(type, number, recordTime, *m_prompt, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        type = dialog.Type();
        number = dialog.Number();
        recordTime = dialog.RecordTime();
    }
    m_settings.TypeContents = type;
    WriteTypeContents(m_ini, type);
    m_settings.NumberContents = number;
    m_settings.RecordTime = FormatRecordTime(recordTime);
    // The fetched content replaces the one on screen: a modified one is given up only when the
    // operator says so.
    if (m_document->IsModified()
        && m_prompt->MessageBox(UiText(kDiscardQuestion), UiText(kWarningCaption),
                                PromptButtons::YesNo)
               != PromptAnswer::Yes)
        return;
    FetchFromServer({type, number, recordTime});
}

bool CMainFrame::RunServerFetch(QWidget *parent, const QString &title,
                                const std::function<void(const FtpOptions &options)> &fetch)
{
    auto cancel = std::make_shared<std::atomic_bool>(false);
    FtpOptions options = m_setup.ftpOptions;
    options.cancel = cancel.get();
    m_retrievalCancel = cancel;
    RunBehindProgress(parent ? parent : this, title, UiText(kRetrievingText), UiText(kCancelText),
                      cancel, [&fetch, &options] { fetch(options); });
    m_retrievalCancel.reset();
    return !cancel->load();
}

bool CMainFrame::FetchFromServer(const RetrievalRequest &request)
{
    const ConnectionProfile profile = ContentServerProfile(m_settings, m_setup.edition);
    const QString work = m_folders.work;
    const qint64 limit = ServerContentSizeLimit(m_document->SizeLimit());
    const int edition = m_setup.edition;
    RetrievalOutcome outcome;
    // The worker sees copies of the settings only: the window stays live meanwhile.
    const bool finished = RunServerFetch(this, UiText(kServerDialogTitle),
                                         [&](const FtpOptions &options) {
        outcome = RetrieveServerContent(request, profile, work, limit, options, edition);
    });

    WriteRetrievalSettings(m_ini, request, outcome.fetched.ok);
    if (outcome.fetched.cancelled || !finished) {
        // Stopped: what may have arrived before the stop is neither shown nor kept.
        if (outcome.unpacked && !outcome.content.folder.isEmpty())
            QDir(outcome.content.folder).removeRecursively();
        return false;
    }
    if (!outcome.fetched.ok || !outcome.unpacked) {
        // What went wrong is told in the operator's words: the kind of FTP failure with the
        // server's reply, or what was wrong with what arrived.
        SetTransmissionStatus(outcome.error);
        m_prompt->MessageBox(UiText(kReceiveFailedMessage) + u'\n' + outcome.error,
                             UiText(kErrorCaption), PromptButtons::Ok);
        return false;
    }
    if (!m_document->ShowServerContent(outcome.content.projectPath,
                                       ServerWindowTitle(EditionTitle(m_setup.edition), request))) {
        QDir(outcome.content.folder).removeRecursively();
        return false;
    }
    if (!m_serverFolder.isEmpty())
        QDir(m_serverFolder).removeRecursively();
    m_serverFolder = outcome.content.folder;
    m_serverLabels = outcome.content.labels;
    // The server's label lists decide what may be edited; recorded content brings none.
    ApplyLabelContents(m_model, m_serverLabels);
    m_accessField->setText(QString::number(m_document->Settings().TransChannel));
    ShowFirstPage();
    // The operator learns what of the server's content was not taken.
    if (!outcome.content.droppedReferences.isEmpty())
        m_prompt->MessageBox(DroppedReferencesText(outcome.content.droppedReferences),
                             UiText(kWarningCaption), PromptButtons::Ok);
    return true;
}

QByteArray CMainFrame::RequestChannelList(QWidget *parent)
{
    if (m_setup.fetchChannelList)
        return m_setup.fetchChannelList().left(kChannelListBytes);
    // The online server's list, fetched with the connection settings of this moment, off this
    // thread: a server that does not answer would otherwise hold the window for the whole
    // connect time-out.
    const ConnectionProfile profile = OnlineServerProfile(m_settings);
    const QString work = m_folders.work;
    QByteArray list;
    QString error;
    const bool finished = RunServerFetch(parent, UiText(kChannelListTitle),
                                         [&](const FtpOptions &options) {
        list = FetchChannelList(profile, work, options, &error);
    });
    // The list's dialog opens all the same; why it is empty stays in the status pane.
    if (finished && !error.isEmpty())
        SetTransmissionStatus(error);
    // A stopped fetch shows an empty list, as when the server has none.
    return finished ? list.left(kChannelListBytes) : QByteArray();
}

void CMainFrame::OpenChannelList(QWidget *parent)
{
    CDlgCList dialog(RequestChannelList(parent), parent ? parent : this);
    dialog.exec();
}

} // namespace orin
