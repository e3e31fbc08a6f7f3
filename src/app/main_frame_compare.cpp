// SPDX-License-Identifier: MIT
// File > "比較...": the open content set against a project file on disk, in a dock.
#include "app/main_frame.h"

#include "document/document.h"
#include "document/prompt.h"
#include "editor/compare_panel.h"
#include "editor/form_list.h"
#include "images/load_services.h"
#include "model/project_reader.h"
#include "model/ui_text.h"

#include <QDir>
#include <QDockWidget>
#include <QFileInfo>

namespace orin {

void CMainFrame::InstallCompareDock()
{
    m_comparePanel = new CComparePanel(m_colourMap, m_model, m_document->Settings(),
                                       m_folders.work);
    m_compareDock = new QDockWidget(tr("比較"), this);
    m_compareDock->setObjectName(QStringLiteral("CompareDock"));
    m_compareDock->setWidget(m_comparePanel);
    addDockWidget(Qt::RightDockWidgetArea, m_compareDock);
    m_compareDock->hide();
    // The open set is "after": every edit of it, and a newly opened set, is compared again
    // while the dock shows; a hidden dock catches up when it is shown.
    auto refresh = [this] {
        if (!m_compareDock->isVisible())
            return;
        m_comparePanel->SetAfterPath(m_document->CurrentPath());
        m_comparePanel->Refresh();
    };
    connect(&Document(), &CDocument::ModelEdited, m_comparePanel, refresh);
    connect(&Document(), &CDocument::ProjectOpened, m_comparePanel, refresh);
    connect(m_compareDock, &QDockWidget::visibilityChanged, m_comparePanel,
            [refresh](bool visible) {
                if (visible)
                    refresh();
            });
    connect(m_comparePanel, &CComparePanel::PageActivated, this, [this](int pageId) {
        const int row = m_model.pages.IndexOfId(pageId);
        if (row < 0)
            return;
        m_formList->SelectRow(row);
        ShowPageAt(row);
    });
}

void CMainFrame::OnCompare()
{
    CommitCanvasText();
    FileDialogRequest request;
    request.kind = FileDialogKind::Open;
    request.title = tr("比較するファイル");
    request.filterText = UiText(kProjectFilterText);
    request.filterPatterns = QString::fromUtf16(kProjectFilterPatterns).split(u';');
    if (!m_document->CurrentPath().isEmpty())
        request.startFolder = QFileInfo(m_document->CurrentPath()).absolutePath();
    request.fileMustExist = true;
    request.overwritePrompt = false;
    const QString path = QDir::fromNativeSeparators(m_prompt->FileDialog(request));
    if (!path.isEmpty())
        CompareWith(path);
}

bool CMainFrame::CompareWith(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    auto model = std::make_unique<CContentModel>();
    ProgramSettings settings;
    ProjectIntegrity integrity = ProjectIntegrity::NoRoot;
    qint64 used = 0;
    QString failure;
    if (suffix != u"bjpx" && suffix != u"bjp")
        failure = OpenFailedText(path, kOpenFailedNotProjectName);
    else if (!LoadProject(path, suffix == u"bjpx", settings, used, *model, StandardLoadServices(),
                          &integrity))
        failure = OpenFailedText(path, kOpenFailedUnreadable);
    else if (integrity == ProjectIntegrity::NoRoot)
        failure = OpenFailedText(path, kOpenFailedNoProject);
    else if (integrity != ProjectIntegrity::Complete)
        // A damaged file would show as a difference that is not one.
        failure = tr("%1\nこのファイルは破損しているため、比較できません。")
                      .arg(QDir::toNativeSeparators(path));
    if (!failure.isEmpty()) {
        m_prompt->MessageBox(failure, UiText(kErrorCaption), PromptButtons::Ok);
        return false;
    }
    m_comparePanel->SetAfterPath(m_document->CurrentPath());
    m_comparePanel->SetBefore(std::move(model), settings, QFileInfo(path).absoluteFilePath());
    m_compareDock->show();
    m_compareDock->raise();
    return true;
}

} // namespace orin
