// SPDX-License-Identifier: MIT
// Typing on the canvas inside the frame: the typed text is in the model before a save and
// before the list shows another page, the Edit menu acts on the text being typed, the mode
// settings reach the canvas and the list at once, and the channel list of command 5020.

#include "prompt_fixtures.h"
#include "page_fixtures.h"
#include "test_registry.h"

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "frame_setup.h"
#include "dialogs/dlg_clist.h"
#include "dialogs/dlg_gtext.h"
#include "document/document.h"
#include "document/document_edits.h"
#include "editor/form_graph.h"
#include "editor/form_list.h"
#include "editor/graph_view.h"
#include "editor/in_place_editor.h"
#include "preview/canvas_mapping.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

struct Fixture {
    QTemporaryDir dir;
    CScriptedPrompt prompt;
    std::unique_ptr<CMainFrame> frame;
    QByteArray channelList;

    Fixture()
    {
        FrameSetup setup = test::TestFrameSetup(dir.path(), &prompt);
        setup.fetchChannelList = [this] { return channelList; };
        frame = std::make_unique<CMainFrame>(setup);
        frame->show();
        frame->activateWindow();
    }
    // Two pages; item 1 of page 1 at (100, 100) shows its own text "own".
    void Open()
    {
        const QString path = dir.filePath(QStringLiteral("news.bjpx"));
        QVERIFY(WriteProject(path, 2));
        prompt.fileNames = {path};
        frame->Action(cmd::kFileOpen)->trigger();
        AddItem(*frame->Model().pages.At(0), 1, 100, 100).text = QStringLiteral("own");
        frame->ShowPageAt(0);
    }
    CGraphView *View() const { return frame->FormGraph()->GraphView(); }
    QPoint ClientOf(int x, int y) const
    {
        return CCanvasMapping(View()->size(), false).MapToClient(x, y, 0, 0).topLeft();
    }
    void StartTyping()
    {
        QTest::mouseDClick(View(), Qt::LeftButton, {}, ClientOf(110, 110));
        QVERIFY(View()->IsTypingInPlace());
        QTRY_VERIFY(View()->InPlaceEditor()->hasFocus());
    }
    QString ItemText() const { return frame->Model().pages.At(0)->items[0].text; }
};

} // namespace

class FrameTextEditTest : public QObject {
    Q_OBJECT

private slots:
    void typedTextIsCommittedBeforeSaveAndPageChange()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.frame.get()));
        f.Open();
        f.StartTyping();
        QTest::keyClicks(f.View()->InPlaceEditor(), QStringLiteral("S"));
        f.frame->Action(cmd::kFileSave)->trigger();
        QCOMPARE(f.ItemText(), QStringLiteral("ownS"));
        QVERIFY(!f.View()->IsTypingInPlace());
        // Written before the save, so the content set is saved with it.
        QVERIFY(!f.frame->Document().IsModified());

        f.StartTyping();
        QTest::keyClicks(f.View()->InPlaceEditor(), QStringLiteral("L"));
        f.frame->ShowPageAt(1);
        QCOMPARE(f.ItemText(), QStringLiteral("ownSL"));
        QCOMPARE(f.View()->Engine().ShownPageNumber(), 2);
        QCOMPARE(f.frame->Document().UndoStack().count(), 2);
        // Undo shows the page of the edit again.
        f.frame->Action(cmd::kEditUndo)->trigger();
        QCOMPARE(f.ItemText(), QStringLiteral("ownS"));
        QCOMPARE(f.frame->CurrentPageIndex(), 0);
        QCOMPARE(f.View()->Engine().Items()[0].item.text, QStringLiteral("ownS"));
    }

    void editMenuActsOnTheTextBeingTyped()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.frame.get()));
        f.Open();
        QAction *paste = f.frame->Action(cmd::kEditPaste);
        QVERIFY(!paste->isEnabled());
        f.StartTyping();
        QVERIFY(paste->isEnabled());
        QVERIFY(f.frame->Action(cmd::kEditUndo)->isEnabled());
        QGuiApplication::clipboard()->setText(QStringLiteral("貼"));
        paste->trigger();
        QCOMPARE(f.View()->InPlaceEditor()->toPlainText(), QStringLiteral("own貼"));
        f.frame->Action(cmd::kEditUndo)->trigger();
        QCOMPARE(f.View()->InPlaceEditor()->toPlainText(), QStringLiteral("own"));
        QCOMPARE(f.frame->Document().UndoStack().count(), 0);
    }

    void modeSettingsReachTheViewsAtOnce()
    {
        Fixture f;
        f.Open();
        const QPoint item = f.ClientOf(110, 110);
        QVERIFY(f.View()->MakeItemMenu(item));
        f.frame->SetModeSettings(2, 0);
        // Nothing editable in the server mode and no actions: no menu at all.
        QVERIFY(!f.View()->MakeItemMenu(item));
        QVERIFY(!f.frame->Action(cmd::kFileOpen)->isEnabled());
        std::unique_ptr<QMenu> listMenu = f.frame->FormList()->MakeContextMenu();
        QCOMPARE(listMenu->actions().size(), 1); // the short menu of ModeAction 0
        f.frame->SetModeSettings(0, 1);
        QVERIFY(f.View()->MakeItemMenu(item));
        QVERIFY(f.frame->Action(cmd::kFileOpen)->isEnabled());
        QVERIFY(f.frame->FormList()->MakeContextMenu()->actions().size() > 1);
    }

    void channelListComesFromTheServerFile()
    {
        Fixture f;
        QString document = QStringLiteral("<List><Channel type=\"0\">一</Channel>"
                                          "<Channel type=\"1\">二</Channel></List>");
        document += QString(600, u' ');
        f.channelList = QByteArray(reinterpret_cast<const char *>(document.utf16()),
                                   document.size() * 2);
        QCOMPARE(f.frame->RequestChannelList().size(), kChannelListBytes);
        QStringList shown;
        QTimer::singleShot(0, [&shown] {
            auto *dialog = qobject_cast<CDlgCList *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shown = {dialog->NameAt(0), dialog->TypeAt(0), dialog->NameAt(1), dialog->TypeAt(1)};
            dialog->accept();
        });
        f.frame->OpenChannelList(nullptr);
        QCOMPARE(shown, QStringList({QStringLiteral("一"), QStringLiteral("D"),
                                     QStringLiteral("二"), QStringLiteral("H")}));
    }

    // The text dialog ("テキスト編集") follows its page through moves of the page table and
    // closes when its page goes, shown or not: "更新" never acts on a page that is gone.
    void textDialogClosesWhenItsPageGoes()
    {
        Fixture f;
        f.Open();
        CContentModel &model = f.frame->Model();
        AddItem(*model.pages.At(1), 1, 100, 100).text = QStringLiteral("second");
        CDlgGText *dialog = f.View()->TextDialog();
        auto openDialog = [&] {
            QTest::mouseDClick(f.View(), Qt::LeftButton, Qt::ShiftModifier, f.ClientOf(110, 110));
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->windowTitle(), QStringLiteral("テキスト編集"));
        };

        // Page 1 moves below page 2: the dialog stays and writes to page 1.
        openDialog();
        dialog->SetText(QStringLiteral("typed"));
        QCOMPARE(f.frame->Edits().DropPageRow(0, 2, false), 1);
        QVERIFY(dialog->isVisible());
        dialog->UpdateButton()->click();
        QCOMPARE(model.pages.At(1)->id, 1);
        QCOMPARE(model.pages.At(1)->items[0].text, QStringLiteral("typed"));
        QCOMPARE(model.pages.At(0)->items[0].text, QStringLiteral("second"));

        // The page of the dialog is deleted while another page is shown.
        f.frame->ShowPageAt(1);
        openDialog();
        f.frame->ShowPageAt(0);
        QVERIFY(f.frame->Document().DeletePage(1));
        QVERIFY(!dialog->isVisible());

        // The page shown, with the dialog on it, is deleted.
        openDialog();
        dialog->SetText(QStringLiteral("gone"));
        QVERIFY(f.frame->Document().DeletePage(0));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(model.pages.Count(), 0);
        // Taking the deletions back brings the pages as they were, without the dialog's text.
        f.frame->OnUndo();
        f.frame->OnUndo();
        QCOMPARE(model.pages.Count(), 2);
        QCOMPARE(model.pages.At(0)->items[0].text, QStringLiteral("second"));
        QCOMPARE(model.pages.At(1)->items[0].text, QStringLiteral("typed"));
    }
};

ORIN_TEST_CLASS(FrameTextEditTest)

#include "tst_frame_text_edit.moc"
