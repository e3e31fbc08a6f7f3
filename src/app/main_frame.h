// SPDX-License-Identifier: MIT
#pragma once

#include "actions/item_clipboard.h"
#include "settings/app_settings.h"
#include "app/file_association.h"
#include "app/help_document.h"
#include "webexport/web_export.h"
#include "settings/ini_store.h"
#include "document/page_selection.h"
#include "document/recent_files.h"
#include "document/work_folders.h"
#include "images/colour_map.h"
#include "settings/path_store.h"
#include "model/content_model.h"
#include "document/close_sequence.h"
#include "model/project_reader.h"
#include "orin_version.h"
#include "transmit/ftp_client.h"
#include "transmit/server_content.h"

#include <QDateTime>
#include <QHash>
#include <QMainWindow>
#include <QRect>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QDockWidget;
class QLineEdit;
class QMenu;
class QSplitter;

namespace orin {

class CComparePanel;
class CDocument;
class CDocumentEdits;
class CFormGraph;
class CFormList;
class CImageEdits;
class CLibBMLTS;
class CPrompt;
class CStatusPanes;
class CTransmissionRunner;
struct RetrievalRequest;
struct TransmitResult;

// What the main frame is built from. The defaults are those of the running program; tests
// hand in a temporary application folder, a scripted prompt and quiet desktop tools.
struct FrameSetup {
    QString appFolder;              // the program's folder: settings (when writable), help
    int edition = kEdition;
    QRect workArea;                 // empty: the available area of the primary screen
    CPrompt *prompt = nullptr;      // null: Qt's message boxes and file dialogs
    LoadServices services;          // empty: the standard image measuring
    quint32 workFolderSeed = 0;     // 0: the clock
    QString associationDataHome;    // empty: the user's data folder
    ToolRunner associationTools;    // empty: the desktop tools found in PATH
    UrlOpener openUrl;              // empty: the desktop's handler (help document)
    // The server's channel list file (command 5020); empty: no server to ask.
    std::function<QByteArray()> fetchChannelList;
    // What to fetch from the server (type, number, record time); false for Cancel. Empty: the
    // retrieval dialog of the edition.
    std::function<bool(int &type, int &number, QDateTime &recordTime)> askRetrieval;
    FtpOptions ftpOptions;          // time-outs of the transfers
};

// The main window: owns the content model, the settings, the document state and commands,
// the page list and the page pane, and routes the menu, toolbar and accelerator commands.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Loads the settings, makes the work folders and builds the window (not shown yet).
    explicit CMainFrame(const FrameSetup &setup, QWidget *parent = nullptr);
    ~CMainFrame() override;

    CDocument &Document() const { return *m_document; }
    // The colour map of this run: default.clt of the application folder, else the built-in one.
    const CColourMap &ColourMap() const { return m_colourMap; }
    // The image edits (pictures, materials, backgrounds) of the operator.
    CImageEdits &ImageEdits() const { return *m_imageEdits; }
    // The operator's edits of the model, each one step of the document's undo stack.
    CDocumentEdits &Edits() const { return *m_edits; }
    CContentModel &Model() { return m_model; }
    // The item clipboard of the canvas's item menu; it keeps its item across content sets.
    CItemClipboard &ItemClipboard() { return m_clipboard; }
    AppSettings &Settings() { return m_settings; }
    const WorkFolders &Folders() const { return m_folders; }
    const QString &SettingsPath() const { return m_ini.Path(); }
    CRecentFiles &RecentFiles() { return m_recentFiles; }
    CFormList *FormList() const { return m_formList; }
    CFormGraph *FormGraph() const { return m_formGraph; }
    // The library object; null after the window has closed.
    CLibBMLTS *Library() const { return m_library.get(); }

    // The action of a command number (null when the frame has none).
    QAction *Action(int commandId) const;
    // The recent-file actions currently in the File menu.
    QList<QAction *> RecentFileActions() const;
    QString StatusText(int pane) const;
    QComboBox *ChannelBox() const { return m_channelBox; }
    QAction *AccessFieldAction() const { return m_accessFieldAction; }

    int CurrentPageIndex() const { return m_pageSelection.Index(); }
    bool IsDesignMode() const;

    // --- commands ---
    void OnFileOpen();
    void OnToolbarOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnPortableSave();
    // File > "Web用に書き出し...": the web player of the content set into a folder the operator
    // chooses (it must be empty); the result is told in the status bar.
    void OnExportWeb();
    // File > "ブラウザでプレビュー": the web player into a new folder of the run's work folder,
    // opened with the desktop's browser.
    void OnPreviewInBrowser();
    // File > "比較...": a project file the operator chooses ("before") against the open set
    // ("after"), in the comparison dock.
    void OnCompare();
    // Compares the project file at `path` with the open set and shows the dock; false, after
    // telling the operator, when the file cannot be read or is damaged.
    bool CompareWith(const QString &path);
    // The comparison dock's panel and the dock (hidden until the first comparison).
    CComparePanel *ComparePanel() const { return m_comparePanel; }
    QDockWidget *CompareDock() const { return m_compareDock; }
    void OnRecentFile(int index);
    void OnToggleDesignMode();
    void OnToggleViewFlag(int commandId);
    void OnTransmit();
    void OnNetworkSettings();
    // Server retrieval (32785): what to fetch, then the download off the UI thread with a
    // progress dialog that can cancel it, and the fetched content as the content being edited.
    void OnServerRetrieve();
    // True while a transmission worker runs.
    bool IsTransmitting() const;
    // The label lists of the content fetched last (empty for recorded content and outside the
    // server access mode).
    const CLabelContents &ServerLabels() const { return m_serverLabels; }
    void OnHelp();
    void OnOpenSample();
    void OnAbout();
    void OnFileAssociation();
    void OnSlimData();
    // Undo and redo (57643, 57644): of the text being typed when a text editor has the keyboard
    // focus, else of the last model edit.
    void OnUndo();
    void OnRedo();
    // Files dropped on the frame (or handed over like a drop).
    void OnDropFiles(const QStringList &paths);

    // Opens the project of the command line (extension .bjp or .bjpx in any case; others are
    // ignored) and, as File > Open does, shows its first page with that row selected.
    void OpenStartFile(const QString &path);
    // Starts the timers of "-s" and "-e".
    void StartCommandLineTimers(bool autoSend, bool autoExit);
    bool IsTimerActive(int timerId) const;
    // The expiry of frame timer 300 or 500.
    void OnTimer(int timerId);

    // Makes `row` the current page and shows it; rows outside the page table are ignored.
    void ShowPageAt(int row);

    // The ModeAccess and ModeAction settings changed (the network settings): the file
    // commands, the canvas, its item menu and the page list follow at once.
    void SetModeSettings(int modeAccess, int modeAction);
    // Command 5020: the channel list document of the server, at most its first 1024 bytes,
    // fetched behind a progress dialog over `parent` (empty when stopped or not there).
    QByteArray RequestChannelList(QWidget *parent = nullptr);
    // The channel list dialog ("チャンネルリスト") over `parent`, filled by command 5020.
    void OpenChannelList(QWidget *parent);
    // Ends typing on the canvas, so that the typed text is in the model (save, close, open,
    // the mode switch).
    void CommitCanvasText();
    WebExportResult ExportWebTo(const QString &folder);
    void ReportWebWarnings(const WebExportResult &result);

    // A project fetched from a server into temporary files, removed when the window goes.
    void SetRetrievalProject(const QString &projectPath, const QString &temporaryFile);

public slots:
    // Notification 5001: text for status pane 2.
    void SetTransmissionStatus(const QString &text);
    // Notification 5010: the channel number chosen in the toolbar becomes TransChannel.
    void OnChannelCommand(int channel);
    // Notification 5200: the configuration upload to the modulator, on the worker.
    void OnConfigurationUpload();

protected:
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void InstallCompareDock();
    QAction *MakeAction(int commandId, const QString &text);
    void RebuildRecentMenu();
    void ApplyAccessMode();
    void ApplySettingsToWindow();
    WindowLayout CurrentLayout() const;
    void OnProjectOpened();
    void ShowFirstPage();
    void SetDesignMode(bool design);
    void SyncChannelBox();
    void FocusNextPane();
    // After an edit command: the list follows the page table, the current page follows its
    // record, and the page concerned is shown again after an undo or redo.
    void OnModelEdited(int pageIndex, bool pageTable, bool replay);
    void BuildUndoActions(QMenu *edit, QAction *undo);
    // Shows the remote-control panel beside the canvas in edit mode, hides it in design mode.
    void PlacePanel();
    // The modes of the settings into the document, the canvas and the page list.
    void ApplyModeSettings();
    // Cut, copy and paste of the Edit menu act on the canvas's in-place editor while it has the
    // keyboard focus (undo and redo follow the focus in OnUndo and OnRedo).
    void BindCanvasEditCommands();
    // The transmission worker and its result (main_frame_transmit.cpp).
    void SetUpTransmission();
    void OnTransmissionFinished(const TransmitResult &result);
    void StopTransfers();
    bool FetchFromServer(const RetrievalRequest &request);
    // Runs `fetch` with the frame's FTP options off this thread, behind a progress dialog over
    // `parent` titled `title`; Cancel, Esc or closing the window raise the options' cancel flag.
    // False when the fetch was stopped.
    bool RunServerFetch(QWidget *parent, const QString &title,
                        const std::function<void(const FtpOptions &options)> &fetch);

    FrameSetup m_setup;
    QString m_appFolder;
    CIniStore m_ini;
    CPathStore m_paths;
    AppSettings m_settings;
    WorkFolders m_folders;
    CContentModel m_model;
    CItemClipboard m_clipboard;
    CRecentFiles m_recentFiles;
    std::unique_ptr<CPrompt> m_ownPrompt;
    CPrompt *m_prompt = nullptr;
    std::unique_ptr<CDocument> m_document;
    CColourMap m_colourMap;
    CComparePanel *m_comparePanel = nullptr;
    QDockWidget *m_compareDock = nullptr;
    std::unique_ptr<CImageEdits> m_imageEdits;
    std::unique_ptr<CDocumentEdits> m_edits;
    std::unique_ptr<CLibBMLTS> m_library;
    QString m_imageFolder;
    CPageSelection m_pageSelection;
    quint64 m_currentSerial = 0; // the record of the current page, which its index follows
    bool m_closed = false;
    QString m_retrievalProject;
    QString m_retrievalFile;
    std::unique_ptr<CTransmissionRunner> m_transmission;
    quint64 m_uploadEditCount = 0; // the document's edit count when the package was built
    bool m_autoSend = false;
    CLabelContents m_serverLabels;
    QString m_serverFolder; // the unpacked content being edited
    std::shared_ptr<std::atomic_bool> m_retrievalCancel; // set while a retrieval runs

    QHash<int, QAction *> m_actions;
    QMenu *m_fileMenu = nullptr;
    QAction *m_recentAnchor = nullptr;
    QList<QAction *> m_recentActions;
    QSplitter *m_splitter = nullptr;
    CFormList *m_formList = nullptr;
    CFormGraph *m_formGraph = nullptr;
    QComboBox *m_channelBox = nullptr;
    QLineEdit *m_accessField = nullptr;
    QAction *m_accessFieldAction = nullptr;
    CStatusPanes *m_panes = nullptr;
    QTimer m_autoSendTimer;
    QTimer m_autoExitTimer;
    // The Edit menu following the keyboard focus; cut before the members go.
    QMetaObject::Connection m_focusFollower;
};

} // namespace orin
