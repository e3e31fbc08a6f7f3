// SPDX-License-Identifier: MIT
// The navigation map and action trace docks in the main window, on the faulty example.

#include "app/design_view_menu.h"
#include "app/main_frame.h"
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
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
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
        QCOMPARE(list->count(), 7);
        designMenu->SafeGuidesAction()->trigger();
        QVERIFY(surface->TitleSafeGuide().isEmpty());
        QVERIFY(frame->close());
    }
};

ORIN_TEST_CLASS(TestNavigationDocks)
#include "tst_navigation_docks.moc"
