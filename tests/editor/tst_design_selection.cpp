// SPDX-License-Identifier: MIT
// The design surface's selection on plain values: what a rubber band touches, Shift-clicks and
// the primary item, slots that the page no longer holds, and a proportional resize that snaps
// without losing its proportion.

#include "editor/design_selection.h"
#include "editor/snap_math.h"

#include "test_registry.h"

#include <QtTest>

using namespace orin;

using Slots = std::vector<int>;
Q_DECLARE_METATYPE(Slots)

class DesignSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void bandTouchesOrContains_data()
    {
        QTest::addColumn<QRectF>("band");
        QTest::addColumn<Slots>("hits");
        QTest::newRow("contains one") << QRectF(0, 0, 35, 35) << Slots{0};
        QTest::newRow("touches two") << QRectF(25, 25, 30, 30) << Slots{0, 1};
        QTest::newRow("drawn backwards") << QRectF(60, 60, -20, -20) << Slots{1};
        QTest::newRow("an edge is a touch") << QRectF(30, 5, 15, 10) << Slots{0};
        QTest::newRow("inside one") << QRectF(12, 12, 2, 2) << Slots{0};
        QTest::newRow("an item of no size") << QRectF(95, -5, 10, 10) << Slots{2};
        QTest::newRow("none") << QRectF(200, 200, 10, 10) << Slots{};
    }

    void bandTouchesOrContains()
    {
        QFETCH(QRectF, band);
        QFETCH(Slots, hits);
        const std::vector<QRectF> rects{QRectF(10, 10, 20, 20), QRectF(50, 50, 10, 10),
                                        QRectF(100, 0, 0, 0)};
        QCOMPARE(RectsInBand(band, rects), hits);
    }

    void shiftClicksAndThePrimary()
    {
        CDesignSelection selection;
        QCOMPARE(selection.Primary(), -1);
        selection.SelectOnly(2, 7);
        selection.Toggle(0, 1);
        QCOMPARE(selection.Slots(), (Slots{0, 2}));
        QCOMPARE(selection.Primary(), 0);
        // Removing the primary hands it to the one selected before it.
        selection.Toggle(0, 1);
        QCOMPARE(selection.Slots(), (Slots{2}));
        QCOMPARE(selection.Primary(), 2);
        selection.Toggle(1, 2);
        QCOMPARE(selection.Primary(), 1);
        selection.SetPrimary(2);
        QCOMPARE(selection.Primary(), 2);
        selection.SetPrimary(5); // not selected: ignored
        QCOMPARE(selection.Primary(), 2);
        // A band adds without taking the primary role, each slot once.
        selection.Add({0, 1, 4}, {1, 2, 9});
        QCOMPARE(selection.Slots(), (Slots{0, 1, 2, 4}));
        QCOMPARE(selection.Primary(), 2);
        selection.SelectOnly(-1, 0);
        QVERIFY(selection.IsEmpty());
        QCOMPARE(selection.Primary(), -1);
    }

    void slotsTheItemsLeft()
    {
        CDesignSelection selection;
        selection.Retain({1, 2, 7});
        selection.SelectOnly(1, 2);
        selection.Toggle(2, 7);
        // Slot 1 was deleted: its place now holds item 7, and slot 2 is past the end.
        selection.Retain({1, 7});
        QVERIFY(selection.IsEmpty());

        selection.Retain({1, 2, 7});
        selection.SelectOnly(0, 1);
        selection.Toggle(2, 7);
        // An item was put back before slot 2: slot 2 now holds another item and leaves.
        selection.Retain({1, 2, 5, 7});
        QCOMPARE(selection.Slots(), (Slots{0}));
        // The same number of items: an id edited in place keeps its slot selected.
        selection.Retain({3, 2, 5, 7});
        QCOMPARE(selection.Slots(), (Slots{0}));
        selection.Retain({3, 5, 7});
        QCOMPARE(selection.Slots(), (Slots{0}));
    }

    void proportionalResizeSnapsOneEdge_data()
    {
        QTest::addColumn<QRectF>("original");
        QTest::addColumn<QRectF>("dragged");
        QTest::addColumn<int>("grid");
        QTest::addColumn<QRectF>("expected");
        // Lines: the page's edges and centre, and the item at (300, 100) 100 x 50.
        QTest::newRow("right edge to a line, the bottom follows")
            << QRectF(100, 100, 100, 50) << QRectF(100, 100, 196, 98) << 0
            << QRectF(100, 100, 200, 100);
        QTest::newRow("bottom edge to a line, the right follows")
            << QRectF(100, 60, 80, 40) << QRectF(100, 60, 170, 85) << 0
            << QRectF(100, 60, 180, 90);
        QTest::newRow("the nearer edge wins")
            << QRectF(100, 60, 80, 40) << QRectF(100, 60, 196, 98) << 0
            << QRectF(100, 60, 200, 100);
        QTest::newRow("top-left corner, the bottom-right stays")
            << QRectF(400, 300, 100, 50) << QRectF(306, 253, 194, 97) << 0
            << QRectF(300, 250, 200, 100);
        QTest::newRow("grid, nearest edge")
            << QRectF(600, 400, 100, 50) << QRectF(600, 400, 126, 63) << 10
            << QRectF(600, 400, 120, 60);
        QTest::newRow("about the centre")
            << QRectF(600, 400, 100, 50) << QRectF(562, 381, 176, 88) << 20
            << QRectF(560, 380, 180, 90);
        QTest::newRow("nothing near") << QRectF(600, 400, 100, 50)
                                      << QRectF(600, 400, 130, 65) << 0
                                      << QRectF(600, 400, 130, 65);
    }

    void proportionalResizeSnapsOneEdge()
    {
        QFETCH(QRectF, original);
        QFETCH(QRectF, dragged);
        QFETCH(int, grid);
        QFETCH(QRectF, expected);
        const SnapTargets targets =
            CollectSnapTargets(QSizeF(960, 540), {QRectF(300, 100, 100, 50)});
        const SnapResult result =
            SnapResizeProportional(original, dragged, targets, SnapRules{8, grid});
        QCOMPARE(result.rect, expected);
        QCOMPARE(result.rect.width() / result.rect.height(),
                 dragged.width() / dragged.height());
        // Each edge snapped on its own, as before, loses the proportion.
        if (expected != dragged)
            QVERIFY(SnapResize(original, dragged, targets, SnapRules{8, grid}).rect != expected);
    }
};

ORIN_TEST_CLASS(DesignSelectionTest)
#include "tst_design_selection.moc"
