// SPDX-License-Identifier: MIT
// The navigation map and action trace docks in the main window, on the faulty example.

#include "app/main_frame.h"
#include "frame_setup.h"
#include "editor/form_graph.h"
#include "editor/graph_view.h"
#include "editor/navigation_map.h"
#include "editor/trace_panel.h"

#include "cli_runner.h"
#include "prompt_fixtures.h"
#include "test_registry.h"

#include <QAction>
#include <QDockWidget>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
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
};

ORIN_TEST_CLASS(TestNavigationDocks)
#include "tst_navigation_docks.moc"
