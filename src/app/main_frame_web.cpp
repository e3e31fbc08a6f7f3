// SPDX-License-Identifier: MIT
// The File menu's web commands: the export for the web player into a folder the operator
// chooses, and the preview in the desktop's browser from the run's work folder.
#include "app/main_frame.h"

#include "app/status_panes.h"
#include "document/document.h"
#include "document/prompt.h"
#include "preview/screen_pictures.h"
#include "webexport/web_export.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace orin {

WebExportResult CMainFrame::ExportWebTo(const QString &folder)
{
    const ScreenPictures &screens = SharedScreenPictures();
    return ExportForWeb({m_model, m_document->Settings(), m_colourMap,
                         {{QStringLiteral("video"), screens.video},
                          {QStringLiteral("guide"), screens.guide},
                          {QStringLiteral("otherChannel"), screens.otherChannel},
                          {QStringLiteral("web"), screens.web}}},
                        folder);
}

void CMainFrame::ReportWebWarnings(const WebExportResult &result)
{
    if (result.warnings.isEmpty())
        return;
    m_prompt->MessageBox(tr("読み込めないファイルは代わりの画像で書き出しました。\n%1")
                             .arg(result.warnings.join(u'\n')),
                         tr("Web用に書き出し"), PromptButtons::Ok);
}

void CMainFrame::OnExportWeb()
{
    CommitCanvasText();
    // The folder is named like a file to save: a new name, or a folder that is still empty.
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.title = tr("Web用に書き出し（新しいフォルダ名）");
    request.filterText = tr("フォルダ");
    request.filterPatterns = {QStringLiteral("*")};
    request.overwritePrompt = false;
    if (!m_document->CurrentPath().isEmpty()) {
        const QFileInfo project(m_document->CurrentPath());
        request.startFolder = project.absolutePath();
        request.startFile = project.absolutePath() + u'/' + project.completeBaseName()
                            + QStringLiteral("-web");
    }
    const QString folder = m_prompt->FileDialog(request);
    if (folder.isEmpty())
        return;
    const WebExportResult result = ExportWebTo(folder);
    if (!result.ok) {
        m_panes->SetText(kPanePrompt, tr("Web用に書き出せませんでした"));
        m_prompt->MessageBox(tr("Web用に書き出せません。\n%1").arg(result.error),
                             QStringLiteral("エラー"), PromptButtons::Ok);
        return;
    }
    m_panes->SetText(kPanePrompt, tr("Web用に書き出しました: %1")
                                      .arg(QDir(folder).filePath(QStringLiteral("index.html"))));
    ReportWebWarnings(result);
}

void CMainFrame::OnPreviewInBrowser()
{
    CommitCanvasText();
    // A new folder for every preview: a browser may still show the last one.
    QString folder;
    for (int n = 1; folder.isEmpty() || QFileInfo::exists(folder); ++n)
        folder = QDir(m_folders.work).filePath(QStringLiteral("web%1").arg(n));
    const WebExportResult result = ExportWebTo(folder);
    if (!result.ok) {
        m_panes->SetText(kPanePrompt, tr("ブラウザでプレビューできませんでした"));
        m_prompt->MessageBox(tr("Web用に書き出せません。\n%1").arg(result.error),
                             QStringLiteral("エラー"), PromptButtons::Ok);
        return;
    }
    const QUrl url = QUrl::fromLocalFile(QDir(folder).filePath(QStringLiteral("index.html")));
    const bool opened = m_setup.openUrl ? m_setup.openUrl(url) : QDesktopServices::openUrl(url);
    m_panes->SetText(kPanePrompt, opened ? tr("ブラウザでプレビューを開きました: %1").arg(url.toLocalFile())
                                         : tr("ブラウザを起動できません: %1").arg(url.toLocalFile()));
    ReportWebWarnings(result);
}

} // namespace orin
