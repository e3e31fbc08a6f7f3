// SPDX-License-Identifier: MIT
// Snapping and nudging on the design surface, driven headless with the mouse and keys: what a
// drag ends at with snapping on and off, the guides while it runs, and arrow-key bursts as one
// undo step.

#include "design_fixture.h"
#include "test_registry.h"

#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

// A left-button drag from `from` to `to` in two steps.
void Drag(DesignFixture &f, QPoint from, QPoint to, bool checkGuides = false)
{
    f.Press(from);
    f.Move((from + to) / 2);
    f.Move(to);
    if (checkGuides) {
        // While the drag runs the snap's lines are there for the guides.
        QVERIFY(f.Surface()->IsDragging());
        QVERIFY(!f.Surface()->SnapGuides().guideXs.empty()
                || !f.Surface()->SnapGuides().guideYs.empty());
    }
    f.Release(to);
}

} // namespace

class DesignSnapTest : public QObject {
    Q_OBJECT

private slots:
    void dragsSnap_data()
    {
        QTest::addColumn<bool>("snap");
        QTest::addColumn<int>("grid");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QRectF>("expected");
        // Item 1 is (100, 100) 100 x 50, item 2 (300, 100), item 7 (500, 300), both 100 x 50.
        // Moved by (95, 3) its right edge comes 5 from item 2's left, its top 3 below theirs.
        QTest::newRow("move, off") << false << 0 << QPoint(108, 140) << QPoint(203, 143)
                                   << QRectF(195, 103, 100, 50);
        QTest::newRow("move, to the other item")
            << true << 0 << QPoint(108, 140) << QPoint(203, 143) << QRectF(200, 100, 100, 50);
        QTest::newRow("move, to the page corner")
            << true << 0 << QPoint(108, 140) << QPoint(14, 46) << QRectF(0, 0, 100, 50);
        QTest::newRow("move, to the grid") << true << 40 << QPoint(108, 140) << QPoint(245, 241)
                                           << QRectF(240, 200, 100, 50);
        QTest::newRow("move, grid while off") << false << 40 << QPoint(108, 140)
                                              << QPoint(245, 241) << QRectF(237, 201, 100, 50);
        // The bottom-right corner dragged by (97, 2): right 297 and bottom 152.
        QTest::newRow("resize, off") << false << 0 << QPoint(200, 150) << QPoint(297, 152)
                                     << QRectF(100, 100, 197, 52);
        QTest::newRow("resize, to the other item")
            << true << 0 << QPoint(200, 150) << QPoint(297, 152) << QRectF(100, 100, 200, 50);
    }

    void dragsSnap()
    {
        QFETCH(bool, snap);
        QFETCH(int, grid);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QRectF, expected);
        DesignFixture f;
        f.Open();
        f.Design().SetSnap(snap, grid);
        const bool guided = snap && grid == 0;
        Drag(f, from, to, guided);
        QCOMPARE(f.Rect(0), expected);
        QCOMPARE(f.document.UndoStack().count(), 1);
        // The guides go with the drag.
        QVERIFY(f.Surface()->SnapGuides().guideXs.empty());
        QVERIFY(f.Surface()->SnapGuides().guideYs.empty());
        f.document.UndoStack().undo();
        QCOMPARE(f.Rect(0), QRectF(100, 100, 100, 50));
    }

    void snapSurvivesRedraw()
    {
        DesignFixture f;
        f.Open();
        f.Design().SetSnap(true, 25);
        f.pane.ShowPage(0); // the shapes are made again from the model
        QVERIFY(f.Surface()->SnapEnabled());
        QCOMPARE(f.Surface()->SnapGrid(), 25);
        // An escaped drag leaves no guides and no step.
        f.Press(QPoint(108, 140));
        f.Move(QPoint(203, 143));
        QTest::keyClick(f.Surface(), Qt::Key_Escape);
        QVERIFY(!f.Surface()->IsDragging());
        QVERIFY(f.Surface()->SnapGuides().guideXs.empty());
        QCOMPARE(f.document.UndoStack().count(), 0);
    }

    void nudgeBursts_data()
    {
        QTest::addColumn<QString>("keys"); // r l u d: arrows, R L U D: with Shift
        QTest::addColumn<QRectF>("expected");
        QTest::addColumn<int>("steps");
        QTest::newRow("one press") << "r" << QRectF(101, 100, 100, 50) << 1;
        QTest::newRow("a burst with Shift") << "rrrD" << QRectF(103, 110, 100, 50) << 1;
        QTest::newRow("up and left") << "uL" << QRectF(90, 99, 100, 50) << 1;
        QTest::newRow("there and back") << "rl" << QRectF(100, 100, 100, 50) << 0;
    }

    void nudgeBursts()
    {
        QFETCH(QString, keys);
        QFETCH(QRectF, expected);
        QFETCH(int, steps);
        DesignFixture f;
        f.Open();
        f.Press(QPoint(108, 140));
        f.Release(QPoint(108, 140));
        QCOMPARE(f.Surface()->Selection(), 0);
        QCOMPARE(f.document.UndoStack().count(), 0);
        for (const QChar key : keys) {
            const Qt::Key code = key.toLower() == u'r'   ? Qt::Key_Right
                                 : key.toLower() == u'l' ? Qt::Key_Left
                                 : key.toLower() == u'u' ? Qt::Key_Up
                                                         : Qt::Key_Down;
            QTest::keyClick(f.Surface(), code,
                            key.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
        }
        QCOMPARE(f.Rect(0), expected);
        QCOMPARE(f.document.UndoStack().count(), steps);
        QCOMPARE(f.Surface()->Shapes().at(0).exact, expected);
        QCOMPARE(f.Surface()->Selection(), 0);
        if (steps > 0) {
            QCOMPARE(f.document.UndoStack().undoText(), QStringLiteral("アイテム移動"));
            QVERIFY(f.document.IsModified());
            f.document.UndoStack().undo();
            QCOMPARE(f.Rect(0), QRectF(100, 100, 100, 50));
            f.document.UndoStack().redo();
            QCOMPARE(f.Rect(0), expected);
        }
    }

    void otherEditsEndABurst()
    {
        DesignFixture f;
        f.Open();
        f.Press(QPoint(108, 140));
        f.Release(QPoint(108, 140));
        QTest::keyClick(f.Surface(), Qt::Key_Right);
        QTest::keyClick(f.Surface(), Qt::Key_Right);
        // A drag between nudges is a step of its own.
        Drag(f, QPoint(110, 140), QPoint(120, 140));
        QCOMPARE(f.Rect(0), QRectF(112, 100, 100, 50));
        QTest::keyClick(f.Surface(), Qt::Key_Down);
        QCOMPARE(f.document.UndoStack().count(), 3);
        // Another item's nudges are another step; a saved state ends a burst too.
        f.Press(QPoint(308, 140));
        f.Release(QPoint(308, 140));
        QCOMPARE(f.Surface()->Selection(), 1);
        QTest::keyClick(f.Surface(), Qt::Key_Up);
        QCOMPARE(f.document.UndoStack().count(), 4);
        f.document.UndoStack().setClean();
        QTest::keyClick(f.Surface(), Qt::Key_Up);
        QCOMPARE(f.document.UndoStack().count(), 5);
        QCOMPARE(f.Rect(1), QRectF(300, 98, 100, 50));
        // Undone one by one, back to the start.
        while (f.document.UndoStack().canUndo())
            f.document.UndoStack().undo();
        QCOMPARE(f.Rect(0), QRectF(100, 100, 100, 50));
        QCOMPARE(f.Rect(1), QRectF(300, 100, 100, 50));
    }

    void arrowsWithoutSelectionChangeNothing()
    {
        DesignFixture f;
        f.Open();
        QCOMPARE(f.Surface()->Selection(), -1);
        f.Surface()->setFocus();
        QTest::keyClick(f.Surface(), Qt::Key_Right);
        QTest::keyClick(f.Surface(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(f.document.UndoStack().count(), 0);
        // Ctrl+arrow is no nudge either.
        f.Press(QPoint(108, 140));
        f.Release(QPoint(108, 140));
        QTest::keyClick(f.Surface(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(f.document.UndoStack().count(), 0);
    }
};

ORIN_TEST_CLASS(DesignSnapTest)
#include "tst_design_snap.moc"
