// SPDX-License-Identifier: MIT
// The navigation map and action trace docks in the main window, on the faulty example.

#include "app/design_view_menu.h"
#include "app/main_frame.h"
#include "document/document.h"
#include "document/undo_commands.h"
#include "frame_setup.h"
#include "editor/design_commands.h"
#include "editor/form_graph.h"
#include "editor/graph_traker.h"
#include "editor/graph_view.h"
#include "editor/navigation_map.h"
#include "editor/trace_panel.h"

#include "cli_runner.h"
#include "prompt_fixtures.h"
#include "test_registry.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtTest>

using namespace orin;
using namespace Qt::StringLiterals;

namespace {

QAction *ViewAction(CMainFrame &frame, const QString &text)
{
    for (QAction *menu : frame.menuBar()->actions()) {
        if (menu->text() != u"表示(&V)")
            continue;
        for (QAction *action : menu->menu()->actions()) {
            if (action->text() == text)
                return action;
        }
    }
    return nullptr;
}

// The sample with one text that does not fit: the news page's back button (item 1, the second
// slot) says far more than its 240 units hold.
QString WriteOverflowingSample(const QTemporaryDir &dir)
{
    const QString sample = test::CopySample(dir);
    QFile in(sample);
    if (!in.open(QIODevice::ReadOnly))
        return QString();
    QString text = QStringDecoder(QStringDecoder::Utf16)(in.readAll());
    text.replace(u">戻る<"_s, u">トップメニューへ戻ります<"_s);
    const QString path = dir.filePath(u"overflow.bjpx"_s);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return QString();
    out.write(QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)(text));
    return path;
}

} // namespace

class TestNavigationDocks : public QObject {
    Q_OBJECT

private slots:
    void docksFollowTheViewMenuAndGoToFindings()
    {
        QTemporaryDir dir;
        test::CopySample(dir);
        const QString broken = dir.filePath(u"broken.bjpx"_s);
        QVERIFY(QFile::copy(test::SourceDir() + u"/examples/broken.bjpx"_s, broken));
        test::CScriptedPrompt prompt;
        FrameSetup setup = test::TestFrameSetup(dir.path(), &prompt, 12);
        auto frame = std::make_unique<CMainFrame>(setup);
        frame->show();
        frame->OpenStartFile(broken);
        CGraphView *canvas = frame->FormGraph()->GraphView();

        auto *mapDock = frame->findChild<QDockWidget *>(u"NavigationMapDock"_s);
        auto *traceDock = frame->findChild<QDockWidget *>(u"ActionTraceDock"_s);
        QVERIFY(mapDock && traceDock);
        QVERIFY(!mapDock->isVisible());
        QAction *mapToggle = ViewAction(*frame, u"ナビゲーションマップ"_s);
        QAction *traceToggle = ViewAction(*frame, u"アクショントレース"_s);
        QVERIFY(mapToggle && traceToggle);

        mapToggle->trigger();
        QTRY_VERIFY(mapDock->isVisible());
        auto *map = qobject_cast<CNavigationMap *>(mapDock->widget());
        QVERIFY(map);
        QListWidget *list = map->FindingsList();
        QTRY_VERIFY(!map->LayoutPending());
        QCOMPARE(list->count(), 4);
        QCOMPARE(map->Analysis().BrokenCount(), 2);
        // The dead end of the weather page: its page is shown, its item takes the focus.
        int row = -1;
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->text().contains(u"矢印キー"_s))
                row = i;
        }
        QVERIFY(row >= 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
        QCOMPARE(canvas->Engine().ShownPageNumber(), 3);
        QCOMPARE(canvas->Engine().FocusItem(), 2);
        QTRY_COMPARE(map->FocusView()->FocusItem(), 2);

        QCOMPARE(canvas->Engine().TraceObserver(), nullptr);
        traceToggle->trigger();
        QTRY_VERIFY(traceDock->isVisible());
        QVERIFY(canvas->Engine().TraceObserver() != nullptr);
        canvas->Engine().PressKey(kKeyLeft);
        auto *trace = qobject_cast<CTracePanel *>(traceDock->widget());
        QVERIFY(trace && trace->Lines().contains(u"キー ←"_s));
        traceToggle->trigger();
        QTRY_VERIFY(!traceDock->isVisible());
        QCOMPARE(canvas->Engine().TraceObserver(), nullptr);
        QVERIFY(frame->close());
    }

    void layoutFindingShowsTheItemOnTheDesignSurface()
    {
        QTemporaryDir dir;
        const QString project = WriteOverflowingSample(dir);
        QVERIFY(!project.isEmpty());
        test::CScriptedPrompt prompt;
        FrameSetup setup = test::TestFrameSetup(dir.path(), &prompt, 13);
        auto frame = std::make_unique<CMainFrame>(setup);
        frame->show();
        frame->OpenStartFile(project);
        auto *mapDock = frame->findChild<QDockWidget *>(u"NavigationMapDock"_s);
        ViewAction(*frame, u"ナビゲーションマップ"_s)->trigger();
        QTRY_VERIFY(mapDock->isVisible());
        auto *map = qobject_cast<CNavigationMap *>(mapDock->widget());
        QListWidget *list = map->FindingsList();
        // The layout is checked on the event loop: its findings come when the pass is done.
        auto *title = map->findChild<QLabel *>();
        QVERIFY(map->LayoutPending());
        QVERIFY(title && title->text().endsWith(u"レイアウトを確認中…"_s));
        QCOMPARE(list->count(), 0);
        QTRY_VERIFY(!map->LayoutPending());
        QCOMPARE(title->text(), u"問題: 参照切れ 0、警告 1"_s);
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), u"ページ 2 のアイテム 1 の文字が枠に収まりません"_s);
        QVERIFY(!frame->IsDesignMode());

        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QVERIFY(frame->IsDesignMode());
        QCOMPARE(frame->CurrentPageIndex(), 1);
        CDesignCommands *design = frame->FormGraph()->Design();
        QVERIFY(design);
        QCOMPARE(design->SelectedItem(), 1);
        // The title-safe guide: 5 % of the page on every side.
        CGraphTraker *surface = frame->FormGraph()->DesignSurface();
        QCOMPARE(surface->TitleSafeGuide(), QRectF(48, 27, 864, 486));

        // The older 10 % margin: the guide follows, and so does the list, where the texts
        // nearer the edges now reach outside the title-safe area.
        auto *designMenu = frame->findChild<CDesignViewMenu *>();
        QVERIFY(designMenu && designMenu->SafeMarginAction(10));
        designMenu->SafeMarginAction(10)->trigger();
        QCOMPARE(surface->TitleSafeGuide(), QRectF(96, 54, 768, 432));
        QTRY_VERIFY(!map->LayoutPending());
        QCOMPARE(list->count(), 7);
        designMenu->SafeGuidesAction()->trigger();
        QVERIFY(surface->TitleSafeGuide().isEmpty());
        QVERIFY(frame->close());
    }

    // The overflowing page is removed after the pass has checked it: the pass starts again and
    // lists nothing of it; a burst of edits gives one pass; a finding that names a page or an
    // item no longer there leads nowhere.
    void anEditDuringThePassGivesTheEditedModelsFindings()
    {
        QTemporaryDir dir;
        const QString project = WriteOverflowingSample(dir);
        QVERIFY(!project.isEmpty());
        test::CScriptedPrompt prompt;
        FrameSetup setup = test::TestFrameSetup(dir.path(), &prompt, 14);
        auto frame = std::make_unique<CMainFrame>(setup);
        frame->show();
        frame->OpenStartFile(project);
        auto *mapDock = frame->findChild<QDockWidget *>(u"NavigationMapDock"_s);
        auto *map = qobject_cast<CNavigationMap *>(mapDock->widget());
        QVERIFY(map);
        // One page a slice, and no pause before a pass.
        map->SetLayoutTiming(0, 0);
        CDocument &document = frame->Document();
        CContentModel &model = frame->Model();
        QCOMPARE(model.pages.At(1)->id, 2);
        bool removed = false;
        QVector<int> progress;
        auto once = connect(map, &CNavigationMap::LayoutProgress, this, [&](int checked, int pages) {
            progress << checked;
            if (checked == 2 && !removed) {
                removed = true;
                QCOMPARE(pages, 4);
                document.Push(new CRemovePageCommand(document, model, 1));
            }
        });
        QSignalSpy ready(map, &CNavigationMap::LayoutFindingsReady);
        ViewAction(*frame, u"ナビゲーションマップ"_s)->trigger();
        QTRY_VERIFY(mapDock->isVisible());
        QTRY_COMPARE(ready.count(), 1);
        disconnect(once);
        QVERIFY(removed);
        // The first pass stopped after its second page; the second checked the three left.
        QCOMPARE(progress, (QVector<int>{1, 2, 1, 2, 3, 3}));
        QVERIFY(map->LayoutFindings().empty());
        // The navigation's findings: the references to the removed page are broken.
        QVERIFY(map->Analysis().BrokenCount() > 0);
        QCOMPARE(map->FindingsList()->count(), int(map->Analysis().findings.size()));

        // Undo, redo and undo again before the loop runs: one pass, of the page put back.
        document.UndoStack().undo();
        document.UndoStack().redo();
        document.UndoStack().undo();
        QVERIFY(map->LayoutPending());
        QTRY_COMPARE(ready.count(), 2);
        QTest::qWait(50);
        QCOMPARE(ready.count(), 2);
        QCOMPARE(int(map->LayoutFindings().size()), 1);
        QCOMPARE(map->LayoutFindings().front().pageId, 2);

        // A page that is gone: nothing moves. An item that is gone: the page, nothing selected.
        const int shown = frame->CurrentPageIndex();
        emit map->LayoutFindingActivated(99, 1);
        QCOMPARE(frame->CurrentPageIndex(), shown);
        QVERIFY(!frame->IsDesignMode());
        emit map->LayoutFindingActivated(2, 99);
        QCOMPARE(frame->CurrentPageIndex(), 1);
        QVERIFY(frame->IsDesignMode());
        QCOMPARE(frame->FormGraph()->Design()->SelectedItem(), -1);

        // Hidden, the map checks nothing; shown again, it checks the model as it is.
        mapDock->hide();
        QVERIFY(map->LayoutFindings().empty());
        document.Push(new CRemovePageCommand(document, model, 1));
        QTest::qWait(50);
        QCOMPARE(ready.count(), 2);
        mapDock->show();
        QTRY_COMPARE(ready.count(), 3);
        QVERIFY(map->LayoutFindings().empty());
        prompt.answers << PromptAnswer::Yes; // the edits are given up
        QVERIFY(frame->close());
    }
};

ORIN_TEST_CLASS(TestNavigationDocks)
#include "tst_navigation_docks.moc"
