// SPDX-License-Identifier: MIT
// The frame and the edit operations: the Edit menu's undo and redo with the text of what they
// take back, the current page that follows its record, the list that follows the page table.

#include "prompt_fixtures.h"
#include "test_registry.h"

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "frame_setup.h"
#include "document/document.h"
#include "document/document_edits.h"
#include "editor/form_graph.h"
#include "editor/form_list.h"

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

struct Fixture {
    QTemporaryDir dir;
    CScriptedPrompt prompt;
    std::unique_ptr<CMainFrame> frame;

    Fixture()
    {
        FrameSetup setup = test::TestFrameSetup(dir.path(), &prompt);
        frame = std::make_unique<CMainFrame>(setup);
    }
    void Open(int pages)
    {
        const QString path = dir.filePath(QStringLiteral("news.bjpx"));
        QVERIFY(WriteProject(path, pages));
        prompt.fileNames = {path};
        frame->Action(cmd::kFileOpen)->trigger();
    }
    QAction *Undo() const { return frame->Action(cmd::kEditUndo); }
    QAction *Redo() const { return frame->Action(cmd::kEditRedo); }
};

} // namespace

class FrameEditsTest : public QObject {
    Q_OBJECT

private slots:
    void editMenuUndoesAndRedoesWithTheirTexts()
    {
        Fixture f;
        QVERIFY(f.Redo());
        QCOMPARE(f.Redo()->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
        QCOMPARE(f.Undo()->shortcuts().value(0), QKeySequence(Qt::CTRL | Qt::Key_Z));
        f.Open(3);
        QVERIFY(!f.Undo()->isEnabled());
        QVERIFY(!f.Redo()->isEnabled());
        QCOMPARE(f.Undo()->text(), QStringLiteral("元に戻す(&U)"));

        QVERIFY(f.frame->Edits().SetPageComment(1, QStringLiteral("新")));
        QVERIFY(f.Undo()->isEnabled());
        QCOMPARE(f.Undo()->text(), QStringLiteral("元に戻す(&U) コメント変更"));
        f.frame->Document().Save();
        QVERIFY(!f.frame->windowTitle().endsWith(u'*'));

        f.Undo()->trigger();
        QCOMPARE(f.frame->Model().pages.At(1)->comment, QStringLiteral("page 2"));
        QVERIFY(f.frame->windowTitle().endsWith(u'*'));
        QVERIFY(!f.Undo()->isEnabled());
        QCOMPARE(f.Redo()->text(), QStringLiteral("やり直し(&R) コメント変更"));
        // The undone edit's page is shown and selected again.
        QCOMPARE(f.frame->CurrentPageIndex(), 1);
        QCOMPARE(f.frame->FormList()->SelectedRow(), 1);
        f.Redo()->trigger();
        QCOMPARE(f.frame->Model().pages.At(1)->comment, QStringLiteral("新"));

        // Another content set: nothing to take back.
        f.prompt.answers = {PromptAnswer::No};
        f.Open(2);
        QVERIFY(!f.Undo()->isEnabled());
        QVERIFY(!f.Redo()->isEnabled());
    }

    void currentPageFollowsItsRecord()
    {
        Fixture f;
        f.Open(4);
        f.frame->ShowPageAt(2); // page id 3
        f.prompt.answers = {PromptAnswer::Yes};
        QVERIFY(f.frame->Edits().AskDeletePage(0));
        QCOMPARE(f.frame->FormList()->ItemCount(), 3);
        QCOMPARE(f.frame->CurrentPageIndex(), 1);
        QCOMPARE(f.frame->Model().pages.At(f.frame->CurrentPageIndex())->id, 3);
        QCOMPARE(f.frame->Edits().DropPageRow(1, 0, false), 0);
        QCOMPARE(f.frame->CurrentPageIndex(), 0);
        QCOMPARE(f.frame->FormGraph()->ShownPageIndex(), 0);
        f.prompt.answers = {PromptAnswer::Yes};
        QVERIFY(f.frame->Edits().AskDeletePage(0));
        QCOMPARE(f.frame->CurrentPageIndex(), -1);
        QCOMPARE(f.frame->FormGraph()->ShownPageIndex(), -1);
        // Undo brings the page back and shows it.
        f.Undo()->trigger();
        QCOMPARE(f.frame->CurrentPageIndex(), 0);
        QCOMPARE(f.frame->Model().pages.At(0)->id, 3);
    }
};

ORIN_TEST_CLASS(FrameEditsTest)

#include "tst_frame_edits.moc"
