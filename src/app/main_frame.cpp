// SPDX-License-Identifier: MIT
#include "app/main_frame.h"

#include "app/about_dialog.h"
#include "app/command_ids.h"
#include "document/document.h"
#include "document/document_edits.h"
#include "document/image_edits.h"
#include "app/help_document.h"
#include "app/navigation_docks.h"
#include "app/program_files.h"
#include "document/lib_bmlts.h"
#include "document/prompt.h"
#include "model/ui_text.h"
#include "transmit/transmission_runner.h"
#include "app/qt_prompt.h"
#include "app/status_panes.h"
#include "editor/form_graph.h"
#include "editor/dlg_panel.h"
#include "editor/graph_view.h"
#include "editor/form_list.h"
#include "editor/page_list_view.h"
#include "images/load_services.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableView>
#include <QUrl>

namespace orin {

namespace {

constexpr int kAutoSendMs = 3000;
constexpr int kAutoExitMs = 30000;
// While a long loop dispatches events, a timer's work waits this long and tries again.
constexpr int kBusyRetryMs = 200;

QRect DefaultWorkArea()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        return screen->availableGeometry();
    return QRect(0, 0, 1920, 1080);
}

quint32 ClockSeed()
{
    return quint32(QDateTime::currentMSecsSinceEpoch() & 0xffffffffu);
}

} // namespace

CMainFrame::CMainFrame(const FrameSetup &setup, QWidget *parent)
    : QMainWindow(parent),
      m_setup(setup),
      m_appFolder(WithTrailingSlash(setup.appFolder)),
      m_ini(SettingsFilePath(setup.appFolder, setup.edition)),
      m_paths(PathStoreFilePath(m_ini.Path()))
{
    // Settings first: everything below is sized and switched by them.
    const QRect workArea = setup.workArea.isEmpty() ? DefaultWorkArea() : setup.workArea;
    m_settings = LoadSettings(m_ini, setup.appFolder, workArea, setup.edition);
    RestoreExactFolders(m_settings, m_paths);
    m_recentFiles.Load(m_ini, m_paths);
    m_folders = MakeWorkFolders(SettingsFolder(setup.appFolder),
                                setup.workFolderSeed ? setup.workFolderSeed : ClockSeed());
    m_imageFolder = m_settings.ImageDir;
    LoadStartupColourMap(m_colourMap, setup.appFolder, SettingsFolder(setup.appFolder));

    if (setup.prompt) {
        m_prompt = setup.prompt;
    } else {
        m_ownPrompt = std::make_unique<CQtPrompt>(this);
        m_prompt = m_ownPrompt.get();
    }
    LoadServices services = setup.services;
    if (!services.measure || !services.totalDataSize)
        services = StandardLoadServices();
    m_document = std::make_unique<CDocument>(m_model, *m_prompt, m_recentFiles,
                                             std::move(services), setup.edition);
    m_document->SetSizeLimits(SizeLimitsOf(m_settings));
    m_document->SetInitialSettings(m_settings.ExPNG, m_settings.Vertical, m_settings.ConvertAAC);
    m_document->SetAccessMode(m_settings.ModeAccess);
    m_document->SetProjectFolder(m_settings.DefaultFileDir);
    m_document->SetPortableFolder(m_settings.PortableDir);
    m_imageEdits = std::make_unique<CImageEdits>(*m_document, m_model, *m_prompt);
    m_imageEdits->SetImageFolder(m_imageFolder);
    m_edits = std::make_unique<CDocumentEdits>(*m_document, m_model, *m_prompt, *m_imageEdits);

    // The static splitter: page list left, page pane right.
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_formList = new CFormList(m_splitter);
    m_formGraph = new CFormGraph(m_splitter);
    m_splitter->addWidget(m_formList);
    m_splitter->addWidget(m_formGraph);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);
    setCentralWidget(m_splitter);
    m_formGraph->AttachPreview(m_model, m_document->Settings(), m_colourMap, m_folders.work,
                               m_prompt);
    m_formGraph->GraphView()->SetToggles(m_settings.Rendo != 0, m_settings.Timer != 0);
    m_formGraph->GraphView()->SetModeAccess(m_settings.ModeAccess);
    m_formGraph->GraphView()->BindEdits(&m_model, m_edits.get(), &m_clipboard);
    m_formGraph->BindDesign({&m_model, m_document.get(), m_edits.get(), m_imageEdits.get(),
                             &m_clipboard, &m_colourMap, m_prompt, m_folders.work});

    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    InstallNavigationDocks(*this);
    InstallCompareDock();
    ApplyAccessMode();
    BindCanvasEditCommands();

    setWindowTitle(m_document->Title());
    setAcceptDrops(true);

    m_library = std::make_unique<CLibBMLTS>();
    m_library->m_version = quint8(m_settings.Version);
    m_library->m_versionUpdate = quint8(m_settings.VersionUpdate);
    m_library->m_dataEventId = quint8(m_settings.data_event_id);
    m_library->m_versionEvent = quint8(m_settings.VersionEvent);

    m_panes->SetAccessText(AccessPaneText(m_settings.AccessTitle, m_settings.modeConvertTo));
    m_panes->SetText(kPanePng, m_document->PngPaneText());

    ApplySettingsToWindow();

    connect(m_document.get(), &CDocument::TitleChanged, this, [this](const QString &title) {
        // Qt reads "[*]" as the modified marker; doubled it stands for itself.
        QString shown = title;
        shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
        setWindowTitle(shown);
    });
    connect(m_document.get(), &CDocument::SizeLineChanged, this,
            [this](const QString &text) { m_panes->SetText(kPaneSize, text); });
    connect(m_document.get(), &CDocument::PngPaneChanged, this,
            [this](const QString &text) { m_panes->SetText(kPanePng, text); });
    connect(m_document.get(), &CDocument::ProjectOpened, this, &CMainFrame::OnProjectOpened);
    connect(m_document.get(), &CDocument::RecentFilesChanged, this,
            &CMainFrame::RebuildRecentMenu);
    connect(m_formList, &CFormList::PageActivated, this, &CMainFrame::ShowPageAt);
    connect(m_formList, &CFormList::DesignModeRequested, this, [this](int row) {
        ShowPageAt(row);
        OnToggleDesignMode();
    });
    connect(m_formList, &CFormList::FilesDropped, this, &CMainFrame::OnDropFiles);
    connect(m_document.get(), &CDocument::ModelEdited, this, &CMainFrame::OnModelEdited);
    // The design surface's drag steps are shown in the prompt pane while they run.
    connect(m_formGraph, &CFormGraph::StatusText, this, [this](const QString &text) {
        m_panes->SetText(kPanePrompt, text.isEmpty() ? UiText(kReadyText) : text);
    });
    if (CDesignCommands *design = m_formGraph->Design())
        connect(design, &CDesignCommands::ZoomChanged, this, [this](double zoom) {
            m_panes->SetText(kPaneZoom, ZoomPaneText(m_formGraph->IsDesignMode(), zoom));
        });

    SetUpTransmission();

    m_autoSendTimer.setInterval(kAutoSendMs);
    m_autoExitTimer.setInterval(kAutoExitMs);
    connect(&m_autoSendTimer, &QTimer::timeout, this, [this] { OnTimer(cmd::kAutoSendTimer); });
    connect(&m_autoExitTimer, &QTimer::timeout, this, [this] { OnTimer(cmd::kAutoExitTimer); });
}

CMainFrame::~CMainFrame()
{
    // The child widgets go after the members; their focus changes must not reach the frame.
    disconnect(m_focusFollower);
    // The worker uses the work folder: it ends before the folder goes.
    StopTransfers();
    m_model.ClearModel();
    if (!m_retrievalProject.isEmpty()) {
        DeleteProjectFiles(m_retrievalProject);
        QFile::remove(m_retrievalProject);
    }
    if (!m_retrievalFile.isEmpty())
        QFile::remove(m_retrievalFile);
    RemoveWorkFolder(m_folders);
}

void CMainFrame::ApplySettingsToWindow()
{
    move(m_settings.w_left, m_settings.w_top);
    resize(m_settings.w_width, m_settings.w_height);
    const int listWidth = std::max(0, m_settings.listwidth);
    m_splitter->setSizes({listWidth, std::max(1, m_settings.w_width - listWidth)});
    m_formList->SetVertical(m_settings.Vertical == 1);
    m_formList->SetThumbnailSize(QSize(m_settings.thumb_width, m_settings.thumb_height));
    m_formList->LayoutList();
    m_formList->Bind(&m_model, m_document.get(), m_edits.get(), m_prompt);
    m_formList->SetModeAction(m_settings.ModeAction);
    m_formGraph->GraphView()->SetModeAction(m_settings.ModeAction);
    m_formList->SetModeAccess(m_settings.ModeAccess);
    m_formList->SetDefTimer(m_settings.DefTimer);
    m_formList->SetItemCount(m_model.pages.Count());
    m_formGraph->SetViewFlags({m_settings.bBoxDraw, m_settings.colBox, m_settings.bLabelDraw,
                               m_settings.bChangeDraw});
}

QAction *CMainFrame::Action(int commandId) const
{
    return m_actions.value(commandId, nullptr);
}

QList<QAction *> CMainFrame::RecentFileActions() const
{
    return m_recentActions;
}

QString CMainFrame::StatusText(int pane) const
{
    return m_panes->Text(pane);
}

bool CMainFrame::IsDesignMode() const
{
    return m_formGraph->IsDesignMode();
}

// ---------------------------------------------------------------- document commands

void CMainFrame::ShowFirstPage()
{
    m_formGraph->ResetCanvas();
    m_pageSelection.Reset();
    ShowPageAt(0);
    // The shown page's row is the one the list's page commands act on.
    if (m_pageSelection.HasPage())
        m_formList->SelectRow(m_pageSelection.Index());
}

void CMainFrame::ShowPageAt(int row)
{
    if (!m_pageSelection.Select(row, m_model.pages.Count()))
        return;
    m_currentSerial = m_model.pages.At(row)->serial.Value();
    m_formGraph->ShowPage(row);
}

void CMainFrame::OnModelEdited(int pageIndex, bool pageTable, bool replay)
{
    if (CGraphView *view = m_formGraph->GraphView())
        view->DropGoneTextTarget();
    if (pageTable) {
        m_formList->SetItemCount(m_model.pages.Count());
        // The shown page is the same record as before, wherever it went; gone, none is shown.
        int found = -1;
        for (int i = 0; i < m_model.pages.Count(); ++i) {
            if (m_model.pages.At(i)->serial.Value() == m_currentSerial) {
                found = i;
                break;
            }
        }
        if (found < 0 && m_pageSelection.HasPage()) {
            m_pageSelection.Reset();
            m_formGraph->ResetCanvas();
        } else if (found >= 0) {
            m_pageSelection.Select(found, m_model.pages.Count());
            m_formGraph->FollowPage(found);
        }
    } else {
        m_formList->RefreshRow(pageIndex);
    }
    if (replay && m_model.pages.IsValidIndex(pageIndex)) {
        ShowPageAt(pageIndex);
        m_formList->SelectRow(pageIndex);
    } else if (m_pageSelection.HasPage() &&
               (pageIndex == m_pageSelection.Index() || pageIndex < 0)) {
        m_formGraph->ShowPage(m_pageSelection.Index());
    }
}

void CMainFrame::OnUndo()
{
    // A text being typed takes its own undo first, as the text editors always have.
    QWidget *focus = QApplication::focusWidget();
    if (auto *text = qobject_cast<QTextEdit *>(focus); text && text->isVisible())
        return text->undo();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(focus))
        return plain->undo();
    if (auto *line = qobject_cast<QLineEdit *>(focus); line && !line->isReadOnly())
        return line->undo();
    m_document->UndoStack().undo();
}

void CMainFrame::OnRedo()
{
    QWidget *focus = QApplication::focusWidget();
    if (auto *text = qobject_cast<QTextEdit *>(focus); text && text->isVisible())
        return text->redo();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(focus))
        return plain->redo();
    if (auto *line = qobject_cast<QLineEdit *>(focus); line && !line->isReadOnly())
        return line->redo();
    m_document->UndoStack().redo();
}

void CMainFrame::OnProjectOpened()
{
    // The old page indexes mean nothing in the new table.
    m_pageSelection.Reset();
    m_currentSerial = 0;
    m_formGraph->ResetCanvas();
    m_formList->SetPageTable(&m_model.pages);
    m_formList->SetItemCount(m_model.pages.Count());
    const bool vertical = m_document->Settings().Vertical == 1;
    m_formList->SetVertical(vertical);
    m_formGraph->SetCanvasSize(vertical ? QSize(540, 960) : QSize(960, 540));
    m_formList->LayoutList();
    SetDesignMode(false);
    SyncChannelBox();
}

void CMainFrame::OnFileOpen()
{
    CommitCanvasText();
    if (m_document->Open())
        ShowFirstPage();
}

void CMainFrame::OnToolbarOpen()
{
    CommitCanvasText();
    if (m_document->AccessMode() == kServerAccessMode) {
        if (QAction *retrieve = Action(cmd::kServerRetrieve))
            retrieve->trigger();
        return;
    }
    OnFileOpen();
}

void CMainFrame::OnFileSave()
{
    CommitCanvasText();
    m_document->Save();
}

void CMainFrame::OnFileSaveAs()
{
    CommitCanvasText();
    m_document->SaveAs();
}

void CMainFrame::OnPortableSave()
{
    CommitCanvasText();
    m_document->PortableSave();
}

void CMainFrame::OnRecentFile(int index)
{
    CommitCanvasText();
    if (m_document->OpenRecent(index))
        ShowFirstPage();
}

void CMainFrame::OnDropFiles(const QStringList &paths)
{
    CommitCanvasText();
    if (m_document->DropFiles(paths) == DropResult::Opened)
        ShowFirstPage();
}

void CMainFrame::OpenStartFile(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != u"bjp" && suffix != u"bjpx")
        return;
    CommitCanvasText();
    // As File > Open: the first page is shown.
    if (m_document->OpenProjectFile(QDir::fromNativeSeparators(QFileInfo(path).absoluteFilePath())))
        ShowFirstPage();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *event)
{
    QStringList paths;
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl &url : urls) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    OnDropFiles(paths);
}

// ---------------------------------------------------------------- modes and flags

void CMainFrame::SetDesignMode(bool design)
{
    // The frame takes dropped files in edit mode, the design surface in design mode.
    setAcceptDrops(!design);
    m_formGraph->SetDesignMode(design);
    m_formList->SetDesignMode(design);
    if (const CDesignCommands *commands = m_formGraph->Design())
        m_panes->SetText(kPaneZoom, ZoomPaneText(design, commands->Zoom()));
    if (QAction *toggle = Action(cmd::kDesignMode))
        toggle->setChecked(design);
    PlacePanel();
}

void CMainFrame::OnToggleDesignMode()
{
    CommitCanvasText();
    // Without a page the mode stays; setting it again keeps the check mark as it was.
    SetDesignMode(DesignModeAfterToggle(m_pageSelection, m_formGraph->IsDesignMode()));
    if (m_pageSelection.HasPage())
        m_formGraph->ShowPage(m_pageSelection.Index());
}

void CMainFrame::OnToggleViewFlag(int commandId)
{
    int *flag = nullptr;
    switch (commandId) {
    case cmd::kBoxDraw:
        flag = &m_settings.bBoxDraw;
        break;
    case cmd::kLabelDraw:
        flag = &m_settings.bLabelDraw;
        break;
    case cmd::kChangeDraw:
        flag = &m_settings.bChangeDraw;
        break;
    default:
        return;
    }
    *flag = *flag ? 0 : 1;
    if (QAction *action = Action(commandId))
        action->setChecked(*flag != 0);
    m_formGraph->SetViewFlags({m_settings.bBoxDraw, m_settings.colBox, m_settings.bLabelDraw,
                               m_settings.bChangeDraw});
}

void CMainFrame::SetTransmissionStatus(const QString &text)
{
    m_panes->SetText(kPaneTransmit, text);
}

void CMainFrame::OnChannelCommand(int channel)
{
    m_document->Settings().TransChannel = channel;
}

void CMainFrame::SyncChannelBox()
{
    const int index = m_document->Settings().TransChannel - 1;
    if (index >= 0 && index < m_channelBox->count())
        m_channelBox->setCurrentIndex(index);
}

// ---------------------------------------------------------------- other commands

void CMainFrame::OnHelp()
{
    ShowHelpDocument(m_appFolder, this, m_setup.openUrl);
}

void CMainFrame::OnOpenSample()
{
    const QString sample = SampleProjectPath(m_appFolder);
    if (sample.isEmpty())
        return;
    CommitCanvasText();
    if (m_document->OpenProjectFile(sample))
        ShowFirstPage();
}

void CMainFrame::OnAbout()
{
    CAboutDialog dialog(m_setup.edition, this);
    dialog.exec();
}

void CMainFrame::OnFileAssociation()
{
    const QString dataHome = m_setup.associationDataHome.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        : m_setup.associationDataHome;
    const ToolRunner tools =
        m_setup.associationTools ? m_setup.associationTools : SystemToolRunner();
    const QString entry =
        QDir::fromNativeSeparators(dataHome) + QStringLiteral("/applications/") + kDesktopFileName;
    // The command asks nothing; the status bar says what it did.
    if (InstallFileAssociation(QCoreApplication::applicationFilePath(), dataHome, tools)) {
        m_panes->SetText(kPanePrompt, tr(".bjpx・.bjp ファイルをこのプログラムに関連付けました（%1）")
                                          .arg(QDir::toNativeSeparators(entry)));
    } else {
        m_panes->SetText(kPanePrompt, tr("拡張子関連付けができません：%1 に書き込めません")
                                          .arg(QDir::toNativeSeparators(dataHome)));
    }
}

void CMainFrame::OnSlimData()
{
    m_document->SlimData();
}

void CMainFrame::SetRetrievalProject(const QString &projectPath, const QString &temporaryFile)
{
    m_retrievalProject = projectPath;
    m_retrievalFile = temporaryFile;
}

// ---------------------------------------------------------------- timers and closing

void CMainFrame::StartCommandLineTimers(bool autoSend, bool autoExit)
{
    // The auto-send transmission asks nothing.
    m_autoSend = autoSend;
    if (autoSend)
        m_autoSendTimer.start();
    if (autoExit)
        m_autoExitTimer.start();
}

bool CMainFrame::IsTimerActive(int timerId) const
{
    if (timerId == cmd::kAutoSendTimer)
        return m_autoSendTimer.isActive();
    if (timerId == cmd::kAutoExitTimer)
        return m_autoExitTimer.isActive();
    return false;
}

void CMainFrame::OnTimer(int timerId)
{
    if (timerId != cmd::kAutoSendTimer && timerId != cmd::kAutoExitTimer)
        return;
    QTimer &timer = timerId == cmd::kAutoSendTimer ? m_autoSendTimer : m_autoExitTimer;
    timer.stop();
    if (m_document->IsBusy()) {
        // A load or save is dispatching events; its work must end before a question appears
        // or the window closes.
        QTimer::singleShot(kBusyRetryMs, this, [this, timerId] { OnTimer(timerId); });
        return;
    }
    if (timerId == cmd::kAutoSendTimer)
        OnTransmit();
    else
        close();
}

WindowLayout CMainFrame::CurrentLayout() const
{
    WindowLayout layout;
    layout.frame = isMaximized() || isMinimized() ? normalGeometry() : QRect(pos(), size());
    layout.thumbnail = m_formList->ThumbnailSize();
    layout.listWidth = m_splitter->sizes().value(0, m_settings.listwidth);
    return layout;
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    if (m_document->IsBusy() || m_retrievalCancel) {
        // A retrieval that runs is told to stop; the window closes once it has.
        if (m_retrievalCancel)
            m_retrievalCancel->store(true);
        event->ignore();
        QTimer::singleShot(kBusyRetryMs, this, &QWidget::close);
        return;
    }
    // A text being typed is part of what the save question is about.
    CommitCanvasText();
    // The panel's two toggles are kept with the other keys written at close.
    m_settings.Rendo = m_formGraph->GraphView()->LinkedClicks() ? 1 : 0;
    m_settings.Timer = m_formGraph->GraphView()->Timers() ? 1 : 0;
    if (!RunCloseSequence(*m_document, m_settings, CurrentLayout(), m_imageEdits->ImageFolder(),
                          m_library, {m_ini, m_paths, m_recentFiles})) {
        event->ignore();
        return;
    }
    m_autoSendTimer.stop();
    m_autoExitTimer.stop();
    StopTransfers();
    m_closed = true;
    if (CGraphView *view = m_formGraph->GraphView())
        view->Panel()->hide();
    event->accept();
    // A message still open (the refusal of an auto-send, say) goes with its window, so that an
    // unattended auto-exit really ends the program.
    const QList<QDialog *> dialogs = findChildren<QDialog *>();
    for (QDialog *dialog : dialogs) {
        if (dialog->isVisible())
            dialog->reject();
    }
}

void CMainFrame::PlacePanel()
{
    CGraphView *view = m_formGraph->GraphView();
    if (!view || m_closed)
        return;
    const QRect workArea = m_setup.workArea.isEmpty() ? DefaultWorkArea() : m_setup.workArea;
    view->PlacePanel(workArea);
    view->Panel()->setVisible(isVisible() && !m_formGraph->IsDesignMode()
                              && !view->PanelHiddenByOperator());
}

void CMainFrame::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    PlacePanel();
}

void CMainFrame::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    PlacePanel();
}

void CMainFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    PlacePanel();
}

void CMainFrame::FocusNextPane()
{
    // With two panes the next and the previous pane are the same: the other one.
    QWidget *focus = focusWidget();
    const bool inList = focus && (focus == m_formList || m_formList->isAncestorOf(focus));
    if (inList)
        m_formGraph->setFocus(Qt::ShortcutFocusReason);
    else
        m_formList->ListView()->setFocus(Qt::ShortcutFocusReason);
}

} // namespace orin
