// SPDX-License-Identifier: MIT
// The menus, the toolbar and the status bar of the main frame.
#include "app/main_frame.h"
#include "model/ui_text.h"

#include "app/command_ids.h"
#include "app/design_view_menu.h"
#include "app/program_files.h"
#include "document/document.h"
#include "app/status_panes.h"
#include "app/toolbar_icons.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

namespace orin {

namespace {

constexpr int kChannelCount = 12;
constexpr int kAccessFieldWidth = 45;
constexpr int kChannelBoxId = 130;

// The UI font of the frame's own controls: "ＭＳ ゴシック", 12 pixels, fixed pitch.
QFont FrameFont()
{
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(12);
    font.setFixedPitch(true);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

// "&1 path" .. "1&0 path": the menu text of a recent-file entry.
QString RecentEntryText(int index, const QString &path)
{
    QString number = QString::number(index + 1);
    number.insert(number.size() - 1, u'&');
    QString shown = path;
    shown.replace(u'&', QStringLiteral("&&"));
    return number + u' ' + shown;
}

} // namespace

QAction *CMainFrame::MakeAction(int commandId, const QString &text)
{
    auto *action = new QAction(text, this);
    action->setData(commandId);
    m_actions.insert(commandId, action);
    return action;
}

void CMainFrame::BuildMenus()
{
    QMenuBar *bar = menuBar();

    m_fileMenu = bar->addMenu(tr("ファイル(&F)"));
    QAction *open = MakeAction(cmd::kFileOpen, tr("開く(&O)..."));
    connect(open, &QAction::triggered, this, &CMainFrame::OnFileOpen);
    m_fileMenu->addAction(open);
    // Server retrieval runs in the server access mode.
    QAction *retrieve = MakeAction(cmd::kServerRetrieve, tr("サーバーから取得(&G)..."));
    connect(retrieve, &QAction::triggered, this, &CMainFrame::OnServerRetrieve);
    m_fileMenu->addAction(retrieve);
    QAction *save = MakeAction(cmd::kFileSave, tr("上書き保存(&S)"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(save, &QAction::triggered, this, &CMainFrame::OnFileSave);
    m_fileMenu->addAction(save);
    QAction *saveAs = MakeAction(cmd::kFileSaveAs, tr("名前を付けて保存(&A)..."));
    connect(saveAs, &QAction::triggered, this, &CMainFrame::OnFileSaveAs);
    m_fileMenu->addAction(saveAs);
    QAction *portable = MakeAction(cmd::kPortableSave, tr("ポータブル保存(&P)..."));
    connect(portable, &QAction::triggered, this, &CMainFrame::OnPortableSave);
    m_fileMenu->addAction(portable);
    m_fileMenu->addSeparator();
    QAction *exportWeb = MakeAction(cmd::kExportWeb, tr("Web用に書き出し(&W)..."));
    connect(exportWeb, &QAction::triggered, this, &CMainFrame::OnExportWeb);
    m_fileMenu->addAction(exportWeb);
    QAction *browser = MakeAction(cmd::kPreviewInBrowser, tr("ブラウザでプレビュー(&B)"));
    connect(browser, &QAction::triggered, this, &CMainFrame::OnPreviewInBrowser);
    m_fileMenu->addAction(browser);
    QAction *compare = MakeAction(cmd::kCompare, tr("比較(&C)..."));
    connect(compare, &QAction::triggered, this, &CMainFrame::OnCompare);
    m_fileMenu->addAction(compare);
    m_fileMenu->addSeparator();
    m_recentAnchor = m_fileMenu->addSeparator();
    QAction *exitAction = MakeAction(cmd::kAppExit, tr("アプリケーションの終了(&X)"));
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    m_fileMenu->addAction(exitAction);
    RebuildRecentMenu();

    QMenu *edit = bar->addMenu(tr("編集(&E)"));
    // Cut, copy and paste have no handler in the frame: items are copied and pasted through the
    // canvas menu.
    QAction *undo = MakeAction(cmd::kEditUndo, tr("元に戻す(&U)"));
    undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z),
                        QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    QAction *cut = MakeAction(cmd::kEditCut, tr("切り取り(&T)"));
    cut->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_X),
                       QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    QAction *copy = MakeAction(cmd::kEditCopy, tr("コピー(&C)"));
    copy->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_C),
                        QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    QAction *paste = MakeAction(cmd::kEditPaste, tr("貼り付け(&P)"));
    paste->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_V),
                         QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    for (QAction *action : {cut, copy, paste})
        action->setEnabled(false);
    BuildUndoActions(edit, undo);
    edit->addSeparator();
    edit->addAction(cut);
    edit->addAction(copy);
    edit->addAction(paste);
    edit->addSeparator();
    QAction *design = MakeAction(cmd::kDesignMode, tr("編集／デザインモード切替"));
    design->setCheckable(true);
    connect(design, &QAction::triggered, this, &CMainFrame::OnToggleDesignMode);
    edit->addAction(design);
    QAction *slim = MakeAction(cmd::kSlimData, tr("データスリム化..."));
    connect(slim, &QAction::triggered, this, &CMainFrame::OnSlimData);
    edit->addAction(slim);

    QMenu *view = bar->addMenu(tr("表示(&V)"));
    const struct {
        int id;
        const char16_t *text;
        int value;
    } flags[] = {
        {cmd::kBoxDraw, u"" QT_TRANSLATE_NOOP("OrinEdit", "アイテム枠の表示"), m_settings.bBoxDraw},
        {cmd::kLabelDraw, u"" QT_TRANSLATE_NOOP("OrinEdit", "編集可能枠の表示"),
         m_settings.bLabelDraw},
        {cmd::kChangeDraw, u"" QT_TRANSLATE_NOOP("OrinEdit", "編集済み枠の表示"),
         m_settings.bChangeDraw},
    };
    for (const auto &flag : flags) {
        QAction *action = MakeAction(flag.id, UiText(flag.text));
        action->setCheckable(true);
        action->setChecked(flag.value != 0);
        const int id = flag.id;
        connect(action, &QAction::triggered, this, [this, id] { OnToggleViewFlag(id); });
        view->addAction(action);
    }
    view->addSeparator();
    new CDesignViewMenu(*view, *m_formGraph, m_ini, this);
    view->addSeparator();
    QAction *statusBarToggle = MakeAction(cmd::kStatusBar, tr("ステータス バー(&S)"));
    statusBarToggle->setCheckable(true);
    statusBarToggle->setChecked(true);
    connect(statusBarToggle, &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });
    view->addAction(statusBarToggle);

    QMenu *network = bar->addMenu(tr("ネットワーク(&N)"));
    QAction *transmit = MakeAction(cmd::kTransmit, tr("伝送実行(&G)"));
    connect(transmit, &QAction::triggered, this, &CMainFrame::OnTransmit);
    network->addAction(transmit);
    QAction *networkSettings = MakeAction(cmd::kNetworkSettings, tr("ネットワーク設定(&N)"));
    connect(networkSettings, &QAction::triggered, this, &CMainFrame::OnNetworkSettings);
    network->addAction(networkSettings);

    QMenu *help = bar->addMenu(tr("ヘルプ(&H)"));
    QAction *helpAction = MakeAction(cmd::kHelp, tr("ヘルプ(&H)"));
    connect(helpAction, &QAction::triggered, this, &CMainFrame::OnHelp);
    help->addAction(helpAction);
    // The sample content set that came with the program, wherever it was installed; the entry
    // stays greyed when there is none.
    QAction *sample = MakeAction(cmd::kOpenSample, tr("サンプルを開く"));
    connect(sample, &QAction::triggered, this, &CMainFrame::OnOpenSample);
    sample->setEnabled(!SampleProjectPath(m_appFolder).isEmpty());
    help->addAction(sample);
    QAction *association = MakeAction(cmd::kFileAssociation, tr("拡張子関連付け"));
    connect(association, &QAction::triggered, this, &CMainFrame::OnFileAssociation);
    help->addAction(association);
    help->addSeparator();
    QAction *about = MakeAction(cmd::kAbout, tr("バージョン情報 OrinEditContents(&A)..."));
    connect(about, &QAction::triggered, this, &CMainFrame::OnAbout);
    help->addAction(about);

    // F6 and Shift+F6 move the keyboard focus between the page list and the page pane.
    QAction *nextPane = MakeAction(cmd::kNextPane, tr("次のウィンドウ"));
    nextPane->setShortcut(QKeySequence(Qt::Key_F6));
    QAction *previousPane = MakeAction(cmd::kPreviousPane, tr("前のウィンドウ"));
    previousPane->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    for (QAction *action : {nextPane, previousPane}) {
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, &CMainFrame::FocusNextPane);
        addAction(action);
    }
}

void CMainFrame::BuildUndoActions(QMenu *edit, QAction *undo)
{
    // The texts say what the next undo and redo take back or repeat.
    const QString undoText = tr("元に戻す(&U)");
    const QString redoText = tr("やり直し(&R)");
    QAction *redo = MakeAction(cmd::kEditRedo, redoText);
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    QUndoStack &stack = m_document->UndoStack();
    auto follow = [&stack, undo, redo, undoText, redoText] {
        undo->setEnabled(stack.canUndo());
        redo->setEnabled(stack.canRedo());
        undo->setText(stack.canUndo() ? undoText + u' ' + UiText(stack.undoText()) : undoText);
        redo->setText(stack.canRedo() ? redoText + u' ' + UiText(stack.redoText()) : redoText);
    };
    connect(&stack, &QUndoStack::indexChanged, this, follow);
    connect(&stack, &QUndoStack::canUndoChanged, this, follow);
    connect(&stack, &QUndoStack::canRedoChanged, this, follow);
    connect(&stack, &QUndoStack::undoTextChanged, this, follow);
    connect(&stack, &QUndoStack::redoTextChanged, this, follow);
    follow();
    connect(undo, &QAction::triggered, this, &CMainFrame::OnUndo);
    connect(redo, &QAction::triggered, this, &CMainFrame::OnRedo);
    edit->addAction(undo);
    edit->addAction(redo);
}

void CMainFrame::RebuildRecentMenu()
{
    for (QAction *action : std::as_const(m_recentActions)) {
        m_actions.remove(action->data().toInt());
        m_fileMenu->removeAction(action);
        action->deleteLater();
    }
    m_recentActions.clear();
    const QStringList &entries = m_recentFiles.Entries();
    if (entries.isEmpty()) {
        QAction *placeholder = MakeAction(cmd::kRecentFirst, tr("最近使ったファイル"));
        placeholder->setEnabled(false);
        m_recentActions.append(placeholder);
    } else {
        for (int i = 0; i < int(entries.size()) && cmd::kRecentFirst + i <= cmd::kRecentLast;
             ++i) {
            QAction *entry = MakeAction(cmd::kRecentFirst + i, RecentEntryText(i, entries.at(i)));
            connect(entry, &QAction::triggered, this, [this, i] { OnRecentFile(i); });
            m_recentActions.append(entry);
        }
    }
    m_fileMenu->insertActions(m_recentAnchor, m_recentActions);
}

void CMainFrame::BuildToolBar()
{
    QToolBar *bar = addToolBar(tr("ツール バー"));
    bar->setObjectName(QStringLiteral("toolbar"));
    bar->setIconSize(QSize(24, 24));
    bar->setAllowedAreas(Qt::AllToolBarAreas);

    QAction *openButton = MakeAction(cmd::kToolbarOpen, tr("開く"));
    connect(openButton, &QAction::triggered, this, &CMainFrame::OnToolbarOpen);
    const int order[] = {cmd::kToolbarOpen, cmd::kFileSave, 0, cmd::kEditCut, cmd::kEditCopy,
                         cmd::kEditPaste, 0, cmd::kDesignMode, 0, cmd::kTransmit};
    for (const int id : order) {
        if (id == 0) {
            bar->addSeparator();
            continue;
        }
        QAction *action = Action(id);
        action->setIcon(CommandIcon(id));
        bar->addAction(action);
    }

    // The eleventh position holds a text field that only the server access mode shows.
    m_accessField = new QLineEdit(QStringLiteral(" "), bar);
    m_accessField->setObjectName(QStringLiteral("accessField"));
    m_accessField->setFixedWidth(kAccessFieldWidth);
    m_accessField->setReadOnly(true);
    m_accessField->setFont(FrameFont());
    m_accessFieldAction = bar->addWidget(m_accessField);
    m_accessFieldAction->setData(cmd::kAccessField);
    m_actions.insert(cmd::kAccessField, m_accessFieldAction);

    QAction *about = Action(cmd::kAbout);
    about->setIcon(CommandIcon(cmd::kAbout));
    bar->addAction(about);

    bar->addSeparator();
    m_channelBox = new QComboBox(bar);
    m_channelBox->setObjectName(QStringLiteral("channelBox"));
    m_channelBox->setProperty("controlId", kChannelBoxId);
    m_channelBox->setToolTip(tr("伝送チャンネル"));
    m_channelBox->setFont(FrameFont());
    for (int channel = 1; channel <= kChannelCount; ++channel)
        m_channelBox->addItem(QString::number(channel));
    // The choice reaches the frame as a posted command, after the combo box has finished.
    connect(m_channelBox, &QComboBox::activated, this, [this](int index) {
        QMetaObject::invokeMethod(
            this, [this, channel = index + 1] { OnChannelCommand(channel); },
            Qt::QueuedConnection);
    });
    bar->addWidget(m_channelBox);
    SyncChannelBox();
}

void CMainFrame::BuildStatusBar()
{
    m_panes = new CStatusPanes(statusBar(), FrameFont());
}

void CMainFrame::ApplyAccessMode()
{
    const bool serverMode = m_settings.ModeAccess == kServerAccessMode;
    for (const int id : {cmd::kFileOpen, cmd::kFileSave, cmd::kFileSaveAs})
        Action(id)->setEnabled(!serverMode);
    for (const int id : {cmd::kServerRetrieve, cmd::kChangeDraw})
        Action(id)->setEnabled(serverMode);
    m_accessFieldAction->setVisible(serverMode);
}

} // namespace orin
