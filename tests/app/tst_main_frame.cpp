// SPDX-License-Identifier: MIT
// The main frame headless: menus, toolbar, status panes, document commands through the window,
// closing, recent files, drops, timers and toggles.
#include "test_registry.h"

#include "settings/app_settings.h"
#include "app/command_ids.h"
#include "document/document.h"
#include "settings/ini_store.h"
#include "document/lib_bmlts.h"
#include "app/main_frame.h"
#include "app/qt_prompt.h"
#include "frame_setup.h"
#include "app/status_panes.h"
#include "settings/edition_info.h"
#include "frame_setup.h"
#include "prompt_fixtures.h"
#include "test_paths.h"
#include "settings/path_store.h"
#include "editor/form_graph.h"
#include "editor/form_list.h"
#include "editor/page_list_view.h"
#include "model/text_codec.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QtTest>

using namespace orin;
using orin::test::CScriptedPrompt;

namespace {

struct FrameFixture {
    QTemporaryDir dir;
    CScriptedPrompt prompt;
    QStringList toolCalls;
    std::unique_ptr<CMainFrame> frame;

    QString Path(const QString &name) const { return dir.filePath(name); }
    QString SettingsFile() const { return SettingsFilePath(dir.path(), 4); }

    void WriteSettings(const QByteArray &text) const
    {
        QFile file(SettingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    void Make(int edition = 4)
    {
        FrameSetup setup;
        setup.appFolder = dir.path();
        setup.edition = edition;
        setup.workArea = QRect(0, 0, 1920, 1080);
        setup.prompt = &prompt;
        setup.workFolderSeed = 7;
        setup.associationDataHome = dir.filePath(QStringLiteral("share"));
        setup.associationTools = [this](const QString &tool, const QStringList &) {
            toolCalls.append(tool);
            return true;
        };
        setup.openUrl = [](const QUrl &) { return false; }; // no browser here
        frame = std::make_unique<CMainFrame>(setup);
    }

    void Trigger(int id) const { frame->Action(id)->trigger(); }
};

QList<int> ToolbarIds(QToolBar *bar)
{
    QList<int> ids;
    const QList<QAction *> actions = bar->actions();
    for (QAction *action : actions)
        ids.append(action->isSeparator() ? 0 : action->data().isValid() ? action->data().toInt()
                                                                          : -1);
    return ids;
}

} // namespace

class TestMainFrame : public QObject {
    Q_OBJECT

private slots:
    void menuItemsCarryTheirTextsAndNumbers_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        const struct {
            int id;
            const char *text;
        } items[] = {
            {57601, "開く(&O)..."},
            {32785, "サーバーから取得(&G)..."},
            {57603, "上書き保存(&S)"},
            {32771, "名前を付けて保存(&A)..."},
            {32772, "ポータブル保存(&P)..."},
            {57616, "最近使ったファイル"},
            {57665, "アプリケーションの終了(&X)"},
            {32809, "編集／デザインモード切替"},
            {32814, "データスリム化..."},
            {32777, "アイテム枠の表示"},
            {32787, "編集可能枠の表示"},
            {32788, "編集済み枠の表示"},
            {59393, "ステータス バー(&S)"},
            {32779, "伝送実行(&G)"},
            {32780, "ネットワーク設定(&N)"},
            {32790, "ヘルプ(&H)"},
            {57664, "バージョン情報 OrinEditContents(&A)..."},
            {32800, "拡張子関連付け"},
            {32840, "サンプルを開く"},
        };
        for (const auto &item : items)
            QTest::newRow(item.text) << item.id << QString::fromUtf8(item.text);
    }

    void menuItemsCarryTheirTextsAndNumbers()
    {
        QFETCH(int, id);
        QFETCH(QString, text);
        FrameFixture f;
        f.Make();
        QAction *action = f.frame->Action(id);
        QVERIFY(action);
        QCOMPARE(action->text(), text);
        QCOMPARE(action->data().toInt(), id);
    }

    void editItemsArePresentButDisabled()
    {
        FrameFixture f;
        f.Make();
        for (const int id : {cmd::kEditUndo, cmd::kEditCut, cmd::kEditCopy, cmd::kEditPaste}) {
            QVERIFY(f.frame->Action(id));
            QVERIFY(!f.frame->Action(id)->isEnabled());
        }
        QCOMPARE(f.frame->Action(cmd::kFileSave)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(f.frame->Action(cmd::kEditPaste)->shortcuts(),
                 QList<QKeySequence>({QKeySequence(Qt::CTRL | Qt::Key_V),
                                      QKeySequence(Qt::SHIFT | Qt::Key_Insert)}));
        QCOMPARE(f.frame->Action(cmd::kNextPane)->shortcut(), QKeySequence(Qt::Key_F6));
    }

    void greyingByAccessMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("modulator") << 0;
        QTest::newRow("control program") << 1;
        QTest::newRow("server") << 2;
    }

    void greyingByAccessMode()
    {
        QFETCH(int, mode);
        FrameFixture f;
        f.WriteSettings("[Config]\nModeAccess=" + QByteArray::number(mode) + "\n");
        f.Make();
        const bool server = mode == 2;
        for (const int id : {cmd::kFileOpen, cmd::kFileSave, cmd::kFileSaveAs})
            QCOMPARE(f.frame->Action(id)->isEnabled(), !server);
        for (const int id : {cmd::kServerRetrieve, cmd::kChangeDraw})
            QCOMPARE(f.frame->Action(id)->isEnabled(), server);
        QVERIFY(f.frame->Action(cmd::kPortableSave)->isEnabled());
        QVERIFY(f.frame->Action(cmd::kToolbarOpen)->isEnabled());
        QCOMPARE(f.frame->AccessFieldAction()->isVisible(), server);
    }

    void toolbarOrder()
    {
        FrameFixture f;
        f.Make();
        auto *bar = f.frame->findChild<QToolBar *>(QStringLiteral("toolbar"));
        QVERIFY(bar);
        const QList<int> ids = ToolbarIds(bar);
        QCOMPARE(ids.mid(0, 12), QList<int>({32791, 57603, 0, 57635, 57634, 57637, 0, 32809, 0,
                                             32779, 32808, 57664}));
        auto *field = f.frame->findChild<QLineEdit *>(QStringLiteral("accessField"));
        QVERIFY(field);
        QCOMPARE(field->text(), QStringLiteral(" "));
        QCOMPARE(field->width(), 45);
        QComboBox *box = f.frame->ChannelBox();
        QCOMPARE(box->itemText(0), QStringLiteral("1"));
        QVERIFY(box->count() > 1);
        QCOMPARE(box->itemText(box->count() - 1), QString::number(box->count()));
    }

    void statusPanesAtStartUp_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("access");
        QTest::addColumn<int>("width");
        QTest::newRow("no title") << QByteArray() << QString() << 0;
        QTest::newRow("title") << QByteArray("AccessTitle=Tokyo\n") << QStringLiteral("Tokyo")
                               << 90;
        QTest::newRow("test server") << QByteArray("AccessTitle=Tokyo\nmodeConvertTo=1\n")
                                     << QStringLiteral("テスト用ローカルサーバ") << 162;
    }

    void statusPanesAtStartUp()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, access);
        QFETCH(int, width);
        FrameFixture f;
        f.WriteSettings("[Config]\n" + settings);
        f.Make();
        f.frame->show();
        // The eight described panes show; the design zoom pane waits for design mode.
        QCOMPARE(f.frame->statusBar()->findChildren<QLabel *>().size(), 9);
        const auto *zoom =
            f.frame->statusBar()->findChild<QLabel *>(QStringLiteral("pane%1").arg(kPaneZoom));
        QVERIFY(zoom && !zoom->isVisible());
        QCOMPARE(f.frame->StatusText(kPanePrompt), QStringLiteral("レディ"));
        QCOMPARE(f.frame->StatusText(kPaneAccess), access);
        auto *pane = f.frame->statusBar()->findChild<QLabel *>(QStringLiteral("pane1"));
        QCOMPARE(pane->isVisible(), width > 0);
        if (width > 0)
            QCOMPARE(pane->width(), width);
        QCOMPARE(f.frame->StatusText(kPaneSize), QString());
        // The HTML edition starts with general PNGs allowed.
        if (kEdition == 4)
            QCOMPARE(f.frame->StatusText(kPanePng), QStringLiteral(" H"));
        QCOMPARE(f.frame->windowTitle(), EditionTitle());
    }

    void windowFromSettings()
    {
        FrameFixture f;
        f.WriteSettings("[Config]\nw_left=300\nw_top=-5\nw_width=900\nw_height=700\n"
                        "listwidth=210\nthumb_width=160\nthumb_height=90\n");
        f.Make();
        QCOMPARE(f.frame->pos(), QPoint(300, 0));
        QCOMPARE(f.frame->size(), QSize(900, 700));
        QCOMPARE(f.frame->FormList()->ThumbnailSize(), QSize(160, 90));
        f.frame->show();
        QCOMPARE(f.frame->findChild<QSplitter *>()->sizes().value(0), 210);
    }

    void titleAndPanesThroughTheCommands()
    {
        FrameFixture f;
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("news.bjpx")), 3));
        f.Make();
        f.prompt.fileNames = {f.Path(QStringLiteral("news"))};
        f.Trigger(cmd::kFileOpen);
        QCOMPARE(f.frame->windowTitle(), QStringLiteral("OrinEditHTML - news.bjpx"));
        QCOMPARE(f.frame->StatusText(kPaneSize), QStringLiteral("0.00/97.67 M"));
        QCOMPARE(f.frame->StatusText(kPanePng), QStringLiteral(" D"));
        QCOMPARE(f.frame->FormList()->ItemCount(), 3);
        QCOMPARE(f.frame->CurrentPageIndex(), 0);
        QCOMPARE(f.frame->FormGraph()->ShownPageIndex(), 0);

        f.frame->Document().SetModified();
        QCOMPARE(f.frame->windowTitle(), QStringLiteral("OrinEditHTML - news.bjpx*"));
        f.Trigger(cmd::kFileSave);
        QCOMPARE(f.frame->windowTitle(), QStringLiteral("OrinEditHTML - news.bjpx"));

        f.frame->Document().SetModified();
        f.prompt.fileNames = {f.Path(QStringLiteral("copy.bjpx"))};
        f.Trigger(cmd::kPortableSave);
        QCOMPARE(f.frame->windowTitle(), QStringLiteral("OrinEditHTML - news.bjpx*"));
        QVERIFY(QFile::exists(f.Path(QStringLiteral("copy.bjpx"))));

        f.prompt.fileNames = {f.Path(QStringLiteral("other.bjp"))};
        f.Trigger(cmd::kFileSaveAs);
        QCOMPARE(f.frame->windowTitle(), QStringLiteral("OrinEditHTML - other.bjp"));
        QCOMPARE(f.prompt.unexpected, 0);
        QVERIFY(f.prompt.Messages().isEmpty());
    }

    // With the real message box: Enter at "ファイルを破棄しますか？" answers No, so the window and
    // the changes stay.
    void enterAtTheDiscardQuestionKeepsTheChanges()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.bjpx"));
        QVERIFY(test::WriteProject(path, 1));
        CQtPrompt prompt;
        CMainFrame frame(test::TestFrameSetup(dir.path(), &prompt));
        prompt.SetParent(&frame);
        frame.show();
        frame.OpenStartFile(path);
        frame.Document().SetModified();

        QString asked;
        QTimer answer;
        connect(&answer, &QTimer::timeout, &answer, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            answer.stop();
            asked = box->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        answer.start(10);
        QVERIFY(!frame.close());
        QCOMPARE(asked, QStringLiteral("ファイルを破棄しますか？"));
        QVERIFY(frame.isVisible());
        QVERIFY(frame.Document().IsModified());
    }

    void closeWithNoKeepsWindowAndSettingsFile()
    {
        FrameFixture f;
        f.WriteSettings("[Config]\nw_left=10\n");
        const QByteArray before = test::ReadBytes(f.SettingsFile());
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("a.bjpx")), 1));
        f.Make();
        f.frame->show();
        f.frame->OpenStartFile(f.Path(QStringLiteral("a.bjpx")));
        f.frame->Document().SetModified();
        f.prompt.answers = {PromptAnswer::No};
        QVERIFY(!f.frame->close());
        QVERIFY(f.frame->isVisible());
        QCOMPARE(f.prompt.Messages(), QStringList({QStringLiteral("ファイルを破棄しますか？")}));
        QCOMPARE(test::ReadBytes(f.SettingsFile()), before);
        QVERIFY(f.frame->Library());

        f.prompt.answers = {PromptAnswer::Yes};
        QVERIFY(f.frame->close());
        QVERIFY(!f.frame->isVisible());
        QVERIFY(test::ReadBytes(f.SettingsFile()) != before);
        QVERIFY(!f.frame->Library());
        // Closing never saves the project.
        QVERIFY(!QFile::exists(f.Path(QStringLiteral("a.bjpx.bak"))));
    }

    void closeWritesLayoutCountersAndRecentFiles()
    {
        FrameFixture f;
        f.WriteSettings("[Config]\nVersion=3\nVersionUpdate=4\ndata_event_id=5\n"
                        "VersionEvent=6\nbBoxDraw=1\n");
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("a.bjpx")), 1));
        f.Make();
        CLibBMLTS *library = f.frame->Library();
        QCOMPARE(int(library->m_version), 3);
        QCOMPARE(int(library->m_versionUpdate), 4);
        QCOMPARE(int(library->m_dataEventId), 5);
        QCOMPARE(int(library->m_versionEvent), 6);
        f.frame->show();
        f.frame->resize(1000, 650);
        f.frame->OpenStartFile(f.Path(QStringLiteral("a.bjpx")));
        f.Trigger(cmd::kBoxDraw);
        QVERIFY(f.frame->close());
        QVERIFY(f.prompt.records.isEmpty()); // not modified: no question

        CIniStore store(f.SettingsFile());
        const QString config = QStringLiteral("Config");
        QCOMPARE(store.GetInt(config, QStringLiteral("w_width"), 0), 1000);
        QCOMPARE(store.GetInt(config, QStringLiteral("w_height"), 0), 650);
        QCOMPARE(store.GetInt(config, QStringLiteral("data_event_id"), 0), 5);
        QCOMPARE(store.GetInt(config, QStringLiteral("VersionEvent"), 0), 6);
        QCOMPARE(store.GetInt(config, QStringLiteral("bBoxDraw"), 1), 0);
        QCOMPARE(store.GetString(config, QStringLiteral("DefaultFileDir")), f.dir.path() + u'/');
        CRecentFiles recent;
        recent.Load(store, CPathStore(PathStoreFilePath(f.SettingsFile())));
        QCOMPARE(recent.Entries(), QStringList({f.Path(QStringLiteral("a.bjpx"))}));
    }

    void pathsWithAnyCharacterSurviveARestart()
    {
        FrameFixture f;
        const QString folder = f.Path(QStringLiteral("café"));
        QVERIFY(QDir().mkpath(folder));
        const QString project = folder + QStringLiteral("/Ærø.bjpx");
        QVERIFY(test::WriteProject(project, 1));
        f.Make();
        f.frame->OpenStartFile(project);
        QVERIFY(f.frame->close());
        f.frame.reset();

        f.Make();
        QCOMPARE(f.frame->RecentFiles().Entries(), QStringList({project}));
        QCOMPARE(f.frame->Document().ProjectFolder(), folder + u'/');
        f.frame->OnRecentFile(0);
        QCOMPARE(f.frame->Document().CurrentPath(), project);
        QVERIFY(f.prompt.Messages().isEmpty());
    }

    void recentFilesMenu()
    {
        FrameFixture f;
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("a.bjpx")), 1));
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("b&c.bjpx")), 2));
        f.Make();
        QCOMPARE(f.frame->RecentFileActions().size(), 1);
        QVERIFY(!f.frame->RecentFileActions().first()->isEnabled());

        f.frame->OpenStartFile(f.Path(QStringLiteral("a.bjpx")));
        f.frame->OpenStartFile(f.Path(QStringLiteral("b&c.bjpx")));
        QList<QAction *> entries = f.frame->RecentFileActions();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0)->text(), QStringLiteral("&1 ") + f.Path(QStringLiteral("b&&c.bjpx")));
        QCOMPARE(entries.at(0)->data().toInt(), 57616);
        QCOMPARE(entries.at(1)->data().toInt(), 57617);
        QCOMPARE(f.frame->Action(57617), entries.at(1));

        entries.at(1)->trigger();
        QCOMPARE(f.frame->Document().CurrentPath(), f.Path(QStringLiteral("a.bjpx")));
        QCOMPARE(f.frame->CurrentPageIndex(), 0);
        QVERIFY(f.frame->close());

        // The next start finds the list in the path file beside the settings file.
        FrameFixture g;
        QFile::copy(PathStoreFilePath(f.SettingsFile()), PathStoreFilePath(g.SettingsFile()));
        g.Make();
        entries = g.frame->RecentFileActions();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0)->text(), QStringLiteral("&1 ") + f.Path(QStringLiteral("a.bjpx")));
    }

    void recentEntriesDoNothingInTheServerMode()
    {
        FrameFixture f;
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("a.bjpx")), 1));
        f.WriteSettings("[Config]\nModeAccess=2\n[Recent File List]\nFile1=" +
                        f.Path(QStringLiteral("a.bjpx")).toUtf8() + "\n");
        f.Make();
        f.frame->RecentFileActions().first()->trigger();
        QCOMPARE(f.frame->Document().CurrentPath(), QString());
        QCOMPARE(f.frame->FormList()->ItemCount(), 0);
    }

    void droppedProjectFiles()
    {
        FrameFixture f;
        QStringList paths;
        for (int i = 1; i <= 3; ++i) {
            paths.append(f.Path(QStringLiteral("p%1.bjpx").arg(i)));
            QVERIFY(test::WriteProject(paths.last(), i + 1));
        }
        f.Make();
        f.frame->show();
        QVERIFY(f.frame->acceptDrops());

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(paths.at(0)), QUrl::fromLocalFile(paths.at(1)),
                      QUrl::fromLocalFile(paths.at(2))});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(f.frame.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.frame.get(), &drop);

        QCOMPARE(f.frame->Document().CurrentPath(), paths.at(0));
        QCOMPARE(f.frame->FormList()->ItemCount(), 2);
        QCOMPARE(f.frame->CurrentPageIndex(), 0);
        QCOMPARE(f.frame->RecentFileActions().size(), 1);
    }

    // A drop of a file that holds no project leaves the frame as it was; a damaged one shows
    // what could be read, with the warning and a title without a file name.
    void droppedFilesThatHoldNoProject()
    {
        FrameFixture f;
        const QString good = f.Path(QStringLiteral("good.bjpx"));
        QVERIFY(test::WriteProject(good, 3));
        const QString empty = f.Path(QStringLiteral("empty.bjpx"));
        QVERIFY(test::WriteBytes(empty, QByteArray()));
        const QString text = DecodeUnicodeTextFile(test::ReadBytes(good));
        const QString cut = f.Path(QStringLiteral("cut.bjpx"));
        QVERIFY(test::WriteBytes(cut, EncodeUnicodeTextFile(text.left(text.indexOf(QStringLiteral("</BMLJPEG>")) + 12))));
        f.Make();
        f.frame->show();
        f.frame->OpenStartFile(good);
        const QString title = f.frame->windowTitle();
        auto drop = [&](const QString &path) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(f.frame.get(), &enter);
            QDropEvent event(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(f.frame.get(), &event);
        };

        drop(empty);
        QCOMPARE(f.prompt.Messages().size(), 1);
        QCOMPARE(f.prompt.Messages().last(),
                 OpenFailedText(empty, QString::fromUtf16(kOpenFailedNoProject)));
        QVERIFY(f.prompt.Messages().last().startsWith(QStringLiteral("ファイルがオープンできません\n")));
        QVERIFY(f.prompt.Messages().last().contains(empty));
        QCOMPARE(f.frame->Document().CurrentPath(), good);
        QCOMPARE(f.frame->FormList()->ItemCount(), 3);
        QCOMPARE(f.frame->windowTitle(), title);
        QCOMPARE(f.frame->RecentFileActions().size(), 1);

        drop(cut);
        QCOMPARE(f.prompt.Messages().size(), 2);
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("警告"));
        QCOMPARE(f.frame->Document().CurrentPath(), QString());
        QCOMPARE(f.frame->FormList()->ItemCount(), 1);
        QCOMPARE(f.frame->CurrentPageIndex(), 0);
        QVERIFY(!f.frame->windowTitle().contains(QStringLiteral("cut.bjpx")));
        QCOMPARE(f.frame->RecentFileActions().size(), 1);
    }

    void timers()
    {
        FrameFixture f;
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("a.bjpx")), 1));
        f.Make();
        f.frame->show();
        f.frame->StartCommandLineTimers(true, true);
        QVERIFY(f.frame->IsTimerActive(cmd::kAutoSendTimer));
        QVERIFY(f.frame->IsTimerActive(cmd::kAutoExitTimer));

        // 300: the transmission command, which this edition refuses.
        f.frame->SetTransmissionStatus(QStringLiteral("old"));
        f.frame->OnTimer(cmd::kAutoSendTimer);
        QVERIFY(!f.frame->IsTimerActive(cmd::kAutoSendTimer));
        QCOMPARE(f.prompt.Messages(), QStringList({QStringLiteral("本アプリケーションはデータを伝送できません")}));
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("ERROR"));
        QCOMPARE(f.frame->StatusText(kPaneTransmit), QString());

        // 500: the normal close path, with its question when modified.
        f.frame->OpenStartFile(f.Path(QStringLiteral("a.bjpx")));
        f.frame->Document().SetModified();
        f.prompt.Clear();
        f.prompt.answers = {PromptAnswer::No};
        f.frame->OnTimer(cmd::kAutoExitTimer);
        QVERIFY(!f.frame->IsTimerActive(cmd::kAutoExitTimer));
        QVERIFY(f.frame->isVisible());
        QCOMPARE(f.prompt.Messages(), QStringList({QStringLiteral("ファイルを破棄しますか？")}));
        QVERIFY(!QFile::exists(f.SettingsFile()));

        // A box still open when the window closes goes with it.
        auto *box = new QDialog(f.frame.get());
        box->open();
        f.prompt.answers = {PromptAnswer::Yes};
        f.frame->OnTimer(cmd::kAutoExitTimer);
        QVERIFY(!f.frame->isVisible());
        QVERIFY(!box->isVisible());
        QCOMPARE(box->result(), int(QDialog::Rejected));
        QVERIFY(QFile::exists(f.SettingsFile()));
    }

    void transmissionRefusedByEdition_data()
    {
        QTest::addColumn<int>("edition");
        QTest::addColumn<bool>("refused");
        QTest::newRow("editing only") << 0 << true;
        QTest::newRow("HTML") << 4 << true;
        QTest::newRow("web") << 2 << false;
    }

    void transmissionRefusedByEdition()
    {
        QFETCH(int, edition);
        QFETCH(bool, refused);
        FrameFixture f;
        f.Make(edition);
        f.Trigger(cmd::kTransmit);
        QCOMPARE(f.prompt.Messages().contains(QStringLiteral("本アプリケーションはデータを伝送できません")),
                 refused);
    }

    void designModeToggle()
    {
        FrameFixture f;
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("a.bjpx")), 2));
        f.Make();
        QAction *toggle = f.frame->Action(cmd::kDesignMode);
        QVERIFY(toggle->isCheckable());

        // No page shown: nothing happens.
        toggle->trigger();
        QVERIFY(!f.frame->IsDesignMode());
        QVERIFY(!toggle->isChecked());

        f.prompt.fileNames = {f.Path(QStringLiteral("a.bjpx"))};
        f.Trigger(cmd::kFileOpen);
        toggle->trigger();
        QVERIFY(f.frame->IsDesignMode());
        QVERIFY(toggle->isChecked());
        QVERIFY(!f.frame->acceptDrops());
        QVERIFY(f.frame->FormGraph()->DesignView()->acceptDrops());
        QCOMPARE(f.frame->FormGraph()->ShownPageIndex(), 0);

        // Opening a project goes back to the preview of its first page.
        f.frame->OpenStartFile(f.Path(QStringLiteral("a.bjpx")));
        QVERIFY(!f.frame->IsDesignMode());
        QVERIFY(!toggle->isChecked());
        QVERIFY(f.frame->acceptDrops());
        QCOMPARE(f.frame->CurrentPageIndex(), 0);
    }

    void viewFlagToggles()
    {
        FrameFixture f;
        f.WriteSettings("[Config]\nbBoxDraw=1\nbLabelDraw=0\nModeAccess=2\n");
        f.Make();
        QVERIFY(f.frame->Action(cmd::kBoxDraw)->isChecked());
        QVERIFY(!f.frame->Action(cmd::kLabelDraw)->isChecked());
        f.Trigger(cmd::kBoxDraw);
        f.Trigger(cmd::kLabelDraw);
        f.Trigger(cmd::kChangeDraw);
        QCOMPARE(f.frame->Settings().bBoxDraw, 0);
        QCOMPARE(f.frame->Settings().bLabelDraw, 1);
        QCOMPARE(f.frame->Settings().bChangeDraw, 1);
        QVERIFY(!f.frame->Action(cmd::kBoxDraw)->isChecked());
        QVERIFY(f.frame->Action(cmd::kLabelDraw)->isChecked());
        QCOMPARE(f.frame->FormGraph()->Flags().bBoxDraw, 0);
        QCOMPARE(f.frame->FormGraph()->Flags().bChangeDraw, 1);

        f.frame->show();
        f.Trigger(cmd::kStatusBar);
        QVERIFY(!f.frame->statusBar()->isVisible());
        f.Trigger(cmd::kStatusBar);
        QVERIFY(f.frame->statusBar()->isVisible());
    }

    void channelChoiceIsPosted()
    {
        FrameFixture f;
        f.Make();
        QComboBox *box = f.frame->ChannelBox();
        emit box->activated(2);
        // The command is posted: it arrives after the current one has returned.
        QCOMPARE(f.frame->Document().Settings().TransChannel, 1);
        QCoreApplication::processEvents();
        QCOMPARE(f.frame->Document().Settings().TransChannel, 3);
    }

    void startFileExtensions()
    {
        FrameFixture f;
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("UP.BJPX")), 2));
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("x.bjpx")), 1));
        QFile::copy(f.Path(QStringLiteral("x.bjpx")), f.Path(QStringLiteral("x.txt")));
        f.Make();
        f.frame->OpenStartFile(f.Path(QStringLiteral("x.txt")));
        QCOMPARE(f.frame->Document().CurrentPath(), QString());
        f.frame->OpenStartFile(f.Path(QStringLiteral("UP.BJPX")));
        QCOMPARE(f.frame->Document().CurrentPath(), f.Path(QStringLiteral("UP.BJPX")));
        QCOMPARE(f.frame->FormList()->ItemCount(), 2);
        QCOMPARE(f.frame->CurrentPageIndex(), 0);
        QVERIFY(f.prompt.records.isEmpty());
    }

    // Every way of opening a project shows its first page, with that row selected in the list
    // so that the list's page commands act on it; whatever was shown or selected before goes.
    void everyOpenShowsTheFirstPageWithItsRowSelected_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"File > Open", "command line", "recent file", "drop"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void everyOpenShowsTheFirstPageWithItsRowSelected()
    {
        QFETCH(QString, how);
        FrameFixture f;
        const QString a = f.Path(QStringLiteral("a.bjpx"));
        const QString b = f.Path(QStringLiteral("b.bjpx"));
        QVERIFY(test::WriteProject(a, 3));
        QVERIFY(test::WriteProject(b, 4));
        f.Make();
        f.frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.frame.get()));
        f.frame->OpenStartFile(a);
        f.frame->OpenStartFile(b);
        f.frame->FormList()->SelectRow(3);
        f.frame->ShowPageAt(3);

        if (how == u"File > Open") {
            f.prompt.fileNames = {a};
            f.Trigger(cmd::kFileOpen);
        } else if (how == u"command line") {
            f.frame->OpenStartFile(a);
        } else if (how == u"recent file") {
            f.frame->RecentFileActions().at(1)->trigger();
        } else {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(a)});
            QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QCoreApplication::sendEvent(f.frame.get(), &enter);
            QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
            QCoreApplication::sendEvent(f.frame.get(), &drop);
        }
        QCOMPARE(f.frame->Document().CurrentPath(), a);
        QCOMPARE(f.frame->CurrentPageIndex(), 0);
        QCOMPARE(f.frame->FormGraph()->ShownPageIndex(), 0);
        QCOMPARE(f.frame->FormList()->SelectedRow(), 0);
        QCOMPARE(f.frame->FormList()->ListView()->currentIndex().row(), 0);

        // The list's page commands act on the shown page.
        f.prompt.answers = {PromptAnswer::Yes};
        f.frame->FormList()->RunCommand(listcmd::kDeletePage);
        QCOMPARE(f.frame->Model().pages.Count(), 2);
        QCOMPARE(f.frame->Model().pages.At(0)->id, 2);
        QCOMPARE(f.prompt.unexpected, 0);
    }

    // The association asks nothing; the status bar says where it went, or that it failed.
    void fileAssociationCommand()
    {
        FrameFixture f;
        f.Make();
        f.Trigger(cmd::kFileAssociation);
        const QString entry = f.Path(QStringLiteral("share/applications/orinedit.desktop"));
        QVERIFY(QFile::exists(entry));
        QVERIFY(QFile::exists(f.Path(QStringLiteral("share/mime/packages/orinedit-bjpx.xml"))));
        QCOMPARE(f.toolCalls, QStringList({QStringLiteral("update-mime-database"), QStringLiteral("update-desktop-database"),
                                           QStringLiteral("xdg-mime")}));
        QVERIFY(f.prompt.records.isEmpty());
        QCOMPARE(f.frame->StatusText(kPanePrompt),
                 QStringLiteral(".bjpx・.bjp ファイルをこのプログラムに関連付けました（%1）").arg(entry));

        // A data folder that cannot be made: a file stands where it should be.
        QVERIFY(QFile::remove(entry));
        QVERIFY(QDir(f.Path(QStringLiteral("share/applications"))).removeRecursively());
        QVERIFY(test::WriteBytes(f.Path(QStringLiteral("share/applications")), "in the way"));
        f.toolCalls.clear();
        f.Trigger(cmd::kFileAssociation);
        QVERIFY(f.toolCalls.isEmpty());
        QVERIFY(f.prompt.records.isEmpty());
        QCOMPARE(f.frame->StatusText(kPanePrompt),
                 QStringLiteral("拡張子関連付けができません：%1 に書き込めません")
                     .arg(f.Path(QStringLiteral("share"))));
    }

    void workFoldersAreMade()
    {
        FrameFixture f;
        f.Make();
        QVERIFY(f.frame->Folders().work.startsWith(f.dir.path() + QStringLiteral("/temp/")));
        QVERIFY(QFileInfo(f.frame->Folders().work).isDir());
        QVERIFY(QFileInfo(f.frame->Folders().convert).isDir());

        // The run's work folder goes with the program; the conversion folder stays.
        const WorkFolders folders = f.frame->Folders();
        QVERIFY(test::WriteBytes(folders.work + QStringLiteral("shown.jpg"), "jpeg"));
        f.frame.reset();
        QVERIFY(!QFileInfo::exists(folders.work));
        QVERIFY(QFileInfo(folders.convert).isDir());
    }

    void helpWithoutABrowser()
    {
        FrameFixture f;
        QVERIFY(QDir().mkpath(f.Path(QStringLiteral("docs"))));
        QVERIFY(QFile::copy(HelpDocumentPath(test::BinDir()),
                            f.Path(QStringLiteral("docs/help.html"))));
        f.Make();
        f.frame->show();
        f.Trigger(cmd::kHelp);
        // The guide's own window, whatever the desktop's handler would say.
        auto *window = f.frame->findChild<QWidget *>(QStringLiteral("helpWindow"),
                                                     Qt::FindDirectChildrenOnly);
        QVERIFY(window);
        QVERIFY(window->isVisible());
        auto *text = window->findChild<QTextBrowser *>();
        QVERIFY(text);
        QVERIFY(text->toPlainText().contains(QStringLiteral("ポータブル保存")));
    }

    // Help > Open Sample opens the sample that came with the program, from under the prefix it
    // was installed into; without one the entry is greyed.
    void openSampleFromTheInstalledPrefix()
    {
        FrameFixture f;
        f.Make();
        QVERIFY(!f.frame->Action(cmd::kOpenSample)->isEnabled());

        FrameFixture installed;
        const QString prefix = installed.Path(QStringLiteral("usr/"));
        const QString sample = prefix + QStringLiteral("share/orinedit/examples/sample.bjpx");
        QVERIFY(QDir().mkpath(QFileInfo(sample).path()));
        QVERIFY(test::WriteProject(sample, 2));
        FrameSetup setup = test::TestFrameSetup(prefix + QStringLiteral("bin"), &installed.prompt);
        QVERIFY(QDir().mkpath(setup.appFolder));
        installed.frame = std::make_unique<CMainFrame>(setup);
        QAction *open = installed.frame->Action(cmd::kOpenSample);
        QVERIFY(open->isEnabled());
        open->trigger();
        QCOMPARE(installed.frame->Document().CurrentPath(), sample);
        QCOMPARE(installed.frame->FormList()->ItemCount(), 2);
        QCOMPARE(installed.frame->FormGraph()->ShownPageIndex(), 0);
    }
};

ORIN_TEST_CLASS(TestMainFrame)
#include "tst_main_frame.moc"
