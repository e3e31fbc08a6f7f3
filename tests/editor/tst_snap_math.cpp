// SPDX-License-Identifier: MIT
// Snapping of a dragged rectangle on plain values: which line wins, what the grid does, which
// edges of a resize move, and the guides that come back.

#include "editor/snap_math.h"

#include "test_registry.h"

#include <QtTest>

using namespace orin;

using Lines = std::vector<double>;
Q_DECLARE_METATYPE(Lines)

namespace {

// A page of 960 x 540 and one other item at (300, 100) 100 x 50.
SnapTargets Targets()
{
    return CollectSnapTargets(QSizeF(960, 540), {QRectF(300, 100, 100, 50)});
}

} // namespace

class SnapMathTest : public QObject {
    Q_OBJECT

private slots:
    void targetsAreEdgesAndCentres()
    {
        const SnapTargets targets = Targets();
        QCOMPARE(targets.xs, (Lines{0, 480, 960, 300, 350, 400}));
        QCOMPARE(targets.ys, (Lines{0, 270, 540, 100, 125, 150}));
        // Rectangles that are not finite give no lines; an empty page gives none either.
        const SnapTargets odd = CollectSnapTargets(
            QSizeF(), {QRectF(qInf(), 0, 10, 10), QRectF(10, 10, -4, 6)});
        QCOMPARE(odd.xs, (Lines{6, 8, 10}));
        QCOMPARE(odd.ys, (Lines{10, 13, 16}));
    }

    void snapMove_data()
    {
        const QPointF kFree(7.125, 7.125);
        QTest::addColumn<QPointF>("start"); // where the rectangle was before the drag
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<int>("grid");
        QTest::addColumn<QRectF>("expected");
        QTest::addColumn<Lines>("guideXs");
        QTest::addColumn<Lines>("guideYs");
        QTest::newRow("nothing near") << kFree << QRectF(150.5, 200.25, 60, 40) << 0
                                      << QRectF(150.5, 200.25, 60, 40) << Lines{} << Lines{};
        QTest::newRow("left to the page edge") << kFree << QRectF(5, 200.25, 60, 40) << 0
                                               << QRectF(0, 200.25, 60, 40) << Lines{0}
                                               << Lines{};
        QTest::newRow("right to the other's left")
            << kFree << QRectF(236, 200.25, 60, 40) << 0 << QRectF(240, 200.25, 60, 40)
            << Lines{300} << Lines{};
        QTest::newRow("centre to the other's centre")
            << kFree << QRectF(323, 200, 60, 40) << 0 << QRectF(320, 200, 60, 40) << Lines{350}
            << Lines{};
        // Top, centre and bottom each lie 1 from a line of the other item: the first wins and
        // all three meet their lines after the snap, so all three are guides.
        QTest::newRow("nearest line wins, all guides")
            << kFree << QRectF(150.5, 101, 60, 50) << 0 << QRectF(150.5, 100, 60, 50) << Lines{}
            << Lines{100, 125, 150};
        QTest::newRow("page bottom") << kFree << QRectF(600, 495, 60, 40) << 0
                                     << QRectF(600, 500, 60, 40) << Lines{} << Lines{540};
        QTest::newRow("grid rounds left and top") << kFree << QRectF(151, 206, 60, 40) << 10
                                                  << QRectF(150, 210, 60, 40) << Lines{}
                                                  << Lines{};
        QTest::newRow("a line wins over the grid") << kFree << QRectF(4, 206, 60, 40) << 25
                                                   << QRectF(0, 200, 60, 40) << Lines{0}
                                                   << Lines{};
        QTest::newRow("at the tolerance") << kFree << QRectF(284, 300, 8, 8) << 0
                                          << QRectF(292, 300, 8, 8) << Lines{300} << Lines{};
        // Held to the horizontal: the top stays 1 below item 2's although it is near.
        QTest::newRow("unmoved axis stays") << QPointF(150.5, 101) << QRectF(236, 101, 60, 50)
                                            << 0 << QRectF(240, 101, 60, 50) << Lines{300}
                                            << Lines{};
        QTest::newRow("beyond the tolerance") << kFree << QRectF(283.99, 300, 8, 8) << 0
                                              << QRectF(283.99, 300, 8, 8) << Lines{}
                                              << Lines{};
    }

    void snapMove()
    {
        QFETCH(QPointF, start);
        QFETCH(QRectF, rect);
        QFETCH(int, grid);
        QFETCH(QRectF, expected);
        QFETCH(Lines, guideXs);
        QFETCH(Lines, guideYs);
        const SnapResult result =
            SnapMove(QRectF(start, rect.size()), rect, Targets(), SnapRules{8, grid});
        QCOMPARE(result.rect, expected);
        QCOMPARE(result.guideXs, guideXs);
        QCOMPARE(result.guideYs, guideYs);
    }

    void snapResize_data()
    {
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<int>("grid");
        QTest::addColumn<QRectF>("expected");
        QTest::addColumn<Lines>("guideXs");
        QTest::addColumn<Lines>("guideYs");
        // The original is (100, 200) 100 x 100.
        QTest::newRow("right edge to the other's left")
            << QRectF(100, 200, 195, 100) << 0 << QRectF(100, 200, 200, 100) << Lines{300}
            << Lines{};
        // The left edge stays at 100 although 100 is no line: only moving edges snap.
        QTest::newRow("bottom-right corner to the page centre")
            << QRectF(100, 200, 383, 73) << 0 << QRectF(100, 200, 380, 70) << Lines{480}
            << Lines{270};
        QTest::newRow("top-left corner to the grid")
            << QRectF(52, 137, 148, 163) << 20 << QRectF(60, 140, 140, 160) << Lines{}
            << Lines{};
        QTest::newRow("unchanged edges stay off the grid")
            << QRectF(100, 200, 104, 100) << 7 << QRectF(100, 200, 103, 100) << Lines{}
            << Lines{};
        // Snapping the left edge to 300 would fold the thin rectangle: it stays, while the
        // right edge takes the line.
        QTest::newRow("no fold") << QRectF(297, 200, 1, 100) << 0
                                 << QRectF(297, 200, 3, 100) << Lines{300} << Lines{};
    }

    void snapResize()
    {
        QFETCH(QRectF, rect);
        QFETCH(int, grid);
        QFETCH(QRectF, expected);
        QFETCH(Lines, guideXs);
        QFETCH(Lines, guideYs);
        const SnapResult result =
            SnapResize(QRectF(100, 200, 100, 100), rect, Targets(), SnapRules{8, grid});
        QCOMPARE(result.rect, expected);
        QCOMPARE(result.guideXs, guideXs);
        QCOMPARE(result.guideYs, guideYs);
    }

    void gridRounding_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("grid");
        QTest::addColumn<double>("expected");
        QTest::newRow("off") << 13.25 << 0 << 13.25;
        QTest::newRow("down") << 14.9 << 10 << 10.0;
        QTest::newRow("half up") << 15.0 << 10 << 20.0;
        QTest::newRow("negative") << -6.0 << 10 << -10.0;
        QTest::newRow("not finite") << qInf() << 10 << qInf();
    }

    void gridRounding()
    {
        QFETCH(double, value);
        QFETCH(int, grid);
        QFETCH(double, expected);
        QCOMPARE(SnapToGrid(value, grid), expected);
    }
};

ORIN_TEST_CLASS(SnapMathTest)
#include "tst_snap_math.moc"
