// SPDX-License-Identifier: MIT
// Design mode in the frame: the edit/design switch shows the design surface for the current
// page, a drag shows its steps in the prompt pane, the frame's undo takes the drag back and the
// preview shows the page again after switching back.

#include "prompt_fixtures.h"
#include "page_fixtures.h"
#include "test_registry.h"

#include "app/command_ids.h"
#include "app/design_view_menu.h"
#include "app/main_frame.h"
#include "frame_setup.h"
#include "app/status_panes.h"
#include "document/document.h"
#include "document/document_edits.h"
#include "document/item_align.h"
#include "editor/design_commands.h"
#include "editor/design_mapping.h"
#include "editor/form_graph.h"
#include "editor/graph_traker.h"

#include <QAction>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <functional>

using namespace orin;
using namespace orin::test;

using PageTableChange = std::function<bool(CMainFrame &)>;
Q_DECLARE_METATYPE(PageTableChange)

class FrameDesignTest : public QObject {
    Q_OBJECT

private slots:
    void snapEntriesApplyAndAreRemembered()
    {
        QTemporaryDir dir;
        CScriptedPrompt prompt;
        FrameSetup setup = test::TestFrameSetup(dir.path(), &prompt);
        {
            CMainFrame frame(setup);
            auto *menu = frame.findChild<CDesignViewMenu *>();
            QVERIFY(menu);
            QVERIFY(!menu->SnapAction()->isChecked());
            QVERIFY(menu->GridAction(0)->isChecked());
            QVERIFY(!frame.FormGraph()->Design()->SnapEnabled());
            menu->SnapAction()->trigger();
            menu->GridAction(20)->trigger();
            QVERIFY(frame.FormGraph()->Design()->SnapEnabled());
            QCOMPARE(frame.FormGraph()->Design()->SnapGrid(), 20);
            QCOMPARE(frame.FormGraph()->DesignSurface()->SnapGrid(), 20);
            // The fit entry takes the zoom back to 100 %.
            QCOMPARE(menu->FitAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_0));
            frame.FormGraph()->Design()->ZoomBy(2, QPoint(10, 10));
            QCOMPARE(frame.FormGraph()->Design()->Zoom(), 1.5625);
            menu->FitAction()->trigger();
            QCOMPARE(frame.FormGraph()->Design()->Zoom(), 1.0);
        }
        // The next start takes them back from the settings file.
        CMainFrame again(setup);
        auto *menu = again.findChild<CDesignViewMenu *>();
        QVERIFY(menu->SnapAction()->isChecked());
        QVERIFY(menu->GridAction(20)->isChecked());
        QVERIFY(again.FormGraph()->Design()->SnapEnabled());
        QCOMPARE(again.FormGraph()->Design()->SnapGrid(), 20);
    }

    void dragInDesignModeAndBack()
    {
        QTemporaryDir dir;
        CScriptedPrompt prompt;
        FrameSetup setup = test::TestFrameSetup(dir.path(), &prompt);
        CMainFrame frame(setup);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        const QString path = dir.filePath(QStringLiteral("news.bjpx"));
        QVERIFY(WriteProject(path, 2));
        prompt.fileNames = {path};
        frame.Action(cmd::kFileOpen)->trigger();
        AddItem(*frame.Model().pages.At(1), 4, 200, 150);
        frame.ShowPageAt(1);

        frame.Action(cmd::kDesignMode)->trigger();
        QVERIFY(frame.IsDesignMode());
        CGraphTraker *surface = frame.FormGraph()->DesignSurface();
        QVERIFY(surface->isVisible());
        QCOMPARE(surface->Shapes().size(), size_t(1));
        const DesignScale scale = frame.FormGraph()->Design()->Scale();
        const QRect shape = MapToDesign(scale, 200, 150, 100, 50);
        QCOMPARE(surface->Shapes().at(0).rect, shape);

        // Grab the item in the middle of its body, where nothing but the item is, and move it
        // by 40 pixels; the prompt pane shows its position and size meanwhile.
        const QPoint grip = shape.center();
        QTest::mousePress(surface, Qt::LeftButton, {}, grip);
        QVERIFY(surface->IsDragging());
        QTest::mouseMove(surface, grip + QPoint(40, 0));
        QVERIFY2(QRegularExpression(QStringLiteral("^x:\\d+  y:\\d+  \\d+ × \\d+$"))
                     .match(frame.StatusText(kPanePrompt))
                     .hasMatch(),
                 qPrintable(frame.StatusText(kPanePrompt)));
        QTest::mouseRelease(surface, Qt::LeftButton, {}, grip + QPoint(40, 0));
        QCOMPARE(frame.StatusText(kPanePrompt), QStringLiteral("レディ"));
        const PageItem &item = frame.Model().pages.At(1)->items[0];
        // The position keeps its fraction; the other coordinate does not move.
        QVERIFY(qAbs(item.x - (200 + 40 / scale.s)) < 1e-3);
        QCOMPARE(item.y, 150.0f);
        QVERIFY(frame.Document().IsModified());

        frame.OnUndo();
        QCOMPARE(frame.Model().pages.At(1)->items[0].x, 200.0f);
        QCOMPARE(surface->Shapes().at(0).rect, shape);

        // The view menu aligns the selection; one item aligns to the page.
        auto *menu = frame.findChild<CDesignViewMenu *>();
        QCOMPARE(frame.FormGraph()->Design()->SelectedItem(), 0);
        QCOMPARE(menu->AlignAction(AlignEdge::HCentre)->text(), QStringLiteral("左右中央揃え"));
        menu->AlignAction(AlignEdge::Left)->trigger();
        QCOMPARE(frame.Model().pages.At(1)->items[0].x, 0.0f);
        QCOMPARE(frame.Document().UndoStack().undoText(), QStringLiteral("左揃え"));
        frame.OnUndo();
        QCOMPARE(frame.Model().pages.At(1)->items[0].x, 200.0f);

        // The zoom is shown in design mode, the fit as 100 %.
        QCOMPARE(frame.StatusText(kPaneZoom), QStringLiteral("100%"));
        frame.FormGraph()->Design()->ZoomBy(1, QPoint(10, 10));
        QCOMPARE(frame.StatusText(kPaneZoom), QStringLiteral("125%"));
        QTest::keyClick(surface, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(frame.StatusText(kPaneZoom), QStringLiteral("100%"));

        frame.Action(cmd::kDesignMode)->trigger();
        QVERIFY(!frame.IsDesignMode());
        QVERIFY(!surface->isVisible());
        QVERIFY(frame.FormGraph()->PreviewView()->isVisible());
        QCOMPARE(frame.StatusText(kPaneZoom), QString());
    }

    // The surface shows page 2 (row 1) when the page table changes around it: it goes on
    // showing that page, and what it edits afterwards is that page. Undo follows as well.
    void theSurfaceFollowsItsPageThroughPageTableChanges_data()
    {
        QTest::addColumn<PageTableChange>("change");
        QTest::addColumn<int>("row"); // where page 2 is afterwards
        QTest::newRow("earlier page deleted") << PageTableChange([](CMainFrame &frame) {
            return frame.Document().DeletePage(0);
        }) << 0;
        QTest::newRow("later page moved above it") << PageTableChange([](CMainFrame &frame) {
            return frame.Edits().DropPageRow(2, 0, false) == 0;
        }) << 2;
        QTest::newRow("earlier page moved below it") << PageTableChange([](CMainFrame &frame) {
            return frame.Edits().DropPageRow(0, 3, false) == 2;
        }) << 0;
        QTest::newRow("page duplicated above it") << PageTableChange([](CMainFrame &frame) {
            return frame.Edits().DropPageRow(0, 0, true) == 0;
        }) << 2;
    }
    void theSurfaceFollowsItsPageThroughPageTableChanges()
    {
        QFETCH(PageTableChange, change);
        QFETCH(int, row);
        QTemporaryDir dir;
        CScriptedPrompt prompt;
        CMainFrame frame(test::TestFrameSetup(dir.path(), &prompt));
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        const QString path = dir.filePath(QStringLiteral("news.bjpx"));
        QVERIFY(WriteProject(path, 3));
        QVERIFY(frame.Document().OpenProjectFile(path));
        CContentModel &model = frame.Model();
        for (int i = 0; i < 3; ++i)
            AddItem(*model.pages.At(i), 1, 100 * (i + 1), 100);
        frame.ShowPageAt(1);
        frame.Action(cmd::kDesignMode)->trigger();
        CDesignCommands *design = frame.FormGraph()->Design();
        CGraphTraker *surface = frame.FormGraph()->DesignSurface();
        const QRect shape = MapToDesign(design->Scale(), 200, 100, 100, 50);
        QCOMPARE(surface->Shapes().at(0).rect, shape);

        QVERIFY(change(frame));
        QCOMPARE(model.pages.At(row)->id, 2);
        QCOMPARE(design->Row(), row);
        QCOMPARE(frame.FormGraph()->ShownPageIndex(), row);
        QCOMPARE(surface->Shapes().size(), size_t(1));
        QCOMPARE(surface->Shapes().at(0).rect, shape);

        // An item made on the surface goes to page 2, and to no other page.
        QVERIFY(design->AddItem(300, 300, 50, 50, AddItemMode::PageUnits) > 0);
        for (int i = 0; i < model.pages.Count(); ++i)
            QCOMPARE(model.pages.At(i)->itemCount, i == row ? 2 : 1);
        QCOMPARE(surface->Shapes().size(), size_t(2));

        // Undoing the item and the change brings page 2 back to row 1; the surface shows the
        // page of the row it names.
        frame.OnUndo();
        frame.OnUndo();
        QCOMPARE(model.pages.At(1)->id, 2);
        QCOMPARE(model.pages.At(1)->itemCount, 1);
        const int shown = design->Row();
        QVERIFY(model.pages.IsValidIndex(shown));
        QCOMPARE(surface->Shapes().size(), size_t(1));
        QCOMPARE(surface->Shapes().at(0).rect,
                 MapToDesign(design->Scale(), int(model.pages.At(shown)->items[0].x), 100, 100, 50));
    }
};

ORIN_TEST_CLASS(FrameDesignTest)
#include "tst_frame_design.moc"
